#pragma once

class QWidget;

// Hides decorative images (an icon beside a title that already says what it means) from
// assistive technology: the widget's accessible object reports itself invisible, so screen
// readers neither read nor visit it. Mark a widget before it is shown.
class DecorativeAccessibility {
public:
    static void hide(QWidget* widget);
};
