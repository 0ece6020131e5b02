#include "result/QuoteButton.h"

#include "ui/Theme.h"

#include <QLabel>
#include <QPainter>

QuoteButton::QuoteButton(const QString& text, QWidget* parent) : QAbstractButton(parent), m_label(new QLabel(this))
{
    QFont callout = font();
    callout.setPointSizeF(callout.pointSizeF() * 0.92);
    m_label->setFont(callout);
    m_label->setText(text);
    m_label->setTextFormat(Qt::PlainText);
    m_label->setWordWrap(true);
    m_label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    m_label->setForegroundRole(QPalette::PlaceholderText);
    m_label->setAttribute(Qt::WA_TransparentForMouseEvents);
    setAccessibleName(QStringLiteral("Selected text: ") + text);
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
    setAccessibleDescription(expanded ? QStringLiteral("Collapse") : QStringLiteral("Expand"));
    updateGeometry();
    update();
}

int QuoteButton::heightForWidth(int width) const
{
    const int full = m_label->heightForWidth(qMax(1, width - textLeft));
    if (m_expanded)
        return full;
    return qMin(full, collapsedLines * m_label->fontMetrics().lineSpacing());
}

QSize QuoteButton::sizeHint() const
{
    const int width = qMax(this->width(), 300);
    return {width, heightForWidth(width)};
}

void QuoteButton::resizeEvent(QResizeEvent*)
{
    m_label->setGeometry(textLeft, 0, width() - textLeft, m_label->heightForWidth(qMax(1, width() - textLeft)));
}

void QuoteButton::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    painter.setBrush(Theme::accent(Theme::isDark(palette())));
    painter.drawRoundedRect(QRectF(0, 0, barWidth, height()), 1.5, 1.5);
}
