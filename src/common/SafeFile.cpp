#include "common/SafeFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <sys/stat.h>

namespace SafeFile {

bool ensurePrivateDir(const QString& dir)
{
    if (!QDir().mkpath(dir))
        return false;
    return ::chmod(QFile::encodeName(dir).constData(), 0700) == 0;
}

bool writeAtomically(const QString& path, const QByteArray& data, QString* error)
{
    auto fail = [error](const QString& why) {
        if (error)
            *error = why;
        return false;
    };
    if (!ensurePrivateDir(QFileInfo(path).absolutePath()))
        return fail(QStringLiteral("cannot create the folder of %1").arg(path));
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return fail(file.errorString());
    if (::fchmod(file.handle(), 0600) != 0)
        return fail(QStringLiteral("cannot restrict the permissions of %1").arg(path));
    if (file.write(data) != data.size()) {
        file.cancelWriting();
        return fail(file.errorString());
    }
    if (!file.commit())
        return fail(file.errorString());
    return true;
}

QString moveAside(const QString& path, const QDateTime& now)
{
    const QFileInfo info(path);
    if (!info.exists())
        return {};
    const QString stamp = now.toUTC().toString(QStringLiteral("yyyyMMdd'T'HHmmss'Z'"));
    const QString suffix = info.completeSuffix().isEmpty() ? QString() : QLatin1Char('.') + info.completeSuffix();
    const QString base =
        info.absolutePath() + QLatin1Char('/') + info.baseName() + QStringLiteral(".unreadable-") + stamp;
    QString target = base + suffix;
    for (int n = 2; QFileInfo::exists(target); ++n)
        target = base + QLatin1Char('-') + QString::number(n) + suffix;
    return QFile::rename(path, target) ? target : QString();
}

} // namespace SafeFile
