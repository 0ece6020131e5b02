#include "chat/ChatView.h"

#include "chat/ChatComposer.h"
#include "chat/ChatTranscript.h"
#include "chat/ChatViewModel.h"
#include "history/HistoryListing.h"
#include "ui/DecorativeAccessibility.h"
#include "ui/GrowingTextField.h"

#include <QCoreApplication>
#include <QFrame>
#include <QHideEvent>
#include <QIcon>
#include <QLabel>
#include <QStackedWidget>
#include <QVBoxLayout>

ChatView::ChatView(ChatViewModel* model, bool signedIn, QWidget* parent) : QWidget(parent), m_model(model)
{
    m_model->setParent(this);
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);
    m_content = new QStackedWidget(this);
    m_empty = buildEmptyState();
    m_transcript = new ChatTranscript(*m_model, m_content);
    m_content->addWidget(m_empty);
    m_content->addWidget(m_transcript);
    column->addWidget(m_content, 1);
    auto* divider = new QFrame(this);
    divider->setFrameShape(QFrame::HLine);
    divider->setFrameShadow(QFrame::Plain);
    divider->setForegroundRole(QPalette::Mid);
    column->addWidget(divider);
    m_composer = new ChatComposer(*m_model, signedIn, this);
    column->addWidget(m_composer);
    connect(m_composer, &ChatComposer::signInRequested, this, &ChatView::signInRequested);
    connect(m_transcript, &ChatTranscript::signInRequested, m_composer, &ChatComposer::signInRequested);
    connect(m_model, &ChatViewModel::turnsChanged, this, &ChatView::update);
    connect(m_model, &ChatViewModel::isStreamingChanged, this, &ChatView::update);
    connect(m_model, &ChatViewModel::titleChanged, this, &ChatView::update);
    update();
}

ChatView::~ChatView()
{
    // Leaving a chat stops its turn; the model saves what it has without an empty answer.
    m_model->cancel();
}

ChatView* ChatView::open(const std::optional<HistoryStore::Conversation>& conversation, const QUuid& newChatID,
                         const ConversationServices& services, bool signedIn, QWidget* parent)
{
    auto* model = conversation ? new ChatViewModel(*conversation, services) : new ChatViewModel(newChatID, services);
    return new ChatView(model, signedIn, parent);
}

QWidget* ChatView::buildEmptyState()
{
    auto* page = new QWidget(m_content);
    auto* column = new QVBoxLayout(page);
    column->setContentsMargins(24, 24, 24, 24);
    column->setSpacing(10);
    column->addStretch(1);
    auto* icon = new QLabel(page);
    icon->setPixmap(QIcon(QStringLiteral(":/halvora/TrayIcon.svg")).pixmap(34, 34));
    DecorativeAccessibility::hide(icon);
    column->addWidget(icon, 0, Qt::AlignHCenter);
    auto* title = new QLabel(tr("What do you want to dig into?"), page);
    QFont big = title->font();
    big.setPointSizeF(big.pointSizeF() * 1.4);
    big.setWeight(QFont::DemiBold);
    title->setFont(big);
    column->addWidget(title, 0, Qt::AlignHCenter);
    auto* text = new QLabel(tr("Ask anything and keep the conversation going. Turn on Deep research to search the "
                               "web and get a cited answer."),
                            page);
    text->setWordWrap(true);
    text->setAlignment(Qt::AlignHCenter);
    text->setMaximumWidth(420);
    text->setForegroundRole(QPalette::PlaceholderText);
    column->addWidget(text, 0, Qt::AlignHCenter);
    column->addStretch(1);
    return page;
}

QString ChatView::subtitle() const
{
    QString text = HistoryListing::kindLabel(m_model->kind());
    if (m_model->appName())
        text += tr(" from ") + *m_model->appName();
    return text;
}

bool ChatView::showsEmptyState() const
{
    return m_content->currentWidget() == m_empty;
}

void ChatView::setSignedIn(bool signedIn)
{
    m_composer->setSignedIn(signedIn);
}

void ChatView::update()
{
    nameWindow();
    const bool transcript = !m_model->turns().isEmpty() || m_model->isStreaming();
    m_content->setCurrentWidget(transcript ? static_cast<QWidget*>(m_transcript) : m_empty);
}

void ChatView::nameWindow()
{
    setWindowTitle(m_model->title() + QStringLiteral(" — ") + subtitle());
    if (isVisible() && window() != this)
        window()->setWindowTitle(windowTitle());
}

void ChatView::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    nameWindow();
    m_composer->field()->setFocus();
}

// The pane shown next names the window itself; until then it is the program's window again.
void ChatView::hideEvent(QHideEvent* event)
{
    QWidget::hideEvent(event);
    if (window() != this && !event->spontaneous())
        window()->setWindowTitle(QCoreApplication::applicationName());
}
