#include "result/ResultView.h"

#include "result/ResultFooter.h"
#include "result/ResultHeader.h"
#include "result/TurnView.h"
#include "ui/GrowingTextField.h"
#include "ui/Icons.h"
#include "ui/QuoteButton.h"
#include "ui/Theme.h"

#include <QFrame>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QScopedValueRollback>
#include <QScrollArea>
#include <QScrollBar>
#include <QVBoxLayout>

namespace {

QFrame* divider()
{
    auto* line = new QFrame;
    line->setFrameShape(QFrame::HLine);
    line->setFrameShadow(QFrame::Plain);
    line->setForegroundRole(QPalette::Mid);
    return line;
}

} // namespace

ResultView::ResultView(const ResultViewData& data, Clock& clock, WritingModeStore& modes, QWidget* parent)
    : QWidget(parent), m_clock(clock), m_data(data), m_header(new ResultHeader(data.action, data.appName, modes)),
      m_scroll(new QScrollArea), m_quote(new QuoteButton(data.selectionText, 3)),
      m_questionField(new GrowingTextField(tr("Ask anything about the selection…"), 5))
{
    setMinimumSize(360, 260);
    connect(m_header, &ResultHeader::rewriteRequested, this, &ResultView::rewriteRequested);
    connect(m_header, &ResultHeader::continueRequested, this, &ResultView::continueRequested);
    auto* page = new QVBoxLayout(this);
    page->setContentsMargins(0, 0, 0, 0);
    page->setSpacing(0);
    page->addWidget(m_header);
    page->addWidget(divider());

    auto* content = new QWidget;
    m_column = new QVBoxLayout(content);
    m_column->setContentsMargins(16, 16, 16, 16);
    m_column->setSpacing(14);
    QFont callout = m_quote->font();
    callout.setPointSizeF(callout.pointSizeF() * 0.92);
    m_quote->setFont(callout);
    m_column->addWidget(m_quote);
    m_questionField->setAccessibleName(tr("Question about the selected text"));
    connect(m_questionField, &GrowingTextField::submitted, this, &ResultView::questionSubmitted);
    m_column->addWidget(m_questionField);
    m_statusLine = makeStatusLine();
    m_errorLine = makeErrorLine();
    m_column->addWidget(m_statusLine);
    m_column->addWidget(m_errorLine);
    m_column->addStretch(1);
    m_scroll->setWidget(content);
    m_scroll->setWidgetResizable(true);
    m_scroll->setFrameShape(QFrame::NoFrame);
    m_scroll->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    page->addWidget(m_scroll, 1);
    followTheEnd();

    m_footer = new ResultFooter(data, clock);
    connect(m_footer, &ResultFooter::retryRequested, this, &ResultView::retryRequested);
    connect(m_footer, &ResultFooter::copyRequested, this, &ResultView::copyRequested);
    connect(m_footer, &ResultFooter::replaceRequested, this, &ResultView::replaceRequested);
    connect(m_footer, &ResultFooter::questionSubmitted, this, &ResultView::questionSubmitted);
    m_footerDivider = divider();
    page->addWidget(m_footerDivider);
    page->addWidget(m_footer);
    setData(data);
    updateIcons();
}

QWidget* ResultView::makeStatusLine()
{
    auto* line = new QWidget;
    auto* row = new QHBoxLayout(line);
    row->setContentsMargins(0, 0, 0, 0);
    auto* progress = new QProgressBar;
    progress->setRange(0, 0);
    progress->setTextVisible(false);
    progress->setFixedSize(36, 6);
    row->addWidget(progress);
    m_statusText = new QLabel;
    QFont caption = font();
    caption.setPointSizeF(caption.pointSizeF() * 0.85);
    m_statusText->setFont(caption);
    m_statusText->setForegroundRole(QPalette::PlaceholderText);
    row->addWidget(m_statusText);
    row->addStretch(1);
    auto* stop = new QPushButton(tr("Stop"));
    stop->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Period));
    connect(stop, &QPushButton::clicked, this, &ResultView::stopRequested);
    row->addWidget(stop);
    return line;
}

