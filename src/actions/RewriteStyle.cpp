#include "actions/RewriteStyle.h"

#include "actions/Translation.h"

#include <QCoreApplication>

namespace {

struct StyleText {
    const char* name;
    const char* title;
    const char* iconName;
    const char* instruction;
};

// In case order. The translate row's title and instruction are built from the target language.
constexpr StyleText kStyles[] = {
    {"improve", QT_TRANSLATE_NOOP("RewriteStyle", "Improve writing"), "magic-wand",
     "Improve clarity, flow and word choice while keeping the meaning and tone."},
    {"grammar", QT_TRANSLATE_NOOP("RewriteStyle", "Fix spelling & grammar"), "tools-check-spelling",
     "Fix spelling, grammar and punctuation only. Change nothing else."},
    {"shorter", QT_TRANSLATE_NOOP("RewriteStyle", "Make shorter"), "zoom-out",
     "Make it noticeably shorter while keeping every key point."},
    {"longer", QT_TRANSLATE_NOOP("RewriteStyle", "Make longer"), "zoom-in",
     "Expand it with useful detail, keeping the same tone and meaning."},
    {"professional", QT_TRANSLATE_NOOP("RewriteStyle", "More professional"), "briefcase",
     "Make the tone more professional and polished."},
    {"casual", QT_TRANSLATE_NOOP("RewriteStyle", "More casual"), "face-smile",
     "Make the tone more casual and friendly."},
    {"simplify", QT_TRANSLATE_NOOP("RewriteStyle", "Simplify"), "text-minus",
     "Rewrite it in simpler, plain language that anyone can understand."},
    {"translate", nullptr, "preferences-desktop-locale", nullptr},
};
static_assert(std::size(kStyles) == RewriteStyle::Translate + 1);

const StyleText& textsOf(RewriteStyle style)
{
    return kStyles[static_cast<RewriteStyle::Case>(style)];
}

} // namespace

QString RewriteStyle::title() const
{
    if (m_value == Translate)
        return QCoreApplication::translate("RewriteStyle", "Translate to %1").arg(Translation::targetLanguage());
    return QCoreApplication::translate("RewriteStyle", textsOf(*this).title);
}

QString RewriteStyle::untranslatedTitle() const
{
    if (m_value == Translate)
        return QStringLiteral("Translate to ") + Translation::targetLanguage();
    return QString::fromUtf8(textsOf(*this).title);
}

QString RewriteStyle::instruction() const
{
    if (m_value == Translate)
        return Translation::instruction() +
               QStringLiteral(" Keep the tone, names and formatting; translate naturally, not word for word.");
    return QString::fromUtf8(textsOf(*this).instruction);
}

QString RewriteStyle::iconName() const
{
    return QString::fromUtf8(textsOf(*this).iconName);
}

QString RewriteStyle::toString() const
{
    return QString::fromUtf8(textsOf(*this).name);
}

std::optional<RewriteStyle> RewriteStyle::fromString(const QString& name)
{
    for (const RewriteStyle style : all()) {
        if (style.toString() == name)
            return style;
    }
    return std::nullopt;
}

QList<RewriteStyle> RewriteStyle::all()
{
    return {Improve, Grammar, Shorter, Longer, Professional, Casual, Simplify, Translate};
}
