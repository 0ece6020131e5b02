#include "history/HistoryStore.h"

#include "common/SafeFile.h"
#include "history/HistoryFile.h"
#include "history/HistoryLog.h"
#include "platform/Preferences.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QHashFunctions>
#include <QStandardPaths>
#include <QTextBoundaryFinder>

namespace {

const QString saveHistoryKey = QStringLiteral("saveHistory");

bool storedEnabled()
{
    const QVariant stored = Preferences::instance().value(saveHistoryKey);
    return stored.typeId() == QMetaType::Bool ? stored.toBool() : true;
}

} // namespace

HistoryStore::HistoryStore(const QString& path, Clock& clock, QObject* parent)
    : QObject(parent), m_path(path), m_clock(clock), m_enabled(storedEnabled()), m_writer(path)
{
    load();
}

HistoryStore::~HistoryStore()
{
    m_saveTask.cancel();
}

HistoryStore& HistoryStore::shared()
{
    static HistoryStore* const store = [] {
        auto* created = new HistoryStore(defaultPath());
        if (auto* app = QCoreApplication::instance())
            QObject::connect(app, &QCoreApplication::aboutToQuit, created, &HistoryStore::flush);
        return created;
    }();
    return *store;
}

QString HistoryStore::defaultPath()
{
    const QString base = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
    return base + QStringLiteral("/Halvora/History.json");
}

void HistoryStore::load()
{
    // Failure to make the folder shows up later as a failed read or write.
    if (!SafeFile::ensurePrivateDir(QFileInfo(m_path).absolutePath()))
        qCWarning(historyLog) << "Could not make the history folder private:" << QFileInfo(m_path).absolutePath();
    if (!QFileInfo::exists(m_path))
        return;
    QFile file(m_path);
    std::optional<QList<Conversation>> decoded;
    if (file.open(QIODevice::ReadOnly))
        decoded = HistoryFile::decode(file.readAll());
    if (decoded) {
        m_conversations = std::move(*decoded);
        qCDebug(historyLog) << "History read:" << m_conversations.size() << "conversations";
        return;
    }
    // The file exists but cannot be read back: keep it out of the way of the next save.
    // If it cannot be moved, never write over it.
    const QString aside = SafeFile::moveAside(m_path, m_clock.now());
    m_canWrite = !aside.isEmpty();
    if (m_canWrite)
        qCWarning(historyLog) << "The history file could not be read; it was kept as" << aside;
    else
        qCWarning(historyLog) << "The history file could not be read nor moved aside; history will not be saved:"
                              << m_path;
}

void HistoryStore::setEnabled(bool enabled)
{
    Preferences::instance().setValue(saveHistoryKey, enabled);
    if (enabled == m_enabled)
        return;
    m_enabled = enabled;
    Q_EMIT isEnabledChanged();
}

std::optional<HistoryStore::Conversation> HistoryStore::conversation(const QUuid& id) const
{
    if (id.isNull())
        return std::nullopt;
    for (const Conversation& stored : m_conversations) {
        if (stored.id == id)
            return stored;
    }
    return std::nullopt;
}

void HistoryStore::upsert(const Conversation& conversation)
{
    if (!m_enabled || conversation.turns.isEmpty())
        return;
    m_conversations.removeIf([&](const Conversation& stored) { return stored.id == conversation.id; });
    m_conversations.prepend(conversation);
    if (m_conversations.size() > maxConversations)
        m_conversations.resize(maxConversations);
    Q_EMIT conversationsChanged();
    scheduleSave();
}

void HistoryStore::deleteConversation(const QUuid& id)
{
    if (m_conversations.removeIf([&](const Conversation& stored) { return stored.id == id; }) > 0)
        Q_EMIT conversationsChanged();
    scheduleSave();
}

void HistoryStore::clearAll()
{
    const bool changed = !m_conversations.isEmpty();
    m_conversations.clear();
    if (changed)
        Q_EMIT conversationsChanged();
    scheduleSave();
}

void HistoryStore::flush()
{
    m_saveTask.cancel();
    if (m_pending && m_canWrite)
        m_writer.writeNow(encoderFor(std::move(*m_pending)));
    m_pending.reset();
    m_writer.waitForDone();
}

