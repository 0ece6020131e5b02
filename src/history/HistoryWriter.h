#pragma once

#include <QByteArray>
#include <QString>
#include <QThreadPool>
#include <functional>
#include <memory>

// Writes successive snapshots of one file, newest wins. Each snapshot gets a generation
// number when it is handed over; encoding runs outside any lock, and a snapshot whose
// generation is older than one already written (or already handed over) is dropped, so a
// slow older write can never replace a newer file. Background writes run one at a time on
// a private thread; writeNow() writes on the calling thread. Hand snapshots over from one
// thread only.
class HistoryWriter {
public:
    // Produces the bytes of one snapshot; called at most once, possibly on another thread.
    using Encoder = std::function<QByteArray()>;

    explicit HistoryWriter(QString path);
    // Waits for a write under way.
    ~HistoryWriter();

    HistoryWriter(const HistoryWriter&) = delete;
    HistoryWriter& operator=(const HistoryWriter&) = delete;

    // Encodes and writes in the background; returns at once.
    void writeLater(Encoder encode);
    // Encodes and writes on the calling thread; returns whether this snapshot reached the disk.
    bool writeNow(const Encoder& encode);
    // Blocks until every background write handed over so far has finished.
    void waitForDone();

    // Number of snapshots written successfully.
    int writeCount() const;

private:
    struct State;
    static bool write(State& state, quint64 generation, const Encoder& encode);

    std::shared_ptr<State> m_state;
    quint64 m_generation = 0;
    QThreadPool m_pool;
};
