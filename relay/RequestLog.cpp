#include "RequestLog.h"

#include <QJsonDocument>
#include <QJsonObject>

#include <httplib.h>

#include <fcntl.h>
#include <unistd.h>

bool RequestLog::open(const std::string& path, std::string* error)
{
    int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0600);
    if (fd >= 0)
        ::close(fd);
    m_out.open(path, std::ios::app | std::ios::binary);
    if (!m_out) {
        *error = "cannot open " + path;
        return false;
    }
    return true;
}

void RequestLog::record(const httplib::Request& req)
{
    QJsonObject headers;
    for (const auto& [name, value] : req.headers) {
        QString key = QString::fromStdString(name).toLower();
        QString joined = headers.contains(key) ? headers.value(key).toString() + ", " : QString();
        headers.insert(key, joined + QString::fromStdString(value));
    }
    auto query = req.target.find('?');
    QJsonObject line{{"method", QString::fromStdString(req.method)},
                     {"path", QString::fromStdString(req.path)},
                     {"query", QString::fromStdString(query == std::string::npos ? "" : req.target.substr(query + 1))},
                     {"headers", headers},
                     {"body", QString::fromUtf8(req.body.data(), qsizetype(req.body.size()))}};
    QByteArray text = QJsonDocument(line).toJson(QJsonDocument::Compact) + '\n';
    std::lock_guard lock(m_mutex);
    m_out.write(text.constData(), text.size());
    m_out.flush();
}
