#include "history/HistoryWriter.h"

#include "common/SafeFile.h"
#include "history/HistoryLog.h"

#include <QMutex>
#include <QMutexLocker>
#include <atomic>

struct HistoryWriter::State {
    QString path;
    // The newest generation handed over; older ones still waiting are skipped unencoded.
    std::atomic<quint64> latest = 0;
    std::atomic<int> writes = 0;
    // Guards the file and `claimed`, the newest generation that has been put to the disk.
    QMutex mutex;
    quint64 claimed = 0;
};

HistoryWriter::HistoryWriter(QString path) : m_state(std::make_shared<State>())
{
    m_state->path = std::move(path);
    m_pool.setMaxThreadCount(1);
    m_pool.setObjectName(QStringLiteral("HistoryWriter"));
}

HistoryWriter::~HistoryWriter()
{
    m_pool.waitForDone();
}

void HistoryWriter::writeLater(Encoder encode)
{
    const quint64 generation = ++m_generation;
    m_state->latest = generation;
    m_pool.start([state = m_state, generation, encode = std::move(encode)] { write(*state, generation, encode); });
}

bool HistoryWriter::writeNow(const Encoder& encode)
{
    const quint64 generation = ++m_generation;
    m_state->latest = generation;
    return write(*m_state, generation, encode);
}

void HistoryWriter::waitForDone()
{
    m_pool.waitForDone();
}

int HistoryWriter::writeCount() const
{
    return m_state->writes;
}

bool HistoryWriter::write(State& state, quint64 generation, const Encoder& encode)
{
    if (generation < state.latest)
        return false;
    const QByteArray bytes = encode();
    QMutexLocker lock(&state.mutex);
    if (generation <= state.claimed)
        return false;
    // Claimed even when the write fails: an older snapshot must not land after a newer one
    // was attempted. The next change writes the current list again.
    state.claimed = generation;
    QString error;
    if (!SafeFile::writeAtomically(state.path, bytes, &error)) {
        qCWarning(historyLog).noquote() << "Could not write the history to" << state.path + QStringLiteral(":")
                                        << error;
        return false;
    }
    ++state.writes;
    qCDebug(historyLog) << "History written:" << bytes.size() << "bytes, generation" << generation;
    return true;
}
