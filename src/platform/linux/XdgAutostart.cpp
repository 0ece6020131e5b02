#include "platform/linux/XdgAutostart.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStandardPaths>
#include <sys/stat.h>

namespace {

bool fail(QString* error, const QString& reason)
{
    if (error)
        *error = reason;
    return false;
}

QString reasonWithPath(const QString& what, const QString& path, const QString& cause)
{
    return QStringLiteral("%1 %2: %3").arg(what, path, cause);
}

} // namespace

XdgAutostart::XdgAutostart(QString entryPath, QString program)
    : m_entryPath(std::move(entryPath)), m_program(std::move(program))
{}

QString XdgAutostart::defaultEntryPath()
{
    const QString config = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
    return config + QStringLiteral("/autostart/halvora.desktop");
}

bool XdgAutostart::isEnabled() const
{
    QFile file(m_entryPath);
    // An entry the desktop cannot read does not start anything either.
    if (!file.open(QIODevice::ReadOnly))
        return false;
    return !isHidden(file.readAll());
}

bool XdgAutostart::enable(QString* error)
{
    const QString folder = QFileInfo(m_entryPath).absolutePath();
    if (!QDir().mkpath(folder))
        return fail(error, reasonWithPath(QStringLiteral("cannot create"), folder, QStringLiteral("mkdir failed")));
    QSaveFile file(m_entryPath);
    if (!file.open(QIODevice::WriteOnly))
        return fail(error, reasonWithPath(QStringLiteral("cannot write"), m_entryPath, file.errorString()));
    if (::fchmod(file.handle(), 0600) != 0)
        return fail(error,
                    reasonWithPath(QStringLiteral("cannot restrict"), m_entryPath, QStringLiteral("chmod failed")));
    const QByteArray text = entryText(m_program);
    if (file.write(text) != text.size() || !file.commit())
        return fail(error, reasonWithPath(QStringLiteral("cannot write"), m_entryPath, file.errorString()));
    return true;
}

bool XdgAutostart::disable(QString* error)
{
    QFile file(m_entryPath);
    if (!file.exists() || file.remove())
        return true;
    return fail(error, reasonWithPath(QStringLiteral("cannot remove"), m_entryPath, file.errorString()));
}

QByteArray XdgAutostart::entryText(const QString& program)
{
    const QString text = QStringLiteral("[Desktop Entry]\n"
                                        "Type=Application\n"
                                        "Name=Halvora\n"
                                        "Comment=Actions for the text you select in any application\n"
                                        "Exec=%1\n"
                                        "Icon=halvora\n"
                                        "Terminal=false\n"
                                        "X-GNOME-Autostart-enabled=true\n")
                             .arg(execArgument(program));
    return text.toUtf8();
}

QString XdgAutostart::execArgument(const QString& program)
{
    // Exec is a string value, so a backslash is written twice; inside the double quotes an
    // argument needs, ", `, $ and \ take a further backslash; % is a field code unless doubled.
    static const QString reserved = QStringLiteral(" \t\n\"'\\><~|&;$*?#()`");
    QString quoted;
    bool needsQuotes = program.isEmpty();
    for (const QChar c : program) {
        needsQuotes = needsQuotes || reserved.contains(c);
        if (c == QLatin1Char('"') || c == QLatin1Char('`') || c == QLatin1Char('$'))
            quoted += QLatin1String("\\\\") + c;
        else if (c == QLatin1Char('\\'))
            quoted += QLatin1String("\\\\\\\\");
        else if (c == QLatin1Char('%'))
            quoted += QLatin1String("%%");
        else if (c == QLatin1Char('\n'))
            quoted += QLatin1String("\\n");
        else
            quoted += c;
    }
    return needsQuotes ? QLatin1Char('"') + quoted + QLatin1Char('"') : quoted;
}

bool XdgAutostart::isHidden(const QByteArray& entry)
{
    bool inMainGroup = false;
    for (const QByteArray& rawLine : entry.split('\n')) {
        const QByteArray line = rawLine.trimmed();
        if (line.startsWith('['))
            inMainGroup = line == "[Desktop Entry]";
        const qsizetype equals = line.indexOf('=');
        if (!inMainGroup || equals < 0 || line.left(equals).trimmed() != "Hidden")
            continue;
        return line.mid(equals + 1).trimmed() == "true";
    }
    return false;
}
