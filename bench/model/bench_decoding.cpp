// Prints how long a turn takes to decode a long answer streamed by halvora-relay (scenario
// mode) over loopback, for 20,000 and 80,000 text deltas (the event framing alone is 116
// bytes a delta, so about 2.4 and 9.5 MB), next to the reference SDK on the same stream and
// relay, Qt's HTTP stack reading the stream without decoding it, a bare HTTP client that only
// reads the bytes (what the relay itself costs), and the client's decoding alone. Then the
// latency from the first text delta being written to the socket to its textDelta callback.

#include "FirstDeltaServer.h"
#include "RelayProcess.h"
#include "RelayScenario.h"
#include "model/ClaudeClient.h"
#include "model/JsonText.h"
#include "model/StreamAccumulator.h"
#include "model/StreamLineReader.h"
#include "model/TextDeltaEvent.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QProcess>
#include <QTcpSocket>
#include <QTest>
#include <algorithm>
#include <cstdio>

namespace {

constexpr int kRuns = 3;

// Four characters a delta, about a token's worth of text.
QList<QJsonObject> textEvents(int deltas)
{
    QStringList pieces;
    for (int i = 0; i < deltas; ++i)
        pieces << QStringLiteral("w%1 ").arg(i % 100, 2, 10, QLatin1Char('0'));
    // Token counts as the real service sends them; the reference SDK requires them.
    QList<QJsonObject> events = RelayScenario::textEvents(pieces);
    for (QJsonObject& event : events) {
        if (event.value("type") == "message_start") {
            QJsonObject message = event.value("message").toObject();
            message.insert("usage", QJsonObject{{"input_tokens", 1}, {"output_tokens", 1}});
            event.insert("message", message);
        } else if (event.value("type") == "message_delta") {
            event.insert("usage", QJsonObject{{"output_tokens", deltas}});
        }
    }
    return events;
}

double median(QList<double> values)
{
    std::sort(values.begin(), values.end());
    return values.isEmpty() ? -1 : values[values.size() / 2];
}

double timeOurs(const QUrl& baseUrl, QNetworkAccessManager& network, bool* ok)
{
    ClaudeClient client(baseUrl, nullptr, &network);
    std::optional<TurnOutcome> outcome;
    QElapsedTimer timer;
    timer.start();
    TaskHandle handle = client.streamTurn(
        "s", {}, AIAction::explain(), QStringLiteral("hv"), [](const ClaudeEvent&) {},
        [&](const TurnOutcome& result) { outcome = result; });
    *ok = QTest::qWaitFor([&] { return outcome.has_value(); }, 120000) && std::holds_alternative<TurnResult>(*outcome);
    return timer.nsecsElapsed() / 1e6;
}

// Qt's HTTP stack alone: the same request through the network manager, every byte read and
// dropped, nothing decoded.
double timeQtRead(const QUrl& baseUrl, QNetworkAccessManager& network)
{
    QNetworkRequest request(baseUrl.resolved(QUrl(QStringLiteral("api/ai/messages"))));
    request.setHeader(QNetworkRequest::ContentTypeHeader, QStringLiteral("application/json"));
    QElapsedTimer timer;
    timer.start();
    QNetworkReply* reply = network.post(request, QByteArray("{}"));
    qsizetype bytes = 0;
    QObject::connect(reply, &QNetworkReply::readyRead, reply, [&] { bytes += reply->readAll().size(); });
    if (!QTest::qWaitFor([&] { return reply->isFinished(); }, 120000))
        bytes = 0;
    bytes += reply->readAll().size();
    const double ms = timer.nsecsElapsed() / 1e6;
    reply->deleteLater();
    return bytes > 0 ? ms : -1;
}

// With HALVORA_SDK_CONSUMER set (scripts/bench-decoding does), the same stream from the same
// relay consumed by the reference SDK in node; its time in ms, or a negative value.
double timeSdk(const QUrl& baseUrl)
{
    const QString script = qEnvironmentVariable("HALVORA_SDK_CONSUMER");
    if (script.isEmpty())
        return -1;
    QProcess node;
    node.start(QStringLiteral("node"), {script, baseUrl.toString(QUrl::StripTrailingSlash)});
    if (!node.waitForFinished(300000) || node.exitCode() != 0) {
        std::printf("reference SDK failed: %s\n", node.readAllStandardError().left(400).constData());
        return -1;
    }
    return node.readAllStandardOutput().split(' ').value(0).toDouble();
}

// A bare HTTP client that reads the whole response and does nothing with it.
double timeBareRead(int port)
{
    QTcpSocket socket;
    QElapsedTimer timer;
    timer.start();
    socket.connectToHost(QHostAddress::LocalHost, quint16(port));
    if (!socket.waitForConnected(5000))
        return -1;
    socket.write("POST /api/ai/messages HTTP/1.1\r\nHost: 127.0.0.1\r\nConnection: close\r\n"
                 "Content-Type: application/json\r\nContent-Length: 2\r\n\r\n{}");
    qsizetype bytes = 0;
    while (socket.waitForReadyRead(10000))
        bytes += socket.readAll().size();
    return bytes > 0 ? timer.nsecsElapsed() / 1e6 : -1;
}

void timeTurn(int deltas)
{
    const QByteArray events = RelayScenario::formatEvents(textEvents(deltas));
    RelayScenario scenario;
    for (int run = 0; run < kRuns; ++run) {
        for (int consumer = 0; consumer < 3; ++consumer)
            scenario.addRawStream(events);
        scenario.addRawStream(events, {}, QStringLiteral("v1/messages"));
    }
    RelayProcess relay;
    if (!relay.startScenario(scenario.dir())) {
        std::printf("relay did not start: %s\n", qPrintable(relay.startMessage()));
        return;
    }
    QNetworkAccessManager network;
    QList<double> ours, sdk, bare, qtRead;
    bool ok = true;
    for (int run = 0; run < kRuns; ++run) {
        bool turnOk = false;
        ours << timeOurs(relay.baseUrl(), network, &turnOk);
        ok = ok && turnOk;
        bare << timeBareRead(relay.port());
        qtRead << timeQtRead(relay.baseUrl(), network);
        if (const double ms = timeSdk(relay.baseUrl()); ms > 0)
            sdk << ms;
    }
    std::printf("%d deltas, %.2f MB of events (median of %d runs):\n", deltas, events.size() / 1e6, kRuns);
    std::printf("  turn over loopback (streamTurn to its result): %7.1f ms (%s)\n", median(ours), ok ? "ok" : "failed");
    std::printf("  Qt's HTTP stack reading it, nothing decoded:   %7.1f ms\n", median(qtRead));
    std::printf("  bare HTTP read of the same stream (the relay):  %7.1f ms\n", median(bare));
    if (!sdk.isEmpty())
        std::printf("  reference TypeScript SDK (messages.stream):    %7.1f ms; ratio %.1fx\n", median(sdk),
                    median(sdk) / median(ours));
}

// The client's own decoding of the same bytes without the network: line splitting, then each
// data line as StreamRequest takes it (text deltas read directly, other events parsed).
void timeDecodingOnly(int deltas)
{
    const QByteArray events = RelayScenario::formatEvents(textEvents(deltas));
    qsizetype textLength = 0;
    StreamAccumulator accumulator([&](const ClaudeEvent& event) { textLength += event.text.size(); });
    StreamLineReader lines;
    QElapsedTimer timer;
    timer.start();
    const auto handleLine = [&](QByteArrayView line) {
        if (!line.startsWith("data:"))
            return true;
        const QByteArrayView payload = line.sliced(5).trimmed();
        if (const std::optional<TextDeltaEvent> delta = TextDeltaEvent::scan(payload))
            accumulator.appendText(delta->index, delta->text);
        else
            accumulator.handle(JsonText::parse(payload.toByteArray())->toObject());
        return true;
    };
    for (qsizetype at = 0; at < events.size(); at += 16384)
        lines.feed(QByteArrayView(events).sliced(at, qMin<qsizetype>(16384, events.size() - at)), handleLine);
    lines.finish(handleLine);
    const QList<QJsonObject> content = accumulator.orderedContent();
    std::printf("decoding only: %d deltas, %.2f MB: %.1f ms\n", deltas, events.size() / 1e6,
                timer.nsecsElapsed() / 1e6);
}

// The first text delta written alone after a pause, to its textDelta callback, over real HTTP.
void timeFirstDeltaLatency(int runs)
{
    const QList<QJsonObject> events = textEvents(3);
    const QByteArray before = RelayScenario::formatEvents(events.mid(0, 2));
    const QByteArray first = RelayScenario::formatEvents(events.mid(2, 1));
    const QByteArray after = RelayScenario::formatEvents(events.mid(3));
    QNetworkAccessManager network;
    QList<double> latencies;
    for (int run = 0; run < runs; ++run) {
        FirstDeltaServer server(before, first, after);
        ClaudeClient client(server.baseUrl(), nullptr, &network);
        std::optional<std::chrono::steady_clock::time_point> seen;
        bool done = false;
        TaskHandle handle = client.streamTurn(
            "s", {}, AIAction::explain(), QStringLiteral("hv"),
            [&](const ClaudeEvent& event) {
                if (event.kind == ClaudeEvent::Kind::TextDelta && !seen)
                    seen = std::chrono::steady_clock::now();
            },
            [&](const TurnOutcome&) { done = true; });
        if (!QTest::qWaitFor([&] { return done; }, 10000) || !seen)
            continue;
        latencies << std::chrono::duration<double, std::milli>(*seen - server.firstDeltaSent()).count();
    }
    std::sort(latencies.begin(), latencies.end());
    if (latencies.isEmpty())
        return;
    std::printf("first text delta written to the socket -> its textDelta callback: median %.3f ms, 90th percentile "
                "%.3f ms, worst %.3f ms (%lld runs)\n",
                median(latencies), latencies[latencies.size() * 9 / 10], latencies.last(), qlonglong(latencies.size()));
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    timeTurn(20000);
    timeTurn(80000);
    timeDecodingOnly(20000);
    timeDecodingOnly(80000);
    timeFirstDeltaLatency(20);
    return 0;
}
