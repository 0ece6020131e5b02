#include "ui/QuoteButton.h"

#include "ui/Theme.h"

#include <QEvent>
#include <QPainter>
#include <QTextLayout>

QuoteButton::QuoteButton(const QString& text, int collapsedLines, QWidget* parent)
    : QAbstractButton(parent), m_text(text), m_collapsedLines(qMax(1, collapsedLines))
{
    setAccessibleName(tr("Selected text: %1").arg(text));
    setFocusPolicy(Qt::StrongFocus);
    QSizePolicy policy(QSizePolicy::Expanding, QSizePolicy::Preferred);
    policy.setHeightForWidth(true);
    setSizePolicy(policy);
    connect(this, &QAbstractButton::clicked, this, [this] { setExpanded(!m_expanded); });
    setExpanded(false);
}

void QuoteButton::setExpanded(bool expanded)
{
    m_expanded = expanded;
    setAccessibleDescription(expanded ? tr("Collapse") : tr("Expand"));
    updateGeometry();
    update();
}

// Every line of the text wrapped at the width: hard line breaks end a line, long words break
// anywhere rather than widen the quote.
QStringList QuoteButton::wrappedLines(int textWidth) const
{
    QStringList lines;
    QTextOption option;
    option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    for (const QString& paragraph : m_text.split(QLatin1Char('\n'))) {
        QTextLayout layout(paragraph, font());
        layout.setTextOption(option);
        layout.beginLayout();
        const qsizetype before = lines.size();
        for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
            line.setLineWidth(textWidth);
            lines.append(paragraph.mid(line.textStart(), line.textLength()));
        }
        layout.endLayout();
        if (lines.size() == before)
            lines.append(QString());
    }
    return lines;
}

QStringList QuoteButton::shownLines(int width) const
{
    const int textWidth = qMax(1, width - textLeft);
    QStringList lines = wrappedLines(textWidth);
    if (m_expanded || lines.size() <= m_collapsedLines)
        return lines;
    lines = lines.mid(0, m_collapsedLines);
    QString last = lines.last().trimmed();
    const QFontMetrics metrics(font());
    const QString ellipsis = QStringLiteral("…");
    while (!last.isEmpty() && metrics.horizontalAdvance(last + ellipsis) > textWidth)
        last.chop(1);
    lines.last() = last + ellipsis;
    return lines;
}

int QuoteButton::heightForWidth(int width) const
{
    return int(shownLines(width).size()) * fontMetrics().lineSpacing();
}

QSize QuoteButton::sizeHint() const
{
    const int width = qMax(this->width(), 300);
    return {width, heightForWidth(width)};
}

// However long the text, the quote asks for little width: it wraps instead.
QSize QuoteButton::minimumSizeHint() const
{
    return {textLeft + fontMetrics().averageCharWidth() * 8, fontMetrics().lineSpacing()};
}

void QuoteButton::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::FontChange)
        updateGeometry();
    QAbstractButton::changeEvent(event);
}

void QuoteButton::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    painter.setBrush(Theme::accent(Theme::isDark(palette())));
    painter.drawRoundedRect(QRectF(0, 0, barWidth, height()), 1.5, 1.5);
    painter.setPen(palette().color(QPalette::PlaceholderText));
    const QFontMetrics metrics = fontMetrics();
    int y = metrics.ascent();
    for (const QString& line : shownLines(width())) {
        painter.drawText(textLeft, y, line);
        y += metrics.lineSpacing();
    }
    if (hasFocus()) {
        painter.setPen(QPen(palette().color(QPalette::Highlight), 1, Qt::DotLine));
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(QRectF(rect()).adjusted(textLeft - 3.5, 0.5, -0.5, -0.5));
    }
}
