#pragma once

#include <QGroupBox>

class QLabel;
class QVBoxLayout;

// One titled section of the settings form, with helpers for its recurring parts: explanatory
// text in a smaller size and the secondary colour, and a row of a label and a value.
class SettingsSection : public QGroupBox {
    Q_OBJECT
public:
    explicit SettingsSection(const QString& title, QWidget* parent = nullptr);

    QVBoxLayout* column() const { return m_column; }
    // Wrapping secondary text; caption is a little smaller than callout.
    QLabel* addNote(const QString& text, bool caption = false);

    static QLabel* note(const QString& text, bool caption, QWidget* parent);

private:
    QVBoxLayout* m_column;
};
