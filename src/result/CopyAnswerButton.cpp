#include "result/CopyAnswerButton.h"

#include "platform/Clock.h"
#include "ui/AccessibleAnnouncement.h"
#include "ui/Icons.h"
#include "ui/Theme.h"

#include <QEvent>

CopyAnswerButton::CopyAnswerButton(Clock& clock, QWidget* parent) : QPushButton(parent), m_clock(clock)
{
    setToolTip(tr("Copy the answer"));
    connect(this, &QPushButton::clicked, this, &CopyAnswerButton::copy);
    setCopied(false);
}

void CopyAnswerButton::copy()
{
    Q_EMIT copyRequested();
    setCopied(true);
    AccessibleAnnouncement::announce(this, tr("Copied"));
    m_reset = m_clock.after(copiedMs, [this] { setCopied(false); });
}

void CopyAnswerButton::setCopied(bool copied)
{
    m_copied = copied;
    setText(copied ? tr("Copied") : tr("Copy"));
    // Setting the text resets the shortcut to the text's mnemonic, so it is set again each time.
    setShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_C));
    const QColor color = Theme::text(Theme::isDark(palette()));
    setIcon(Icons::tinted(copied ? QStringLiteral("object-select") : QStringLiteral("edit-copy"), color,
                          Theme::secondaryText(Theme::isDark(palette()))));
}

void CopyAnswerButton::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::PaletteChange)
        setCopied(m_copied);
    QPushButton::changeEvent(event);
}
