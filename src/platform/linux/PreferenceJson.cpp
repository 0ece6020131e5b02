#include "platform/linux/PreferenceJson.h"

#include <QJsonArray>
#include <QJsonObject>
#include <limits>

namespace PreferenceJson {

namespace {

const QString dataTag = QStringLiteral("$data");
const QString mapTag = QStringLiteral("$map");

QJsonValue encodeList(const QVariantList& list)
{
    QJsonArray array;
    for (const QVariant& item : list) {
        const QJsonValue json = encode(item);
        if (json.isUndefined())
            return QJsonValue(QJsonValue::Undefined);
        array.append(json);
    }
    return array;
}

QJsonValue encodeMap(const QVariantMap& map)
{
    QJsonObject object;
    for (auto it = map.begin(); it != map.end(); ++it) {
        const QJsonValue json = encode(it.value());
        if (json.isUndefined())
            return QJsonValue(QJsonValue::Undefined);
        object.insert(it.key(), json);
    }
    return QJsonObject{{mapTag, object}};
}

QVariant decodeNumber(const QJsonValue& json)
{
    // QJsonValue keeps integers written without a fraction as 64-bit integers.
    const QVariant number = json.toVariant();
    if (number.typeId() != QMetaType::LongLong)
        return number.toDouble();
    const qlonglong whole = number.toLongLong();
    if (whole >= std::numeric_limits<int>::min() && whole <= std::numeric_limits<int>::max())
        return int(whole);
    return whole;
}

QVariant decodeList(const QJsonArray& array)
{
    QVariantList list;
    for (const QJsonValue& item : array) {
        const QVariant value = decode(item);
        if (!value.isValid())
            return {};
        list.append(value);
    }
    return list;
}

QVariant decodeMap(const QJsonObject& object)
{
    QVariantMap map;
    for (auto it = object.begin(); it != object.end(); ++it) {
        const QVariant value = decode(it.value());
        if (!value.isValid())
            return {};
        map.insert(it.key(), value);
    }
    return map;
}

QVariant decodeBytes(const QJsonValue& base64)
{
    if (!base64.isString())
        return {};
    auto result = QByteArray::fromBase64Encoding(base64.toString().toLatin1(), QByteArray::AbortOnBase64DecodingErrors);
    return result ? QVariant(*result) : QVariant();
}

QVariant decodeObject(const QJsonObject& object)
{
    if (object.size() != 1)
        return {};
    if (object.contains(dataTag))
        return decodeBytes(object.value(dataTag));
    if (object.contains(mapTag) && object.value(mapTag).isObject())
        return decodeMap(object.value(mapTag).toObject());
    return {};
}

} // namespace

QJsonValue encode(const QVariant& value)
{
    switch (value.typeId()) {
    case QMetaType::Bool:
        return value.toBool();
    case QMetaType::QString:
        return value.toString();
    case QMetaType::QByteArray:
        return QJsonObject{{dataTag, QString::fromLatin1(value.toByteArray().toBase64())}};
    case QMetaType::QStringList:
    case QMetaType::QVariantList:
        return encodeList(value.toList());
    case QMetaType::QVariantMap:
        return encodeMap(value.toMap());
    default:
        break;
    }
    if (!value.isValid() || value.isNull())
        return QJsonValue(QJsonValue::Undefined);
    const QJsonValue json = QJsonValue::fromVariant(value);
    // Anything that would come back as a list or an untagged object is not round-trip safe.
    if (json.isNull() || json.isArray() || json.isObject())
        return QJsonValue(QJsonValue::Undefined);
    return json;
}

QVariant decode(const QJsonValue& json)
{
    switch (json.type()) {
    case QJsonValue::Bool:
        return json.toBool();
    case QJsonValue::String:
        return json.toString();
    case QJsonValue::Double:
        return decodeNumber(json);
    case QJsonValue::Array:
        return decodeList(json.toArray());
    case QJsonValue::Object:
        return decodeObject(json.toObject());
    default:
        return {};
    }
}

} // namespace PreferenceJson
