#pragma once

#include "actions/AIAction.h"
#include "pill/PillButton.h"

class QMenu;
class WritingModeStore;

// The pill's Rewrite button: a plain click asks for "Improve writing"; the arrow at its right
// (or the Down key) opens a menu with every built-in rewrite style and, when the user has any,
// a "Your writing modes" section with one item per mode. The menu is built each time it opens,
// so it always lists the current writing modes.
class RewriteMenuButton : public PillButton {
    Q_OBJECT

public:
    explicit RewriteMenuButton(WritingModeStore& modes, QWidget* parent = nullptr);

    // The menu as it would open now.
    QMenu* menu();
    void showMenu();

Q_SIGNALS:
    void actionRequested(const AIAction& action);
    // The menu closed, on a style or without one.
    void menuClosed();

protected:
    int trailingWidth() const override { return indicatorWidth; }
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    static constexpr int indicatorWidth = 14;

    bool onIndicator(const QPoint& pos) const { return pos.x() >= width() - horizontalPadding - indicatorWidth; }
    void rebuildMenu();

    WritingModeStore& m_modes;
    QMenu* m_menu;
};
