#include "actions/Translation.h"

#include "platform/PreferredLanguages.h"

#include <QLocale>

namespace Translation {

QString targetLanguage()
{
    return targetLanguage(PreferredLanguages::current().languages());
}

QString instruction()
{
    return instruction(targetLanguage());
}

QString targetLanguage(const QStringList& preferredLanguages)
{
    if (preferredLanguages.isEmpty())
        return QStringLiteral("English");
    // QLocale reads "de-CH", "zh-Hans-CN" or "de_CH.UTF-8"; anything it cannot place comes
    // back as the C locale, which has no language of its own.
    const QLocale::Language language = QLocale(preferredLanguages.first()).language();
    if (language == QLocale::C || language == QLocale::AnyLanguage)
        return QStringLiteral("English");
    const QString name = QLocale::languageToString(language);
    return name.isEmpty() ? QStringLiteral("English") : name;
}

QString instruction(const QString& targetLanguage)
{
    if (targetLanguage == QLatin1String("English"))
        return QStringLiteral(
            "Translate the text into English. If it's already in English, translate it into Spanish.");
    return QStringLiteral("Translate the text into ") + targetLanguage + QStringLiteral(". If it's already in ") +
           targetLanguage + QStringLiteral(", translate it into English.");
}

} // namespace Translation
