#include "actions/WritingMode.h"

#include <QHashFunctions>

QString WritingMode::idString() const
{
    return id.toString(QUuid::WithoutBraces).toUpper();
}

QJsonObject WritingMode::toJson() const
{
    return QJsonObject{
        {QStringLiteral("id"), idString()},
        {QStringLiteral("name"), name},
        {QStringLiteral("instructions"), instructions},
    };
}

std::optional<WritingMode> WritingMode::fromJson(const QJsonObject& object)
{
    const QJsonValue id = object.value(QStringLiteral("id"));
    const QJsonValue name = object.value(QStringLiteral("name"));
    const QJsonValue instructions = object.value(QStringLiteral("instructions"));
    if (!id.isString() || !name.isString() || !instructions.isString())
        return std::nullopt;
    const QString idText = id.toString();
    // QUuid also accepts braces; the stored form never has them.
    if (idText.size() != 36)
        return std::nullopt;
    const QUuid uuid = QUuid::fromString(idText);
    if (uuid.isNull() && idText != QStringLiteral("00000000-0000-0000-0000-000000000000"))
        return std::nullopt;
    return WritingMode{uuid, name.toString(), instructions.toString()};
}

size_t qHash(const WritingMode& mode, size_t seed)
{
    return qHashMulti(seed, mode.id, mode.name, mode.instructions);
}
