#pragma once

#include <QJsonValue>
#include <QVariant>

// The JSON form of one preference value, chosen so that the value's type survives a round
// trip through the preferences file:
//   bool -> true/false, QString -> "text", integer or double -> number,
//   QByteArray -> {"$data": "<base64>"}, list -> [ ... ], map -> {"$map": { ... }}.
// Other types are written in Qt's JSON form of them (a QUrl or QUuid as text); a value
// without any JSON form encodes as an undefined QJsonValue and is not stored.
namespace PreferenceJson {

QJsonValue encode(const QVariant& value);
// The value back; an integral number reads as an int (or a qlonglong when it does not fit),
// any other number as a double. A JSON form this encoding never produces reads as invalid.
QVariant decode(const QJsonValue& json);

} // namespace PreferenceJson
