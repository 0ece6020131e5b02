#include "RelayTestHttp.h"

#include "RelayProcess.h"

#include <QJsonArray>
#include <QJsonDocument>

namespace RelayTestHttp {

std::unique_ptr<httplib::Client> client(const RelayProcess& relay)
{
    auto c = std::make_unique<httplib::Client>("127.0.0.1", relay.port());
    c->set_read_timeout(20);
    return c;
}

httplib::Headers modelHeaders(const QString& token, const QString& action)
{
    return {{"Authorization", "Bearer " + token.toStdString()}, {"X-Halvora-Action", action.toStdString()}};
}

std::string modelBody(const QString& selection, const QString& system, bool webSearch)
{
    QJsonObject message{{"role", "user"}, {"content", "<selected_text>\n" + selection + "\n</selected_text>"}};
    QJsonObject body{{"max_tokens", 16000}, {"stream", true}, {"system", system}, {"messages", QJsonArray{message}}};
    if (webSearch)
        body.insert("tools", QJsonArray{QJsonObject{{"type", "web_search_20260209"}, {"name", "web_search"}, {"max_uses", 3}}});
    return QJsonDocument(body).toJson(QJsonDocument::Compact).toStdString();
}

QList<QJsonObject> dataObjects(const std::string& stream)
{
    QList<QJsonObject> events;
    for (const QByteArray& line : QByteArray::fromStdString(stream).split('\n')) {
        if (!line.startsWith("data:"))
            continue;
        QJsonDocument doc = QJsonDocument::fromJson(line.mid(5).trimmed());
        if (doc.isObject())
            events << doc.object();
    }
    return events;
}

QString streamedText(const QList<QJsonObject>& events)
{
    QString text;
    for (const QJsonObject& e : events) {
        QJsonObject delta = e.value("delta").toObject();
        if (delta.value("type").toString() == QLatin1String("text_delta"))
            text += delta.value("text").toString();
    }
    return text;
}

QJsonObject json(const std::string& body)
{
    return QJsonDocument::fromJson(QByteArray::fromStdString(body)).object();
}

} // namespace RelayTestHttp
