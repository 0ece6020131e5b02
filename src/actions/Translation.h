#pragma once

#include <QString>
#include <QStringList>

// The language that translations go into: the English name of the user's first preferred
// language, and the instruction sentence built from it. Both are worked out afresh on every
// call from PreferredLanguages::current(), so a change of the user's languages shows at once.
namespace Translation {

// "German" for a user whose first language is de-CH; "English" when nothing usable is set.
QString targetLanguage();
// "Translate the text into German. If it's already in German, translate it into English."
QString instruction();

// The same rules over explicit inputs.
QString targetLanguage(const QStringList& preferredLanguages);
QString instruction(const QString& targetLanguage);

} // namespace Translation
