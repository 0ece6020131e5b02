#pragma once

#include <QJsonObject>
#include <QMetaType>
#include <QString>
#include <QUuid>
#include <optional>

// One of the user's own rewrite rules: an identity, a display name (also the title of the
// rewrite it runs) and the instructions put verbatim into the rewrite prompt.
struct WritingMode {
    QUuid id = QUuid::createUuid();
    QString name;
    QString instructions;

    friend bool operator==(const WritingMode&, const WritingMode&) = default;

    // The UUID in its standard upper-case text form, without braces.
    QString idString() const;

    // {"id", "name", "instructions"}: exactly these three keys.
    QJsonObject toJson() const;
    // Needs all three keys with string values and a well-formed UUID; anything else is nothing.
    static std::optional<WritingMode> fromJson(const QJsonObject& object);
};

size_t qHash(const WritingMode& mode, size_t seed = 0);

Q_DECLARE_METATYPE(WritingMode)
