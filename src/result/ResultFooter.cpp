#include "result/ResultFooter.h"

#include "result/CopyAnswerButton.h"
#include "ui/GrowingTextField.h"
#include "ui/Icons.h"
#include "ui/Theme.h"

#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>

ResultFooter::ResultFooter(const ResultViewData& data, Clock& clock, QWidget* parent)
    : QWidget(parent), m_copy(new CopyAnswerButton(clock))
{
    connect(m_copy, &CopyAnswerButton::copyRequested, this, &ResultFooter::copyRequested);
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
    connect(button, &QPushButton::clicked, this, &ResultFooter::replaceRequested);
    return button;
}

void ResultFooter::buildRewrite(const ResultViewData& data)
{
    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(12, 12, 12, 12);
    m_retry = new QPushButton(tr("Try again"));
    connect(m_retry, &QPushButton::clicked, this, &ResultFooter::retryRequested);
    row->addWidget(m_retry);
    row->addStretch(1);
    row->addWidget(m_copy);
    if ((m_replace = makeReplace(data, tr("Replace")))) {
        m_replace->setDefault(true);
        m_replace->setAccessibleDescription(tr("Replaces the selected text in %1").arg(data.appName));
        row->addWidget(m_replace);
    }
}

void ResultFooter::buildFollowUp(const ResultViewData& data)
{
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(12, 12, 12, 12);
    column->setSpacing(8);
    m_followUp = new GrowingTextField(tr("Ask a follow-up…"), 4);
    m_followUp->setAccessibleName(tr("Follow-up question"));
    connect(m_followUp, &GrowingTextField::submitted, this, &ResultFooter::questionSubmitted);
    column->addWidget(m_followUp);
    auto* row = new QHBoxLayout;
    row->addStretch(1);
    row->addWidget(m_copy);
    if ((m_replace = makeReplace(data, tr("Paste")))) {
        const QColor color = Theme::text(Theme::isDark(palette()));
        m_replace->setIcon(Icons::tinted(QStringLiteral("edit-paste"), color, color));
        m_replace->setToolTip(tr("Paste the answer over the selected text in %1").arg(data.appName));
        m_replace->setAccessibleDescription(tr("Replaces the selected text in %1 with the answer").arg(data.appName));
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
