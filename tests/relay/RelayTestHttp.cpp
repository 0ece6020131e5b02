#include "RelayTestHttp.h"

#include "RelayProcess.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QRegularExpression>

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
        body.insert("tools",
                    QJsonArray{QJsonObject{{"type", "web_search_20260209"}, {"name", "web_search"}, {"max_uses", 3}}});
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

std::unique_ptr<httplib::Client> client(const QUrl& base, const QString& caFile)
{
    auto c = std::make_unique<httplib::Client>(base.adjusted(QUrl::RemovePath).toString().toStdString());
    if (!caFile.isEmpty())
        c->set_ca_cert_path(caFile.toStdString().c_str());
    c->set_read_timeout(20);
    return c;
}

QString signInCode(httplib::Client& c, const std::string& state, const QString& email, const QString& password,
                   httplib::Result* page)
{
    httplib::Result& last = *page;
    last = c.Get("/login?client=app&state=" + state);
    if (!last || last->status != 200)
        return {};
    auto formToken =
        QRegularExpression(R"re(name="form_token" value="([^"]+)")re").match(QString::fromStdString(last->body));
    httplib::Params form{{"email", email.toStdString()},
                         {"state", state},
                         {"client", "app"},
                         {"form_token", formToken.captured(1).toStdString()}};
    if (!password.isNull())
        form.emplace("password", password.toStdString());
    last = c.Post("/login", form);
    if (!last || last->status != 200)
        return {};
    return QRegularExpression(R"re(halvora://auth\?code=([A-Za-z0-9_-]+))re")
        .match(QString::fromStdString(last->body))
        .captured(1);
}

httplib::Result exchangeCode(httplib::Client& c, const QString& code, const std::string& state)
{
    QJsonObject exchange{{"code", code}, {"state", QString::fromStdString(state)}};
    return c.Post("/api/auth/app/exchange", QJsonDocument(exchange).toJson().toStdString(), "application/json");
}

QString signIn(httplib::Client& c, const QString& email, const QString& password, httplib::Result* page)
{
    httplib::Result ignored = noResult();
    const std::string state = "state-" + QString::number(qHash(email)).toStdString();
    const QString code = signInCode(c, state, email, password, page ? page : &ignored);
    if (code.isEmpty())
        return {};
    auto answer = exchangeCode(c, code, state);
    return answer && answer->status == 200 ? json(answer->body).value("token").toString() : QString();
}

std::future<int> streamInBackground(const QUrl& base, const QString& token, const QString& selection,
                                    std::atomic<bool>& streaming)
{
    return std::async(std::launch::async, [base, token, selection, &streaming] {
        httplib::Request req;
        req.method = "POST";
        req.path = "/api/ai/messages";
        req.headers = modelHeaders(token);
        req.set_header("Content-Type", "application/json");
        req.body = modelBody(selection);
        req.content_receiver = [&](const char*, size_t, uint64_t, uint64_t) { return streaming = true; };
        auto answer = client(base)->send(req);
        return answer ? answer->status : 0;
    });
}

} // namespace RelayTestHttp
