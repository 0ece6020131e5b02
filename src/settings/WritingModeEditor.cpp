#include "settings/WritingModeEditor.h"

#include "settings/StatusColors.h"
#include "settings/WritingModeRules.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

QLabel* captionLabel(const QString& text, QWidget* parent)
{
    auto* label = new QLabel(text, parent);
    label->setWordWrap(true);
    QFont font = label->font();
    font.setPointSizeF(font.pointSizeF() * 0.85);
    label->setFont(font);
    label->setForegroundRole(QPalette::PlaceholderText);
    return label;
}

} // namespace

WritingModeEditor::WritingModeEditor(const WritingMode& mode, QWidget* parent) : QDialog(parent), m_id(mode.id)
{
    setWindowTitle(tr("Writing mode"));
    setModal(true);
    setFixedWidth(520);
    buildForm();
    m_name->setText(mode.name);
    m_rules->setPlainText(mode.instructions);
    connect(m_name, &QLineEdit::textChanged, this, &WritingModeEditor::update);
    connect(m_rules, &QPlainTextEdit::textChanged, this, &WritingModeEditor::update);
    update();
}

void WritingModeEditor::buildForm()
{
    auto* column = new QVBoxLayout(this);
    column->setSpacing(12);
    column->setContentsMargins(20, 20, 20, 20);
    auto* title = new QLabel(tr("Writing mode"), this);
    QFont headline = title->font();
    headline.setBold(true);
    title->setFont(headline);
    column->addWidget(title);
    m_name = new QLineEdit(this);
    m_name->setPlaceholderText(tr("e.g. Person-first language"));
    m_name->setAccessibleName(tr("Name"));
    auto* nameRow = new QHBoxLayout;
    nameRow->addWidget(new QLabel(tr("Name"), this));
    nameRow->addWidget(m_name, 1);
    column->addLayout(nameRow);
    auto* rules = new QLabel(tr("Rules"), this);
    QFont semibold = rules->font();
    semibold.setWeight(QFont::DemiBold);
    rules->setFont(semibold);
    column->addWidget(rules);
    column->addWidget(captionLabel(tr("Write the rules the way you'd explain them to a new teammate: words to use, "
                                      "words to avoid, tone and format."),
                                   this));
    m_rules = new QPlainTextEdit(this);
    m_rules->setAccessibleName(tr("Rules"));
    m_rules->setMinimumHeight(200);
    m_rules->setTabChangesFocus(true);
    column->addWidget(m_rules, 1);
    column->addWidget(buildBottomRow());
}

QWidget* WritingModeEditor::buildBottomRow()
{
    auto* row = new QWidget(this);
    auto* layout = new QHBoxLayout(row);
    layout->setContentsMargins(0, 0, 0, 0);
    m_counter = captionLabel(QString(), row);
    m_counter->setWordWrap(false);
    layout->addWidget(m_counter);
    layout->addStretch(1);
    auto* cancel = new QPushButton(tr("Cancel"), row);
    cancel->setAutoDefault(false);
    m_save = new QPushButton(tr("Save"), row);
    m_save->setDefault(true);
    layout->addWidget(cancel);
    layout->addWidget(m_save);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(m_save, &QPushButton::clicked, this, &QDialog::accept);
    connect(this, &QDialog::accepted, this, [this] { Q_EMIT saved(mode()); });
    connect(this, &QDialog::rejected, this, &WritingModeEditor::cancelled);
    return row;
}

WritingMode WritingModeEditor::mode() const
{
    return WritingMode{m_id, m_name->text(), m_rules->toPlainText()};
}

bool WritingModeEditor::canSave() const
{
    return WritingModeRules::canSave(mode());
}

QString WritingModeEditor::counterText() const
{
    return m_counter->text();
}

bool WritingModeEditor::isCounterOrange() const
{
    return m_counter->foregroundRole() == QPalette::BrightText;
}

void WritingModeEditor::update()
{
    const QString instructions = m_rules->toPlainText();
    m_counter->setText(WritingModeRules::counterText(instructions));
    // The orange lives in the label's BrightText role so the caption's secondary colour
    // comes back on its own when the text is short enough again.
    QPalette palette = m_counter->palette();
    palette.setColor(QPalette::BrightText, StatusColors::orange());
    m_counter->setPalette(palette);
    m_counter->setForegroundRole(WritingModeRules::isOverLimit(instructions) ? QPalette::BrightText
                                                                             : QPalette::PlaceholderText);
    m_save->setEnabled(canSave());
}
