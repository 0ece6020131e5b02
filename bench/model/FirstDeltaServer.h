#pragma once

#include <QByteArray>
#include <QUrl>
#include <atomic>
#include <chrono>
#include <thread>

// A one-connection HTTP server on loopback that serves a streamed answer in three writes: the
// response head with the events before the first text delta, then after a pause (so that the
// client has read everything and sits idle) the first text delta alone, then the rest. It
// notes when the first delta is handed to the socket, so the time from there to the client's
// first textDelta callback is the client's latency (plus the loopback's few microseconds).
class FirstDeltaServer {
public:
    using TimePoint = std::chrono::steady_clock::time_point;

    FirstDeltaServer(QByteArray before, QByteArray firstDelta, QByteArray after);
    ~FirstDeltaServer();

    // http://127.0.0.1:PORT/, or an empty URL when the socket could not be set up.
    QUrl baseUrl() const;
    // When the first delta was written; valid once the client has seen it.
    TimePoint firstDeltaSent() const { return m_sent.load(); }

private:
    void serve();

    QByteArray m_before;
    QByteArray m_firstDelta;
    QByteArray m_after;
    int m_listener = -1;
    int m_port = 0;
    std::atomic<TimePoint> m_sent{};
    std::thread m_thread;
};
