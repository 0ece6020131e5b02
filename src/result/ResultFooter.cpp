#include "result/ResultFooter.h"

#include "result/CopyAnswerButton.h"
#include "ui/GrowingTextField.h"
#include "ui/Icons.h"
#include "ui/Theme.h"

#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>

ResultFooter::ResultFooter(const ResultViewData& data, Clock& clock, Callbacks callbacks, QWidget* parent)
    : QWidget(parent), m_callbacks(std::move(callbacks)), m_copy(new CopyAnswerButton(clock, m_callbacks.onCopy))
{
    if (data.action.isRewriting())
        buildRewrite(data);
    else
        buildFollowUp(data);
    follow(data);
}

// The shortcut is set after the text: setting a button's text resets its shortcut.
QPushButton* ResultFooter::makeReplace(const ResultViewData& data, const QString& text)
{
    if (!data.isEditable)
        return nullptr;
    auto* button = new QPushButton(text);
    button->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Return));
    connect(button, &QPushButton::clicked, this, [this] { m_callbacks.onReplace(); });
    return button;
}

void ResultFooter::buildRewrite(const ResultViewData& data)
{
    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(12, 12, 12, 12);
    m_retry = new QPushButton(QStringLiteral("Try again"));
    connect(m_retry, &QPushButton::clicked, this, [this] { m_callbacks.onRetry(); });
    row->addWidget(m_retry);
    row->addStretch(1);
    row->addWidget(m_copy);
    if ((m_replace = makeReplace(data, QStringLiteral("Replace")))) {
        m_replace->setDefault(true);
        m_replace->setAccessibleDescription(QStringLiteral("Replaces the selected text in ") + data.appName);
        row->addWidget(m_replace);
    }
}

void ResultFooter::buildFollowUp(const ResultViewData& data)
{
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(12, 12, 12, 12);
    column->setSpacing(8);
    m_followUp = new GrowingTextField(QStringLiteral("Ask a follow-up…"), 4);
    m_followUp->setAccessibleName(QStringLiteral("Follow-up question"));
    m_followUp->onSubmit = [this](const QString& text) { m_callbacks.onSubmit(text); };
    column->addWidget(m_followUp);
    auto* row = new QHBoxLayout;
    row->addStretch(1);
    row->addWidget(m_copy);
    if ((m_replace = makeReplace(data, QStringLiteral("Paste")))) {
        const QColor color = Theme::text(Theme::isDark(palette()));
        m_replace->setIcon(Icons::tinted(QStringLiteral("doc.on.clipboard"), color, color));
        m_replace->setToolTip(QStringLiteral("Paste the answer over the selected text in ") + data.appName);
        m_replace->setAccessibleDescription(QStringLiteral("Replaces the selected text in ") + data.appName +
                                            QStringLiteral(" with the answer"));
        row->addWidget(m_replace);
    }
    column->addLayout(row);
}

void ResultFooter::follow(const ResultViewData& data)
{
    if (m_retry)
        m_retry->setEnabled(!data.isStreaming);
    if (m_replace)
        m_replace->setEnabled(!data.isStreaming && !data.latestAnswerEmpty());
    if (m_followUp)
        m_followUp->setEnabled(!data.isStreaming);
}
