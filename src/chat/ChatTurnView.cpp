#include "chat/ChatTurnView.h"

#include "ui/DecorativeAccessibility.h"
#include "ui/Icons.h"
#include "ui/MarkdownView.h"
#include "ui/SourcesList.h"
#include "ui/Theme.h"

#include <QEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QToolButton>
#include <QVBoxLayout>

ChatTurnView::ChatTurnView(const ConversationTurn& turn, QWidget* parent) : QWidget(parent), m_turn(turn)
{
    m_column = new QVBoxLayout(this);
    m_column->setContentsMargins(0, 0, 0, 0);
    m_column->setSpacing(10);
    if (turn.question)
        m_column->addWidget(buildQuestion(*turn.question));
    if (turn.deep)
        m_column->addWidget(buildDeepLabel());
    m_answer = new MarkdownView(this);
    m_answer->setMarkdown(turn.answer);
    // A stored answer is drawn at once; only streamed changes wait for the view's next update.
    m_answer->flush();
    m_column->addWidget(m_answer);
    m_column->addWidget(buildCopy(), 0, Qt::AlignLeft);
    setSources(turn.sources());
    restyle();
}

QWidget* ChatTurnView::buildQuestion(const QString& question)
{
    auto* row = new QWidget(this);
    auto* layout = new QHBoxLayout(row);
    layout->setContentsMargins(0, 0, 0, 0);
    auto* bubble = new QLabel(question, row);
    bubble->setObjectName(QStringLiteral("chatQuestion"));
    bubble->setTextFormat(Qt::PlainText);
    bubble->setWordWrap(true);
    bubble->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    bubble->setContentsMargins(12, 8, 12, 8);
    m_question = bubble;
    row->setAccessibleName(tr("You: ") + question);
    // A wrapped label asks for little width; give the bubble what its text needs, up to a
    // comfortable line length.
    bubble->setMinimumWidth(qMin(bubble->fontMetrics().horizontalAdvance(question) + 26, 520));
    layout->addWidget(bubble, 0, Qt::AlignLeft);
    layout->addSpacing(80);
    layout->addStretch(1);
    return row;
}

QWidget* ChatTurnView::buildDeepLabel()
{
    auto* row = new QWidget(this);
    auto* layout = new QHBoxLayout(row);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(4);
    m_deepIcon = new QLabel(row);
    DecorativeAccessibility::hide(m_deepIcon);
    auto* text = new QLabel(tr("Deep research"), row);
    QFont caption = text->font();
    caption.setPointSizeF(caption.pointSizeF() * 0.85);
    text->setFont(caption);
    text->setForegroundRole(QPalette::PlaceholderText);
    layout->addWidget(m_deepIcon);
    layout->addWidget(text);
    layout->addStretch(1);
    return row;
}

QWidget* ChatTurnView::buildCopy()
{
    m_copy = new QToolButton(this);
    m_copy->setAutoRaise(true);
    m_copy->setText(tr("Copy"));
    m_copy->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    QFont caption = m_copy->font();
    caption.setPointSizeF(caption.pointSizeF() * 0.85);
    m_copy->setFont(caption);
    connect(m_copy, &QToolButton::clicked, this, [this] { Q_EMIT copyRequested(m_turn); });
    return m_copy;
}

void ChatTurnView::setSources(const QList<WebSource>& sources)
{
    if (sources == m_shownSources)
        return;
    m_shownSources = sources;
    delete m_sources;
    m_sources = nullptr;
    if (sources.isEmpty())
        return;
    m_sources = new SourcesList(sources, this);
    m_column->insertWidget(m_column->indexOf(m_answer) + 1, m_sources);
}

void ChatTurnView::changeEvent(QEvent* event)
{
    QWidget::changeEvent(event);
    if (event->type() == QEvent::PaletteChange)
        restyle();
}

void ChatTurnView::restyle()
{
    const bool dark = Theme::isDark(palette());
    const QColor secondary = Theme::secondaryText(dark);
    m_copy->setIcon(Icons::tinted(QStringLiteral("edit-copy"), secondary, Theme::border(dark), 12));
    if (m_deepIcon)
        m_deepIcon->setPixmap(
            Icons::pixmap(QStringLiteral("accessories-dictionary"), 12, secondary, devicePixelRatioF()));
    if (!m_question)
        return;
    m_question->setStyleSheet(QStringLiteral("#chatQuestion { background: %1; color: %2; border-radius: 12px; }")
                                  .arg(Theme::surface(dark).name(), Theme::text(dark).name()));
}

void ChatTurnView::setTurn(const ConversationTurn& turn)
{
    m_turn = turn;
    m_answer->setMarkdown(turn.answer);
    setSources(turn.sources());
}