void HistoryStore::scheduleSave()
{
    // The snapshot shares the list's data until the next change, so taking it is cheap.
    m_pending = m_conversations;
    m_saveTask = m_clock.after(saveDelayMs, [this] { startSave(); });
}

void HistoryStore::startSave()
{
    if (!m_pending)
        return;
    QList<Conversation> snapshot = std::move(*m_pending);
    m_pending.reset();
    if (m_canWrite)
        m_writer.writeLater(encoderFor(std::move(snapshot)));
}

HistoryWriter::Encoder HistoryStore::encoderFor(QList<Conversation> snapshot)
{
    return [snapshot = std::move(snapshot)] { return HistoryFile::encode(snapshot); };
}

QString HistoryStore::toString(Kind kind)
{
    static const char* const names[] = {"chat", "ask", "explain", "translate", "search", "research", "rewrite"};
    return QString::fromLatin1(names[int(kind)]);
}

std::optional<HistoryStore::Kind> HistoryStore::kindFromString(const QString& raw)
{
    for (Kind kind : allKinds()) {
        if (toString(kind) == raw)
            return kind;
    }
    return std::nullopt;
}

QList<HistoryStore::Kind> HistoryStore::allKinds()
{
    return {Kind::Chat, Kind::Ask, Kind::Explain, Kind::Translate, Kind::Search, Kind::Research, Kind::Rewrite};
}

namespace {

bool isLineBreak(QChar c)
{
    const char16_t u = c.unicode();
    return (u >= 0x0A && u <= 0x0D) || u == 0x85 || u == 0x2028 || u == 0x2029;
}

bool isHorizontalSpace(QChar c)
{
    return c == QLatin1Char('\t') || c.category() == QChar::Separator_Space;
}

QString firstLine(const QString& text)
{
    qsizetype start = 0;
    while (start < text.size() && isLineBreak(text[start]))
        ++start;
    if (start == text.size())
        return text;
    qsizetype end = start;
    while (end < text.size() && !isLineBreak(text[end]))
        ++end;
    return text.mid(start, end - start);
}

QString trimmedHorizontally(const QString& text)
{
    qsizetype start = 0;
    qsizetype end = text.size();
    while (start < end && isHorizontalSpace(text[start]))
        ++start;
    while (end > start && isHorizontalSpace(text[end - 1]))
        --end;
    return text.mid(start, end - start);
}

} // namespace

QString HistoryStore::title(const QString& from, int limit)
{
    // A limit below one would leave no room for the ellipsis.
    limit = std::max(1, limit);
    const QString line = trimmedHorizontally(firstLine(from));
    QTextBoundaryFinder finder(QTextBoundaryFinder::Grapheme, line);
    int clusters = 0;
    qsizetype cut = 0;
    while (clusters <= limit && finder.toNextBoundary() >= 0) {
        if (++clusters == limit - 1)
            cut = finder.position();
    }
    if (clusters <= limit)
        return line;
    return line.left(cut) + QChar(0x2026);
}

namespace {
size_t hashOptional(const std::optional<QString>& text, size_t seed)
{
    return text ? qHashMulti(seed, true, *text) : qHash(false, seed);
}
} // namespace

size_t qHash(const HistoryStore::Source& source, size_t seed)
{
    return qHashMulti(seed, source.title, source.url);
}

size_t qHash(const HistoryStore::Turn& turn, size_t seed)
{
    seed = hashOptional(turn.question, qHashMulti(seed, turn.id, turn.answer, turn.deep));
    return qHashRange(turn.sources.begin(), turn.sources.end(), seed);
}

size_t qHash(const HistoryStore::Conversation& conversation, size_t seed)
{
    seed = qHashMulti(seed, conversation.id, int(conversation.kind), conversation.title, conversation.createdAt,
                      conversation.updatedAt);
    for (const auto* text : {&conversation.selection, &conversation.appName, &conversation.style})
        seed = hashOptional(*text, seed);
    return qHashRange(conversation.turns.begin(), conversation.turns.end(), seed);
}
