#pragma once

class QLabel;

// Marks labels as headings for assistive technology (role "heading" on AT-SPI), so screen-reader
// users can jump between the sections of an answer or a panel. Mark a label before it is shown.
class HeadingAccessibility {
public:
    static void mark(QLabel* label);
};
