#include "model/JsonText.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

namespace JsonText {

std::optional<QJsonValue> parse(const QByteArray& text, QString* error)
{
    QJsonParseError status;
    const bool isObject = text.startsWith('{');
    // QJsonDocument only takes an object or an array at the top level, so any other value is
    // parsed as the single element of an array. Text that closes that array early leaves
    // trailing garbage and still fails.
    const QByteArray wrapped = isObject ? text : QByteArray('[' + text + ']');
    const QJsonDocument document = QJsonDocument::fromJson(wrapped, &status);
    if (status.error != QJsonParseError::NoError) {
        if (error)
            *error = status.errorString();
        return std::nullopt;
    }
    if (isObject)
        return QJsonValue(document.object());
    const QJsonArray array = document.array();
    if (array.size() != 1) {
        if (error)
            *error = QStringLiteral("illegal value");
        return std::nullopt;
    }
    return array.first();
}

} // namespace JsonText
