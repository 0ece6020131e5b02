#pragma once

#include "history/HistoryWriter.h"
#include "platform/Clock.h"

#include <QDateTime>
#include <QList>
#include <QObject>
#include <QString>
#include <QUrl>
#include <QUuid>
#include <optional>

// Every past conversation of the program (rewrites, answers, research runs, chats), newest
// first, mirrored to one JSON file. Changes are saved 400 ms after the last of a burst, encoded
// and written off the main thread. Main thread only; one shared instance for the program.
class HistoryStore : public QObject {
    Q_OBJECT
    Q_PROPERTY(QList<HistoryStore::Conversation> conversations READ conversations NOTIFY conversationsChanged)
    Q_PROPERTY(bool isEnabled READ isEnabled WRITE setEnabled NOTIFY isEnabledChanged)

public:
    // What a conversation started as; the order is the listing order.
    enum class Kind { Chat, Ask, Explain, Translate, Search, Research, Rewrite };
    Q_ENUM(Kind)

    // One web page listed with an answer.
    struct Source {
        QString title;
        QUrl url;
        friend bool operator==(const Source&, const Source&) = default;
    };

    // One question (when the user typed one) and the model's answer to it.
    struct Turn {
        QUuid id = QUuid::createUuid();
        std::optional<QString> question;
        QString answer;
        QList<Source> sources;
        bool deep = false;
        friend bool operator==(const Turn&, const Turn&) = default;
    };

    // One stored conversation; its id stays the same across saves.
    struct Conversation {
        QUuid id = QUuid::createUuid();
        Kind kind = Kind::Chat;
        QString title;
        std::optional<QString> selection;
        std::optional<QString> appName;
        std::optional<QString> style;
        QDateTime createdAt;
        QDateTime updatedAt;
        QList<Turn> turns;
        friend bool operator==(const Conversation&, const Conversation&) = default;
    };

    static constexpr int maxConversations = 1000;
    static constexpr int saveDelayMs = 400;
    // The title length the writers of conversations use.
    static constexpr int titleLimit = 70;

    // Loads the file at path; a file that exists but cannot be read back is first moved aside.
    explicit HistoryStore(const QString& path, Clock& clock = Clock::system(), QObject* parent = nullptr);
    ~HistoryStore() override;

    // The program's store at $XDG_DATA_HOME/Halvora/History.json; a pending save is written
    // out when the application is about to quit.
    static HistoryStore& shared();
    static QString defaultPath();

    const QList<Conversation>& conversations() const { return m_conversations; }
    bool isEnabled() const { return m_enabled; }
    // Stores the value under "saveHistory" every time; neither clears nor saves the history.
    void setEnabled(bool enabled);
    QUrl fileURL() const { return QUrl::fromLocalFile(m_path); }
    QString filePath() const { return m_path; }

    // The first conversation with this id; nothing for a null id.
    std::optional<Conversation> conversation(const QUuid& id) const;
    // Puts the conversation first, replacing any with the same id. Ignored while saving is off
    // or when it has no turns.
    void upsert(const Conversation& conversation);
    // Removes every conversation with this id; works, and saves, whether saving is on or off.
    void deleteConversation(const QUuid& id);
    // Empties the list; the file then holds an empty array. Works whether saving is on or off.
    void clearAll();

    // Writes a save still waiting for its delay now, on the calling thread, and waits for any
    // write already under way.
    void flush();
    bool isSavePending() const { return m_pending.has_value(); }
    // How many snapshots have reached the disk (for tests and the benchmark).
    int writeCount() const { return m_writer.writeCount(); }

    // A one-line title: the first non-empty line, trimmed of horizontal space, cut to limit
    // user-perceived characters with a trailing "…" when longer.
    static QString title(const QString& from, int limit);

    static QString toString(Kind kind);
    static std::optional<Kind> kindFromString(const QString& raw);
    static QList<Kind> allKinds();

Q_SIGNALS:
    void conversationsChanged();
    void isEnabledChanged();

private:
    void load();
    void scheduleSave();
    void startSave();
    static HistoryWriter::Encoder encoderFor(QList<Conversation> snapshot);

    QString m_path;
    Clock& m_clock;
    QList<Conversation> m_conversations;
    bool m_enabled = true;
    // False when an unreadable file could not be moved aside: it is then never overwritten.
    bool m_canWrite = true;
    std::optional<QList<Conversation>> m_pending;
    TaskHandle m_saveTask;
    HistoryWriter m_writer;
};

size_t qHash(const HistoryStore::Source& source, size_t seed = 0);
size_t qHash(const HistoryStore::Turn& turn, size_t seed = 0);
size_t qHash(const HistoryStore::Conversation& conversation, size_t seed = 0);

Q_DECLARE_METATYPE(HistoryStore::Conversation)
