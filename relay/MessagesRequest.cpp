#include "MessagesRequest.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonParseError>

namespace {

// The text of a message's content: the string itself, or its text blocks joined.
QString contentText(const QJsonValue& content)
{
    if (content.isString())
        return content.toString();
    QString text;
    for (const QJsonValue& block : content.toArray()) {
        QJsonObject o = block.toObject();
        if (o.value("type").toString() == QLatin1String("text"))
            text += o.value("text").toString();
    }
    return text;
}

std::string checkMessage(const QJsonValue& value, qsizetype i)
{
    std::string where = "messages[" + std::to_string(i) + "]";
    if (!value.isObject())
        return where + " must be an object.";
    QJsonObject o = value.toObject();
    if (!o.value("role").isString())
        return where + ".role must be a string.";
    QJsonValue content = o.value("content");
    if (!content.isString() && !content.isArray())
        return where + ".content must be a string or a list of content blocks.";
    return "";
}

std::string checkBody(const QJsonObject& body)
{
    if (!body.value("messages").isArray())
        return "The request needs a \"messages\" list.";
    const QJsonArray messages = body.value("messages").toArray();
    for (qsizetype i = 0; i < messages.size(); ++i) {
        if (std::string problem = checkMessage(messages.at(i), i); !problem.empty())
            return problem;
    }
    QJsonValue system = body.value("system");
    if (!system.isUndefined() && !system.isString() && !system.isArray())
        return "\"system\" must be a string or a list of content blocks.";
    QJsonValue tools = body.value("tools");
    if (!tools.isUndefined() && !tools.isArray())
        return "\"tools\" must be a list.";
    return "";
}

} // namespace

std::optional<MessagesRequest> MessagesRequest::parse(const std::string& body, std::string* error)
{
    QJsonParseError parseError;
    QJsonDocument doc = QJsonDocument::fromJson(QByteArray::fromRawData(body.data(), qsizetype(body.size())),
                                                &parseError);
    if (parseError.error != QJsonParseError::NoError) {
        *error = "The request body is not valid JSON.";
        return std::nullopt;
    }
    if (!doc.isObject()) {
        *error = "The request body must be a JSON object.";
        return std::nullopt;
    }
    MessagesRequest request;
    request.m_body = doc.object();
    *error = checkBody(request.m_body);
    if (!error->empty())
        return std::nullopt;
    return request;
}

QString MessagesRequest::system() const
{
    return contentText(m_body.value("system"));
}

QString MessagesRequest::firstUserText() const
{
    for (const QJsonValue& m : m_body.value("messages").toArray()) {
        if (m.toObject().value("role").toString() == QLatin1String("user"))
            return contentText(m.toObject().value("content"));
    }
    return {};
}

QString MessagesRequest::lastUserText() const
{
    const QJsonArray messages = m_body.value("messages").toArray();
    for (qsizetype i = messages.size() - 1; i >= 0; --i) {
        QJsonObject message = messages.at(i).toObject();
        if (message.value("role").toString() == QLatin1String("user"))
            return contentText(message.value("content"));
    }
    return {};
}

QString MessagesRequest::selection() const
{
    const QString first = firstUserText();
    const QString open = QStringLiteral("<selected_text>\n");
    const QString close = QStringLiteral("\n</selected_text>");
    qsizetype start = first.indexOf(open);
    qsizetype end = first.lastIndexOf(close);
    if (start >= 0 && end >= start + open.size())
        return first.mid(start + open.size(), end - start - open.size());
    return lastUserText();
}

bool MessagesRequest::hasTool(const QString& name) const
{
    for (const QJsonValue& tool : m_body.value("tools").toArray()) {
        QJsonObject o = tool.toObject();
        if (o.value("name").toString() == name || o.value("type").toString().startsWith(name + u'_'))
            return true;
    }
    return false;
}
