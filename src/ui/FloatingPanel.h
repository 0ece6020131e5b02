#pragma once

#include <QPointer>
#include <QRectF>
#include <QWidget>
#include <optional>

class QPropertyAnimation;
class QSizeGrip;
class QToolButton;

// The floating window of the pill and of the result panel: frameless, above other windows, off the
// taskbar, left to its owner to destroy or reuse when closed. Without keyboard focus (the pill) it
// is shown without activating this program and bypasses the window manager, so the application the
// selection lives in keeps its focus and its selection, and it appears on every workspace. With
// focus and chrome (the result panel) it may become the focused window, draws the theme background
// with a close button and a resize grip, and asks the window manager to show it on every workspace.
// Either moves when dragged by its background: through the window manager where it manages the
// panel, by itself otherwise. Escape closes a panel that has the focus.
class FloatingPanel : public QWidget {
    Q_OBJECT

public:
    static constexpr int fadeInMs = 120;

    FloatingPanel(const QSize& contentSize, bool takesFocus, bool chrome, QWidget* parent = nullptr);

    bool takesFocus() const { return m_takesFocus; }
    bool hasChrome() const { return m_chrome; }

    // Replaces the content widget (the old one is deleted later) and fills the panel with it.
    void setContentWidget(QWidget* content);
    QWidget* contentWidget() const { return m_content; }

    // Shows the panel above other windows without taking the focus from another application.
    void showWithoutActivating();
    // Shows the panel, raises it and gives it the keyboard focus (result panel only).
    void showAndActivate();
    // Sets the opacity to 0 and fades it to 1. Called before the panel is shown, so that it is
    // mapped transparent rather than at the opacity it was last left at.
    void fadeIn();
    // Hides the panel without closing it (no closing signal, the size is not remembered).
    void hideWithoutClosing();

Q_SIGNALS:
    // The panel is closing, whichever way (close button, Escape, close()).
    void aboutToClose();

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void changeEvent(QEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void addChrome();

    bool m_takesFocus;
    bool m_chrome;
    QPointer<QWidget> m_content;
    QPropertyAnimation* m_fade;
    QToolButton* m_closeButton = nullptr;
    QSizeGrip* m_grip = nullptr;
    // Where the pointer grabbed the panel, from its top-left corner, while it moves itself.
    std::optional<QPoint> m_dragOffset;
};
