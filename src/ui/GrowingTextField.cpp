#include "ui/GrowingTextField.h"

#include <QKeyEvent>
#include <QTextBlock>

GrowingTextField::GrowingTextField(const QString& placeholder, int maximumLines, QWidget* parent)
    : QPlainTextEdit(parent), m_maximumLines(maximumLines)
{
    setPlaceholderText(placeholder);
    setTabChangesFocus(true);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    connect(this, &QPlainTextEdit::textChanged, this, [this] {
        setFixedHeight(sizeHint().height());
        updateGeometry();
    });
    setFixedHeight(sizeHint().height());
}

int GrowingTextField::lineCount() const
{
    int lines = 0;
    for (QTextBlock block = document()->begin(); block.isValid(); block = block.next())
        lines += qMax(1, block.layout() ? block.layout()->lineCount() : 1);
    return qBound(1, lines, m_maximumLines);
}

QSize GrowingTextField::sizeHint() const
{
    const QMargins margins = contentsMargins();
    const int frame = margins.top() + margins.bottom() + 2 * int(document()->documentMargin()) + 2;
    return {200, lineCount() * fontMetrics().lineSpacing() + frame};
}

void GrowingTextField::keyPressEvent(QKeyEvent* event)
{
    const bool submit = (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) &&
                        !(event->modifiers() & (Qt::ShiftModifier | Qt::ControlModifier));
    if (!submit) {
        QPlainTextEdit::keyPressEvent(event);
        return;
    }
    if (!toPlainText().trimmed().isEmpty())
        Q_EMIT submitted(toPlainText());
}
