#include "chat/ChatTranscript.h"

#include "chat/ChatTurnView.h"
#include "chat/ChatViewModel.h"
#include "settings/StatusColors.h"
#include "ui/Icons.h"
#include "ui/QuoteButton.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QScrollBar>
#include <QShortcut>
#include <QTimer>

ChatTranscript::ChatTranscript(ChatViewModel& model, QWidget* parent) : QScrollArea(parent), m_model(model)
{
    setWidgetResizable(true);
    setFrameShape(QFrame::NoFrame);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    auto* page = new QWidget(this);
    auto* outer = new QHBoxLayout(page);
    auto* content = new QWidget(page);
    content->setMaximumWidth(760);
    outer->addWidget(content);
    m_column = new QVBoxLayout(content);
    m_column->setContentsMargins(28, 22, 28, 22);
    m_column->setSpacing(22);
    if (m_model.selection()) {
        m_quote = new QuoteButton(*m_model.selection(), 4, content);
        m_column->addWidget(m_quote);
    }
    m_column->addWidget(buildStatusRow());
    m_column->addWidget(buildErrorRow());
    m_column->addStretch(1);
    setWidget(page);
    connect(&m_model, &ChatViewModel::turnsChanged, this, &ChatTranscript::syncTurns);
    connect(&m_model, &ChatViewModel::isStreamingChanged, this, &ChatTranscript::updateStatus);
    connect(&m_model, &ChatViewModel::statusChanged, this, &ChatTranscript::updateStatus);
    connect(&m_model, &ChatViewModel::errorMessageChanged, this, &ChatTranscript::updateError);
    connect(&m_model, &ChatViewModel::errorFixChanged, this, &ChatTranscript::updateError);
    syncTurns();
    updateStatus();
    updateError();
}

QWidget* ChatTranscript::buildStatusRow()
{
    m_statusRow = new QWidget(this);
    auto* row = new QHBoxLayout(m_statusRow);
    row->setContentsMargins(0, 0, 0, 0);
    auto* busy = new QProgressBar(m_statusRow);
    busy->setRange(0, 0);
    busy->setMaximumSize(60, 8);
    busy->setTextVisible(false);
    m_status = new QLabel(m_statusRow);
    QFont caption = m_status->font();
    caption.setPointSizeF(caption.pointSizeF() * 0.85);
    m_status->setFont(caption);
    m_status->setForegroundRole(QPalette::PlaceholderText);
    auto* stop = new QPushButton(tr("Stop"), m_statusRow);
    stop->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Period));
    stop->setToolTip(tr("Stop (Ctrl+.)"));
    row->addWidget(busy);
    row->addWidget(m_status, 1);
    row->addWidget(stop);
    connect(stop, &QPushButton::clicked, &m_model, &ChatViewModel::cancel);
    return m_statusRow;
}

QWidget* ChatTranscript::buildErrorRow()
{
    m_errorRow = new QWidget(this);
    m_errorRow->setObjectName(QStringLiteral("chatError"));
    m_errorRow->setAttribute(Qt::WA_StyledBackground);
    const QColor orange = StatusColors::orange();
    m_errorRow->setStyleSheet(QStringLiteral("#chatError { background: rgba(%1, %2, %3, 26); border-radius: 6px; }")
                                  .arg(orange.red())
                                  .arg(orange.green())
                                  .arg(orange.blue()));
    auto* row = new QHBoxLayout(m_errorRow);
    row->setContentsMargins(10, 10, 10, 10);
    row->setSpacing(8);
    auto* icon = new QLabel(m_errorRow);
    icon->setPixmap(Icons::pixmap(QStringLiteral("dialog-warning"), 14, orange, devicePixelRatioF()));
    m_error = new QLabel(m_errorRow);
    m_error->setWordWrap(true);
    m_error->setTextFormat(Qt::PlainText);
    m_remedy = new QPushButton(m_errorRow);
    row->addWidget(icon, 0, Qt::AlignTop);
    row->addWidget(m_error, 1);
    row->addWidget(m_remedy, 0, Qt::AlignTop);
    connect(m_remedy, &QPushButton::clicked, this, [this] {
        if (m_model.errorFix() == ErrorFix::SignIn)
            Q_EMIT signInRequested();
        else if (!m_model.isStreaming())
            m_model.retry();
    });
    return m_errorRow;
}

void ChatTranscript::syncTurns()
{
    const QList<ConversationTurn>& turns = m_model.turns();
    const bool added = turns.size() > m_turns.size();
    while (m_turns.size() > turns.size())
        delete m_turns.takeLast();
    for (qsizetype i = 0; i < turns.size(); ++i) {
        if (i < m_turns.size()) {
            m_turns[i]->setTurn(turns[i]);
            continue;
        }
        auto* view = new ChatTurnView(turns[i], widget());
        connect(view, &ChatTurnView::copyRequested, &m_model, &ChatViewModel::copy);
        m_column->insertWidget(m_column->indexOf(m_statusRow), view);
        m_turns.append(view);
    }
    if (added)
        QTimer::singleShot(0, this, &ChatTranscript::scrollToNewest);
}

void ChatTranscript::scrollToNewest()
{
    if (m_turns.isEmpty())
        return;
    widget()->layout()->activate();
    verticalScrollBar()->setValue(m_turns.last()->mapTo(widget(), QPoint()).y() - 22);
}

void ChatTranscript::updateStatus()
{
    m_statusRow->setVisible(m_model.isStreaming());
    m_status->setText(m_model.status().value_or(tr("Writing…")));
}

void ChatTranscript::updateError()
{
    m_errorRow->setVisible(m_model.errorMessage().has_value());
    m_error->setText(m_model.errorText());
    m_remedy->setText(m_model.errorFix() == ErrorFix::SignIn ? tr("Sign In") : tr("Retry"));
}