QWidget* ResultView::makeErrorLine()
{
    auto* line = new QWidget;
    auto* row = new QHBoxLayout(line);
    row->setContentsMargins(0, 0, 0, 0);
    m_errorIcon = new QLabel;
    row->addWidget(m_errorIcon, 0, Qt::AlignTop);
    m_errorText = new QLabel;
    m_errorText->setWordWrap(true);
    QFont callout = font();
    callout.setPointSizeF(callout.pointSizeF() * 0.92);
    m_errorText->setFont(callout);
    row->addWidget(m_errorText, 1);
    m_remedy = new QPushButton;
    connect(m_remedy, &QPushButton::clicked, this, [this] {
        if (m_data.errorFix == ResultViewData::Fix::SignIn)
            Q_EMIT signInRequested();
        else
            Q_EMIT retryRequested();
    });
    row->addWidget(m_remedy, 0, Qt::AlignTop);
    return line;
}

void ResultView::setData(const ResultViewData& data)
{
    const qsizetype oldTurns = m_turns.size();
    m_data = data;
    m_header->setAction(data.action);
    m_questionField->setVisible(data.needsFirstQuestion);
    updateTurns();
    updateLines();
    m_footer->follow(data);
    const bool footerShown = data.action.isRewriting() || data.canFollowUp;
    m_footer->setVisible(footerShown);
    m_footerDivider->setVisible(footerShown);
    if (m_turns.size() != oldTurns)
        scrollToLastTurn();
}

void ResultView::clearQuestionFields()
{
    m_questionField->clear();
    if (GrowingTextField* followUp = m_footer->followUpField())
        followUp->clear();
}

void ResultView::updateTurns()
{
    while (m_turns.size() > m_data.turns.size())
        delete m_turns.takeLast();
    while (m_turns.size() < m_data.turns.size()) {
        auto* turn = new TurnView(m_data.action.isRewriting(), m_clock);
        m_column->insertWidget(m_column->indexOf(m_statusLine), turn);
        m_turns.append(turn);
    }
    for (int i = 0; i < m_turns.size(); ++i)
        m_turns[i]->setTurn(m_data.turns[i]);
}

void ResultView::updateLines()
{
    m_statusLine->setVisible(m_data.isStreaming);
    m_statusText->setText(m_data.status);
    const bool failed = !m_data.errorMessage.isEmpty();
    m_errorLine->setVisible(failed);
    m_errorText->setText(m_data.errorMessage);
    m_remedy->setVisible(failed);
    m_remedy->setText(m_data.errorFix == ResultViewData::Fix::SignIn ? tr("Sign In") : tr("Retry"));
}

void ResultView::updateIcons()
{
    m_errorIcon->setPixmap(
        Icons::pixmap(QStringLiteral("dialog-warning"), 16, QColor(0xF0, 0x8C, 0x00), devicePixelRatioF()));
}

// While the reader stays at the end, a growing answer keeps the end in view; scrolling up
// stops that until they scroll back to the end. The range grows once the layout has made room
// for new text, so that is when the view follows.
void ResultView::followTheEnd()
{
    QScrollBar* bar = m_scroll->verticalScrollBar();
    connect(bar, &QScrollBar::valueChanged, this, [this, bar](int value) {
        if (!m_adjustingScroll)
            m_followingEnd = value >= bar->maximum();
    });
    connect(bar, &QScrollBar::rangeChanged, this, [this] {
        if (m_followingEnd)
            scrollToEnd();
    });
}

// A new turn (the latest is always the last one) is brought into view and followed from there.
void ResultView::scrollToLastTurn()
{
    m_followingEnd = true;
    scrollToEnd();
}

void ResultView::scrollToEnd()
{
    const QScopedValueRollback adjusting(m_adjustingScroll, true);
    m_scroll->verticalScrollBar()->setValue(m_scroll->verticalScrollBar()->maximum());
}

void ResultView::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
        Q_EMIT closeRequested();
        return;
    }
    QWidget::keyPressEvent(event);
}

void ResultView::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    if (m_data.needsFirstQuestion)
        m_questionField->setFocus(Qt::OtherFocusReason);
}

void ResultView::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::PaletteChange)
        updateIcons();
    QWidget::changeEvent(event);
}
