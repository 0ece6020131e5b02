#pragma once

#include <QAbstractButton>

// One button of the pill (and of the panel's small controls): an icon, optionally a title, in
// the callout font with medium weight, on a capsule tinted with the accent colour while the
// pointer is over it (16 %) or it is pressed (28 %). The help text is its tooltip and its
// accessible description. Space and Return press it when it has the keyboard focus.
class PillButton : public QAbstractButton {
    Q_OBJECT

public:
    PillButton(const QString& iconName, const QString& title, const QString& help, QWidget* parent = nullptr);

    void setIconName(const QString& iconName);
    const QString& iconName() const { return m_iconName; }
    bool hovering() const { return m_hovering; }
    // The capsule's opacity for the current state: 0.28 pressed, 0.16 hovered, 0 otherwise.
    double capsuleOpacity() const;
    // Marks the button the pill's keyboard use is on (the pill never holds the focus itself).
    void setKeyboardCurrent(bool current);
    bool isKeyboardCurrent() const { return m_keyboardCurrent; }

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override { return sizeHint(); }

protected:
    static constexpr int horizontalPadding = 10;
    static constexpr int verticalPadding = 5;
    static constexpr int iconSize = 14;
    static constexpr int iconSpacing = 5;

    void paintEvent(QPaintEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    bool hitButton(const QPoint& pos) const override;
    // Room kept at the right for a menu indicator; none for a plain button.
    virtual int trailingWidth() const { return 0; }
    void paintCapsule(QPainter& painter) const;
    QColor foreground() const;

private:
    QString m_iconName;
    bool m_hovering = false;
    bool m_keyboardCurrent = false;
};
