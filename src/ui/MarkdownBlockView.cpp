#include "ui/MarkdownBlockView.h"

#include "ui/HeadingAccessibility.h"
#include "ui/LinkOpener.h"
#include "ui/Theme.h"

#include <QEvent>
#include <QFontDatabase>
#include <QLabel>
#include <QPainter>
#include <QPainterPath>
#include <QScrollArea>
#include <QTextDocument>
#include <QTextFrame>
#include <QtMath>

using Kind = MarkdownText::Block::Kind;

MarkdownBlockView::MarkdownBlockView(const MarkdownText::Block& block, QWidget* parent)
    : QWidget(parent), m_block(block), m_label(new QLabel)
{
    if (isCode()) {
        m_scroller = new QScrollArea(this);
        m_scroller->setFrameShape(QFrame::NoFrame);
        m_scroller->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        m_scroller->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        m_scroller->viewport()->setAutoFillBackground(false);
        m_scroller->setWidget(m_label);
        m_label->setTextFormat(Qt::PlainText);
        m_label->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
        m_label->setAutoFillBackground(false);
    } else {
        setupTextLabel(m_label);
        m_labels.append(m_label);
        if (block.kind == Kind::Heading)
            HeadingAccessibility::mark(m_label);
    }
    setBlock(block);
}

void MarkdownBlockView::setupTextLabel(QLabel* label)
{
    label->setParent(this);
    label->setTextFormat(Qt::RichText);
    label->setWordWrap(true);
    label->setTextInteractionFlags(Qt::TextBrowserInteraction);
    label->setOpenExternalLinks(false);
    label->setAutoFillBackground(false);
    connect(label, &QLabel::linkActivated, this, [](const QString& link) { LinkOpener::open(QUrl(link)); });
}

bool MarkdownBlockView::accepts(const MarkdownText::Block& block) const
{
    // Headings carry their own accessible role, so a block that becomes or stops being one gets a new view.
    return (block.kind == Kind::Code) == isCode() && (block.kind == Kind::Heading) == (m_block.kind == Kind::Heading);
}

void MarkdownBlockView::setBlock(const MarkdownText::Block& block)
{
    m_block = block;
    m_cachedWidth = -1;
    QList<QLabel*> made;
    if (isCode()) {
        applyFont();
        m_label->setText(block.text);
        m_label->adjustSize();
    } else {
        const qsizetype first = m_pieces.setText(block.text);
        // Joined pieces stay joined until the text changes; then every piece is shown again.
        if (!m_joined || first < m_pieces.pieces().size()) {
            made = showPieces(m_joined ? 0 : first);
            m_joined = false;
        }
        applyFont();
    }
    placeChildren();
    for (QLabel* label : made)
        label->show();
    updateGeometry();
    update();
}

bool MarkdownBlockView::joinPieces()
{
    if (m_labels.size() < 2)
        return false;
    while (m_labels.size() > 1)
        delete m_labels.takeLast();
    m_label->setText(MarkdownText::inlineText(m_block.text).toHtml());
    m_joined = true;
    m_pieceHeights.clear();
    m_cachedWidth = -1;
    placeChildren();
    updateGeometry();
    update();
    return true;
}

QList<QLabel*> MarkdownBlockView::showPieces(qsizetype first)
{
    const QList<QTextDocumentFragment>& pieces = m_pieces.pieces();
    while (m_labels.size() > pieces.size())
        delete m_labels.takeLast();
    for (QList<int>& heights : m_pieceHeights)
        heights.resize(qMin(heights.size(), first));
    QList<QLabel*> made;
    for (qsizetype i = first; i < pieces.size(); ++i) {
        if (i == m_labels.size()) {
            auto* label = new QLabel;
            setupTextLabel(label);
            if (m_textFont)
                label->setFont(*m_textFont);
            m_labels.append(label);
            made.append(label);
        }
        m_labels[i]->setText(pieces[i].toHtml());
    }
    return made;
}

void MarkdownBlockView::applyFont()
{
    QFont font = this->font();
    if (isCode()) {
        font = QFontDatabase::systemFont(QFontDatabase::FixedFont);
        font.setPointSizeF(this->font().pointSizeF() * 0.92);
    } else if (m_block.kind == Kind::Heading) {
        const double scale = m_block.level == 1 ? 1.4 : m_block.level == 2 ? 1.0 : 0.9;
        font.setPointSizeF(font.pointSizeF() * scale);
        font.setWeight(m_block.level == 2 ? QFont::DemiBold : QFont::Bold);
    }
    if (isCode()) {
        m_label->setFont(font);
        return;
    }
    // Every label of a growing block would lay its text out again for a font set anew.
    if (m_textFont && *m_textFont == font)
        return;
    m_textFont = font;
    for (QLabel* label : std::as_const(m_labels))
        label->setFont(font);
    m_pieceHeights.clear();
}

int MarkdownBlockView::topMargin() const
{
    return m_block.kind == Kind::Heading ? 4 : 0;
}

