#include "platform/SystemPreferredLanguages.h"

#include <QLocale>

QStringList SystemPreferredLanguages::languages() const
{
    return QLocale::system().uiLanguages();
}
