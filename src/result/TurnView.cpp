#include "result/TurnView.h"

#include "ui/HeadingAccessibility.h"
#include "ui/LinkOpener.h"
#include "ui/MarkdownView.h"
#include "ui/Theme.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QVBoxLayout>

namespace {

// The question bubble: the question on a rounded background of the accent colour, faintly.
class QuestionBubble : public QLabel {
public:
    QuestionBubble()
    {
        setWordWrap(true);
        setTextFormat(Qt::PlainText);
        setContentsMargins(10, 6, 10, 6);
        setTextInteractionFlags(Qt::TextSelectableByMouse);
        QFont callout = font();
        callout.setPointSizeF(callout.pointSizeF() * 0.92);
        callout.setWeight(QFont::Medium);
        setFont(callout);
        setSizePolicy(QSizePolicy::Maximum, QSizePolicy::Preferred);
    }

protected:
    void paintEvent(QPaintEvent* event) override
    {
        QPainter painter(this);
        painter.setRenderHint(QPainter::Antialiasing);
        QColor tint = Theme::accent(Theme::isDark(palette()));
        tint.setAlphaF(0.15);
        painter.setPen(Qt::NoPen);
        painter.setBrush(tint);
        painter.drawRoundedRect(QRectF(rect()), 8, 8);
        painter.end();
        QLabel::paintEvent(event);
    }
};

} // namespace

TurnView::TurnView(bool plainAnswer, Clock& clock, QWidget* parent)
    : QWidget(parent), m_question(new QuestionBubble), m_sources(new QWidget)
{
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(10);
    auto* questionRow = new QHBoxLayout;
    questionRow->addStretch(1);
    questionRow->addWidget(m_question);
    column->addLayout(questionRow);
    if (plainAnswer) {
        m_plain = new QLabel;
        m_plain->setTextFormat(Qt::PlainText);
        m_plain->setWordWrap(true);
        m_plain->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
        column->addWidget(m_plain);
    } else {
        m_markdown = new MarkdownView(clock);
        column->addWidget(m_markdown);
    }
    auto* sources = new QVBoxLayout(m_sources);
    sources->setContentsMargins(0, 0, 0, 0);
    sources->setSpacing(4);
    column->addWidget(m_sources);
    m_question->hide();
    m_sources->hide();
}

void TurnView::setTurn(const ResultViewData::Turn& turn)
{
    m_question->setVisible(!turn.question.isEmpty());
    m_question->setText(turn.question);
    m_question->setAccessibleName(tr("You asked: %1").arg(turn.question));
    if (m_plain)
        m_plain->setText(turn.answer.trimmed());
    else
        m_markdown->setMarkdown(turn.answer);
    const bool sourcesChanged =
        turn.sources.size() != m_turn.sources.size() || m_sources->layout()->count() == 0 ||
        !std::equal(turn.sources.begin(), turn.sources.end(), m_turn.sources.begin(),
                    [](const auto& a, const auto& b) { return a.url == b.url && a.title == b.title; });
    m_turn = turn;
    if (sourcesChanged)
        setSources(turn.sources);
}

void TurnView::setSources(const QList<ResultViewData::Source>& sources)
{
    QLayout* rows = m_sources->layout();
    while (QLayoutItem* item = rows->takeAt(0)) {
        delete item->widget();
        delete item;
    }
    m_sources->setVisible(!sources.isEmpty());
    if (sources.isEmpty())
        return;
    auto* heading = new QLabel(tr("Sources"));
    QFont caption = font();
    caption.setPointSizeF(caption.pointSizeF() * 0.85);
    caption.setWeight(QFont::DemiBold);
    heading->setFont(caption);
    heading->setForegroundRole(QPalette::PlaceholderText);
    HeadingAccessibility::mark(heading);
    rows->addWidget(heading);
    for (int i = 0; i < sources.size(); ++i) {
        const ResultViewData::Source& source = sources[i];
        auto* row = new QLabel(QStringLiteral("<a href=\"%1\" style=\"text-decoration:none\">%2&nbsp;&nbsp;%3</a>")
                                   .arg(source.url.toString(QUrl::FullyEncoded).toHtmlEscaped(), QString::number(i + 1),
                                        source.title.toHtmlEscaped()));
        row->setTextFormat(Qt::RichText);
        row->setTextInteractionFlags(Qt::LinksAccessibleByMouse | Qt::LinksAccessibleByKeyboard);
        row->setToolTip(source.url.toString());
        row->setAccessibleName(tr("Source %1: %2").arg(i + 1).arg(source.title));
        connect(row, &QLabel::linkActivated, row, [](const QString& link) { LinkOpener::open(QUrl(link)); });
        rows->addWidget(row);
    }
}
