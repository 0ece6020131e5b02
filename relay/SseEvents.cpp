#include "SseEvents.h"

#include <QJsonDocument>

namespace SseEvents {

std::string format(const QJsonObject& data)
{
    std::string out = "event: " + data.value("type").toString().toStdString() + "\ndata: ";
    out += QJsonDocument(data).toJson(QJsonDocument::Compact).toStdString();
    out += "\n\n";
    return out;
}

namespace {

// Length of the blank-line separator starting at `i`, or 0.
std::size_t separatorAt(const std::string& text, std::size_t i)
{
    if (text.compare(i, 2, "\n\n") == 0)
        return 2;
    if (text.compare(i, 3, "\n\r\n") == 0)
        return 3;
    return 0;
}

} // namespace

std::vector<std::string> split(const std::string& text)
{
    std::vector<std::string> events;
    std::size_t start = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '\n')
            continue;
        if (std::size_t sep = separatorAt(text, i)) {
            events.push_back(text.substr(start, i + sep - start));
            start = i + sep;
            i = start - 1;
        }
    }
    if (start < text.size())
        events.push_back(text.substr(start));
    return events;
}

} // namespace SseEvents