QString MarkdownBlockView::markerText() const
{
    if (m_block.kind == Kind::Bullet)
        return QStringLiteral("•");
    return m_block.kind == Kind::Numbered ? m_block.marker : QString();
}

int MarkdownBlockView::textLeft() const
{
    const QString marker = markerText();
    if (marker.isEmpty())
        return 0;
    return m_block.indent() * indentStep + markerWidth() + markerSpacing;
}

namespace {

int widestDigit(const QFontMetrics& metrics)
{
    int widest = 0;
    for (char digit = '0'; digit <= '9'; ++digit)
        widest = qMax(widest, metrics.horizontalAdvance(QLatin1Char(digit)));
    return widest;
}

} // namespace

int MarkdownBlockView::markerWidth() const
{
    const QFontMetrics metrics = m_label->fontMetrics();
    int width = 0;
    for (const QChar c : markerText())
        width += c.isDigit() ? widestDigit(metrics) : metrics.horizontalAdvance(c);
    return width;
}

int MarkdownBlockView::heightForWidth(int width) const
{
    if (width == m_cachedWidth)
        return m_cachedHeight;
    m_cachedWidth = width;
    if (isCode())
        m_cachedHeight = m_label->sizeHint().height() + 2 * codePadding;
    else
        m_cachedHeight = textHeight(qMax(1, width - textLeft()));
    return m_cachedHeight;
}

// A rich text label's height at a width, worked out as the label lays its text out (word wrap, no
// margins) but in one pass: the label's own answer lays the text out several times, and a growing
// block asks for its last piece at every update.
int MarkdownBlockView::labelHeight(const QLabel& label, int width)
{
    QTextDocument document;
    document.setUndoRedoEnabled(false);
    document.setDefaultFont(label.font());
    QTextOption option = document.defaultTextOption();
    option.setAlignment(label.alignment());
    option.setWrapMode(QTextOption::WordWrap);
    document.setDefaultTextOption(option);
    document.setHtml(label.text());
    QTextFrameFormat frame = document.rootFrame()->frameFormat();
    frame.setMargin(0);
    document.rootFrame()->setFrameFormat(frame);
    document.setTextWidth(width);
    return qCeil(document.size().height());
}

// The pieces' heights are kept for the few widths that layouts ask about (the width the block
// is shown at and the ones tried around it), so a growing block measures its last piece only.
int MarkdownBlockView::textHeight(int width) const
{
    if (!m_pieceHeights.contains(width) && m_pieceHeights.size() >= keptWidths)
        m_pieceHeights.clear();
    QList<int>& heights = m_pieceHeights[width];
    heights.resize(qMin(heights.size(), m_labels.size()));
    for (qsizetype i = heights.size(); i < m_labels.size(); ++i)
        heights.append(labelHeight(*m_labels[i], width));
    int height = 0;
    for (const int piece : std::as_const(heights))
        height += piece;
    return height;
}

QSize MarkdownBlockView::sizeHint() const
{
    const int width = qMax(this->width(), 100);
    return {width, heightForWidth(width)};
}

void MarkdownBlockView::placeChildren()
{
    if (isCode()) {
        m_scroller->setGeometry(codePadding, codePadding, qMax(0, width() - 2 * codePadding),
                                qMax(0, height() - 2 * codePadding));
        return;
    }
    const int left = textLeft();
    const int textWidth = qMax(0, width() - left);
    if (m_labels.size() == 1) {
        m_label->setGeometry(left, 0, textWidth, height());
        return;
    }
    textHeight(qMax(1, textWidth));
    const QList<int>& heights = m_pieceHeights[qMax(1, textWidth)];
    int y = 0;
    for (qsizetype i = 0; i < m_labels.size(); ++i) {
        m_labels[i]->setGeometry(left, y, textWidth, heights[i]);
        y += heights[i];
    }
}

void MarkdownBlockView::resizeEvent(QResizeEvent*)
{
    placeChildren();
}

void MarkdownBlockView::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::FontChange)
        setBlock(m_block);
    QWidget::changeEvent(event);
}

void MarkdownBlockView::paintEvent(QPaintEvent*)
{
    const bool dark = Theme::isDark(palette());
    QPainter painter(this);
    if (isCode()) {
        painter.setRenderHint(QPainter::Antialiasing);
        QPainterPath shape;
        shape.addRoundedRect(QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5), 6, 6);
        painter.fillPath(shape, Theme::surface(dark));
        painter.setPen(QPen(Theme::border(dark), 1));
        painter.drawPath(shape);
        return;
    }
    const QString marker = markerText();
    if (marker.isEmpty())
        return;
    painter.setFont(m_label->font());
    painter.setPen(Theme::secondaryText(dark));
    const QFontMetrics metrics = m_label->fontMetrics();
    const int digitWidth = widestDigit(metrics);
    qreal x = m_block.indent() * indentStep;
    for (const QChar c : marker) {
        const int cell = c.isDigit() ? digitWidth : metrics.horizontalAdvance(c);
        painter.drawText(QPointF(x + (cell - metrics.horizontalAdvance(c)) / 2.0, metrics.ascent()), QString(c));
        x += cell;
    }
}
