#include "platform/linux/DesktopEntries.h"

#include <QDir>
#include <QFile>
#include <QStandardPaths>

namespace DesktopEntries {

QString nameFromEntry(const QByteArray& entry)
{
    bool inMainGroup = false;
    for (const QByteArray& rawLine : entry.split('\n')) {
        const QByteArray line = rawLine.trimmed();
        if (line.startsWith('[')) {
            inMainGroup = line == "[Desktop Entry]";
            continue;
        }
        if (inMainGroup && line.startsWith("Name")) {
            const int equals = line.indexOf('=');
            if (equals > 0 && line.left(equals).trimmed() == "Name")
                return QString::fromUtf8(line.mid(equals + 1).trimmed());
        }
    }
    return {};
}

QString applicationName(const QStringList& windowClasses)
{
    const QStringList folders = QStandardPaths::standardLocations(QStandardPaths::ApplicationsLocation);
    for (const QString& windowClass : windowClasses) {
        for (const QString& candidate : {windowClass, windowClass.toLower()}) {
            if (candidate.isEmpty() || candidate.contains(QLatin1Char('/')))
                continue;
            for (const QString& folder : folders) {
                QFile file(QDir(folder).filePath(candidate + QStringLiteral(".desktop")));
                if (!file.open(QIODevice::ReadOnly))
                    continue;
                const QString name = nameFromEntry(file.read(256 * 1024));
                if (!name.isEmpty())
                    return name;
            }
        }
    }
    return {};
}

} // namespace DesktopEntries
