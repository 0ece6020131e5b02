#include "platform/fake/FakeAccessibility.h"

#include "platform/fake/FakeElement.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

namespace {

std::optional<QString> optionalString(const QJsonObject& object, const char* key)
{
    const QJsonValue value = object.value(QLatin1String(key));
    if (!value.isString())
        return std::nullopt;
    return value.toString();
}

QSet<QString> stringSet(const QJsonValue& value)
{
    QSet<QString> strings;
    for (const QJsonValue& entry : value.toArray())
        strings.insert(entry.toString());
    return strings;
}

std::optional<QRectF> rect(const QJsonValue& value)
{
    const QJsonArray parts = value.toArray();
    if (parts.size() != 4)
        return std::nullopt;
    return QRectF(parts[0].toDouble(), parts[1].toDouble(), parts[2].toDouble(), parts[3].toDouble());
}

FakeAccessibility::Node parseNode(const QJsonObject& object)
{
    FakeAccessibility::Node node;
    node.id = object.value(QLatin1String("id")).toString();
    node.parent = object.value(QLatin1String("parent")).toString();
    node.editableAncestor = object.value(QLatin1String("editableAncestor")).toString();
    node.focused = object.value(QLatin1String("focused")).toString();
    node.role = optionalString(object, "role");
    node.selectedText = optionalString(object, "selectedText");
    node.value = optionalString(object, "value");
    node.bounds = rect(object.value(QLatin1String("bounds")));
    const QSet<QString> settable = stringSet(object.value(QLatin1String("settable")));
    node.valueSettable = settable.contains(QStringLiteral("Value"));
    node.selectedTextSettable = settable.contains(QStringLiteral("SelectedText"));
    node.ignoresWrites = object.value(QLatin1String("ignoresWrites")).toBool();
    for (const QJsonValue& id : object.value(QLatin1String("embedded")).toArray())
        node.embedded.append(id.toString());
    node.failing = stringSet(object.value(QLatin1String("failing")));
    node.delayMs = object.value(QLatin1String("delayMs")).toInt();
    return node;
}

} // namespace

FakeAccessibility::FakeAccessibility() : m_tree(std::make_shared<Tree>()) {}

bool FakeAccessibility::load(const QByteArray& json)
{
    const QJsonDocument document = QJsonDocument::fromJson(json);
    if (!document.isObject())
        return false;
    QHash<qint32, QHash<QString, Node>> loaded;
    for (const QJsonValue& entry : document.object().value(QLatin1String("applications")).toArray()) {
        const QJsonObject app = entry.toObject();
        if (!app.value(QLatin1String("pid")).isDouble())
            return false;
        QHash<QString, Node>& nodes = loaded[app.value(QLatin1String("pid")).toInt()];
        Node root = parseNode(app);
        root.id.clear();
        nodes.insert(QString(), root);
        for (const QJsonValue& element : app.value(QLatin1String("elements")).toArray()) {
            const Node node = parseNode(element.toObject());
            if (node.id.isEmpty())
                return false;
            nodes.insert(node.id, node);
        }
    }
    m_tree->applications.insert(loaded);
    return true;
}

bool FakeAccessibility::loadFile(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) && load(file.readAll());
}

void FakeAccessibility::clear()
{
    m_tree->applications.clear();
}

FakeAccessibility::Node* FakeAccessibility::node(qint32 pid, const QString& id)
{
    auto app = m_tree->applications.find(pid);
    if (app == m_tree->applications.end())
        return nullptr;
    auto found = app->find(id);
    return found == app->end() ? nullptr : &*found;
}

QSet<qint32> FakeAccessibility::applicationsOnBus()
{
    const QList<qint32> pids = m_tree->applications.keys();
    return QSet<qint32>(pids.begin(), pids.end());
}

AccessibilityElementRef FakeAccessibility::applicationElement(qint32 pid)
{
    if (!m_tree->applications.contains(pid))
        return {};
    return std::make_shared<FakeElement>(m_tree, pid, QString(), defaultTimeout);
}
