#include "chat/ChatComposer.h"

#include "chat/ChatViewModel.h"
#include "ui/GrowingTextField.h"
#include "ui/Icons.h"
#include "ui/Theme.h"

#include <QEvent>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QToolButton>
#include <QVBoxLayout>

namespace {

// Alt+Return starts a new line here; every other key behaves as in the growing field.
class ComposerField : public GrowingTextField {
public:
    using GrowingTextField::GrowingTextField;

protected:
    void keyPressEvent(QKeyEvent* event) override
    {
        const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
        if (enter && (event->modifiers() & Qt::AltModifier)) {
            insertPlainText(QStringLiteral("\n"));
            return;
        }
        GrowingTextField::keyPressEvent(event);
    }
};

// The rounded box around the message field: the theme's surface colour edged with a 1-point
// line in its border colour, both resolved when painted.
class FieldBox : public QWidget {
public:
    using QWidget::QWidget;

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter painter(this);
        painter.setRenderHint(QPainter::Antialiasing);
        const bool dark = Theme::isDark(palette());
        painter.setPen(QPen(Theme::border(dark), 1));
        painter.setBrush(Theme::surface(dark));
        painter.drawRoundedRect(QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5), 10, 10);
    }
};

} // namespace

ChatComposer::ChatComposer(ChatViewModel& model, bool signedIn, QWidget* parent) : QWidget(parent), m_model(model)
{
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(14, 14, 14, 14);
    column->setSpacing(6);
    auto* row = new QHBoxLayout;
    row->addWidget(buildField(), 1);
    row->addWidget(buildButtons(), 0, Qt::AlignBottom);
    column->addLayout(row);
    auto* hint = new QLabel(tr("Return to send, Alt+Return for a new line"), this);
    QFont caption = hint->font();
    caption.setPointSizeF(caption.pointSizeF() * 0.85);
    hint->setFont(caption);
    hint->setForegroundRole(QPalette::PlaceholderText);
    column->addWidget(hint);
    connect(m_field, &QPlainTextEdit::textChanged, this, [this] { m_model.setDraft(m_field->toPlainText()); });
    for (auto signal : {&ChatViewModel::draftChanged, &ChatViewModel::isStreamingChanged, &ChatViewModel::turnsChanged,
                        &ChatViewModel::deepResearchChanged})
        connect(&m_model, signal, this, &ChatComposer::readModel);
    readModel();
    setSignedIn(signedIn);
    updateIcons();
}

QWidget* ChatComposer::buildField()
{
    m_box = new FieldBox(this);
    auto* layout = new QHBoxLayout(m_box);
    layout->setContentsMargins(10, 10, 10, 10);
    m_field = new ComposerField(QString(), 10, m_box);
    m_field->setFrameShape(QFrame::NoFrame);
    // The box shows through the field; only its fill is taken away, so its text colours still
    // follow the appearance.
    QPalette clear;
    clear.setColor(QPalette::Base, Qt::transparent);
    m_field->setPalette(clear);
    m_field->document()->setDocumentMargin(0);
    m_field->setAccessibleName(tr("Message"));
    m_field->setPlainText(m_model.draft());
    connect(m_field, &GrowingTextField::submitted, this, [this] { m_model.send(); });
    layout->addWidget(m_field);
    return m_box;
}

QWidget* ChatComposer::buildButtons()
{
    auto* box = new QWidget(this);
    auto* layout = new QHBoxLayout(box);
    layout->setContentsMargins(0, 0, 0, 0);
    if (m_model.kind() == HistoryStore::Kind::Chat) {
        m_deep = new QToolButton(box);
        m_deep->setCheckable(true);
        m_deep->setText(tr("Deep research"));
        m_deep->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
        m_deep->setToolTip(tr("Searches the web and reads pages before answering, with cited sources."));
        connect(m_deep, &QToolButton::toggled, &m_model, &ChatViewModel::setDeepResearch);
        layout->addWidget(m_deep);
    }
    m_send = new QPushButton(box);
    m_send->setAccessibleName(tr("Send"));
    m_send->setToolTip(tr("Send"));
    m_send->setDefault(true);
    connect(m_send, &QPushButton::clicked, &m_model, &ChatViewModel::send);
    layout->addWidget(m_send);
    m_signIn = new QPushButton(tr("Sign In to chat"), box);
    connect(m_signIn, &QPushButton::clicked, this, &ChatComposer::signInRequested);
    layout->addWidget(m_signIn);
    return box;
}

void ChatComposer::setSignedIn(bool signedIn)
{
    m_signIn->setVisible(!signedIn);
}

void ChatComposer::updateIcons()
{
    const bool dark = Theme::isDark(palette());
    if (m_deep)
        m_deep->setIcon(
            Icons::tinted(QStringLiteral("accessories-dictionary"), Theme::text(dark), Theme::secondaryText(dark)));
    m_send->setIcon(Icons::tinted(QStringLiteral("arrow-up"), Qt::white, Theme::secondaryText(dark)));
}

void ChatComposer::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::PaletteChange)
        updateIcons();
    QWidget::changeEvent(event);
}

void ChatComposer::readModel()
{
    if (m_field->toPlainText() != m_model.draft()) {
        const QSignalBlocker block(m_field);
        m_field->setPlainText(m_model.draft());
        m_field->updateGeometry();
    }
    m_field->setPlaceholderText(m_model.turns().isEmpty() ? tr("Message Halvora") : tr("Reply…"));
    m_send->setEnabled(!m_model.isStreaming() && !m_model.draft().trimmed().isEmpty());
    if (m_deep) {
        const QSignalBlocker block(m_deep);
        m_deep->setChecked(m_model.deepResearch());
    }
}
