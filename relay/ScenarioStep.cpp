#include "ScenarioStep.h"

#include "SseEvents.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

namespace {

bool isHeaderSafe(const QString& text, bool isName)
{
    if (text.isEmpty() && isName)
        return false;
    for (QChar c : text) {
        if (c.unicode() < 0x20 || c.unicode() == 0x7f || (isName && (c == u':' || c == u' ')))
            return false;
    }
    return true;
}

// Reads an optional integer member into `out`; returns false when it is present but not an integer in range.
bool readInt(const QJsonObject& o, const char* key, int min, int max, int* out)
{
    QJsonValue v = o.value(QLatin1String(key));
    if (v.isUndefined())
        return true;
    double d = v.toDouble(min - 1.0);
    if (!v.isDouble() || d != static_cast<int>(d) || d < min || d > max)
        return false;
    *out = static_cast<int>(d);
    return true;
}

std::string readHeaders(const QJsonObject& o, ScenarioStep& step)
{
    const QJsonObject headers = o.value("headers").toObject();
    for (auto it = headers.begin(); it != headers.end(); ++it) {
        if (!it.value().isString() || !isHeaderSafe(it.key(), true) || !isHeaderSafe(it.value().toString(), false))
            return "\"headers\" must map header names to single-line strings";
        if (it.key().compare(QLatin1String("content-type"), Qt::CaseInsensitive) == 0)
            step.contentType = it.value().toString().toStdString();
        else
            step.headers.emplace_back(it.key().toStdString(), it.value().toString().toStdString());
    }
    return "";
}

std::string readContent(const QJsonObject& o, ScenarioStep& step)
{
    QJsonValue body = o.value("body");
    if (body.isString())
        step.body = body.toString().toStdString();
    else if (!body.isUndefined())
        step.body = QJsonDocument::fromVariant(body.toVariant()).toJson(QJsonDocument::Compact).toStdString();
    if (o.value("sse").isString()) {
        step.isStream = true;
        step.events = SseEvents::split(o.value("sse").toString().toStdString());
    }
    if (o.value("sse_file").isString()) {
        step.isStream = true;
        step.sseFile = o.value("sse_file").toString().toStdString();
        if (!ScenarioStep::isSafeRelativePath(step.sseFile))
            return "\"sse_file\" must name a file inside the scenario folder";
    }
    if (step.isStream && !body.isUndefined())
        return "a step has either \"body\" or \"sse\"/\"sse_file\", not both";
    return "";
}

std::string readStep(const QJsonObject& o, ScenarioStep& step)
{
    if (o.contains("path")) {
        QString path = o.value("path").toString();
        while (path.startsWith(u'/'))
            path.remove(0, 1);
        if (path.isEmpty())
            return "\"path\" must be a non-empty string";
        step.path = path.toStdString();
    }
    if (!readInt(o, "status", 100, 599, &step.status))
        return "\"status\" must be an integer from 100 to 599";
    if (!readInt(o, "delay_ms", 0, 600000, &step.delayMs) || !readInt(o, "cut_after", 0, 1 << 30, &step.cutAfter) ||
        !readInt(o, "stall_after", 0, 1 << 30, &step.stallAfter))
        return "\"delay_ms\", \"cut_after\" and \"stall_after\" must be non-negative integers";
    if (std::string problem = readHeaders(o, step); !problem.empty())
        return problem;
    return readContent(o, step);
}

} // namespace

std::optional<ScenarioStep> ScenarioStep::fromJson(const std::string& text, std::string* error)
{
    QJsonParseError parseError;
    QJsonDocument doc = QJsonDocument::fromJson(QByteArray::fromStdString(text), &parseError);
    if (parseError.error != QJsonParseError::NoError || !doc.isObject()) {
        *error = "a step file must hold one JSON object";
        return std::nullopt;
    }
    ScenarioStep step;
    *error = readStep(doc.object(), step);
    if (!error->empty())
        return std::nullopt;
    if (step.contentType.empty())
        step.contentType = step.isStream ? "text/event-stream" : "application/json";
    return step;
}

ScenarioStep ScenarioStep::fromSse(const std::string& text)
{
    ScenarioStep step;
    step.isStream = true;
    step.contentType = "text/event-stream";
    step.events = SseEvents::split(text);
    return step;
}

bool ScenarioStep::isSafeRelativePath(const std::string& name)
{
    if (name.empty() || name[0] == '/' || name.find('\0') != std::string::npos)
        return false;
    std::size_t start = 0;
    while (start <= name.size()) {
        std::size_t end = name.find('/', start);
        std::string part = name.substr(start, end == std::string::npos ? std::string::npos : end - start);
        if (part.empty() || part == "..")
            return false;
        if (end == std::string::npos)
            break;
        start = end + 1;
    }
    return true;
}
