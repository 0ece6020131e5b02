#include "actions/RewriteStyle.h"

#include "actions/Translation.h"

#include <QCoreApplication>

namespace {

struct StyleText {
    const char* rawValue;
    const char* title;
    const char* symbol;
    const char* instruction;
};

// In case order. The translate row's title and instruction are built from the target language.
constexpr StyleText kStyles[] = {
    {"improve", QT_TRANSLATE_NOOP("RewriteStyle", "Improve writing"), "wand.and.stars",
     "Improve clarity, flow and word choice while keeping the meaning and tone."},
    {"grammar", QT_TRANSLATE_NOOP("RewriteStyle", "Fix spelling & grammar"), "checkmark.circle",
     "Fix spelling, grammar and punctuation only. Change nothing else."},
    {"shorter", QT_TRANSLATE_NOOP("RewriteStyle", "Make shorter"), "arrow.down.right.and.arrow.up.left",
     "Make it noticeably shorter while keeping every key point."},
    {"longer", QT_TRANSLATE_NOOP("RewriteStyle", "Make longer"), "arrow.up.left.and.arrow.down.right",
     "Expand it with useful detail, keeping the same tone and meaning."},
    {"professional", QT_TRANSLATE_NOOP("RewriteStyle", "More professional"), "briefcase",
     "Make the tone more professional and polished."},
    {"casual", QT_TRANSLATE_NOOP("RewriteStyle", "More casual"), "face.smiling",
     "Make the tone more casual and friendly."},
    {"simplify", QT_TRANSLATE_NOOP("RewriteStyle", "Simplify"), "text.badge.minus",
     "Rewrite it in simpler, plain language that anyone can understand."},
    {"translate", nullptr, "character.bubble", nullptr},
};
static_assert(std::size(kStyles) == RewriteStyle::translate + 1);

const StyleText& textsOf(RewriteStyle style)
{
    return kStyles[static_cast<RewriteStyle::Case>(style)];
}

} // namespace

QString RewriteStyle::title() const
{
    if (m_value == translate)
        return QCoreApplication::translate("RewriteStyle", "Translate to %1").arg(Translation::targetLanguage());
    return QCoreApplication::translate("RewriteStyle", textsOf(*this).title);
}

QString RewriteStyle::untranslatedTitle() const
{
    if (m_value == translate)
        return QStringLiteral("Translate to ") + Translation::targetLanguage();
    return QString::fromUtf8(textsOf(*this).title);
}

QString RewriteStyle::instruction() const
{
    if (m_value == translate)
        return Translation::instruction() +
               QStringLiteral(" Keep the tone, names and formatting; translate naturally, not word for word.");
    return QString::fromUtf8(textsOf(*this).instruction);
}

QString RewriteStyle::symbol() const
{
    return QString::fromUtf8(textsOf(*this).symbol);
}

QString RewriteStyle::rawValue() const
{
    return QString::fromUtf8(textsOf(*this).rawValue);
}

std::optional<RewriteStyle> RewriteStyle::fromRawValue(const QString& rawValue)
{
    for (const RewriteStyle style : allCases()) {
        if (style.rawValue() == rawValue)
            return style;
    }
    return std::nullopt;
}

QList<RewriteStyle> RewriteStyle::allCases()
{
    return {improve, grammar, shorter, longer, professional, casual, simplify, translate};
}
