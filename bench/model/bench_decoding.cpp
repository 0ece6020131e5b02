// Prints how long a turn takes to decode a long answer streamed by halvora-relay (scenario
// mode) over loopback, for 20,000 and 80,000 text deltas (about 2 and 9 MB of events), the
// client's decoding alone for the same bytes, and the mean time from a data line reaching
// the decoder to its textDelta callback.

#include "RelayProcess.h"
#include "RelayScenario.h"
#include "model/ClaudeClient.h"
#include "model/JsonText.h"
#include "model/StreamAccumulator.h"
#include "model/StreamLineReader.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QJsonDocument>
#include <QNetworkAccessManager>
#include <QProcess>
#include <QTest>
#include <cstdio>

namespace {

QByteArray stream(int deltas)
{
    QStringList pieces;
    for (int i = 0; i < deltas; ++i)
        pieces << QStringLiteral("w%1 ").arg(i % 1000);
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
    return RelayScenario::formatEvents(events);
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

void timeTurn(int deltas)
{
    const QByteArray events = stream(deltas);
    RelayScenario scenario;
    scenario.addRawStream(events);
    scenario.addRawStream(events, {}, QStringLiteral("v1/messages"));
    RelayProcess relay;
    if (!relay.startScenario(scenario.dir())) {
        std::printf("relay did not start: %s\n", qPrintable(relay.startMessage()));
        return;
    }
    QNetworkAccessManager network;
    ClaudeClient client(relay.baseUrl(), nullptr, &network);
    qsizetype textLength = 0;
    std::optional<TurnOutcome> outcome;
    QElapsedTimer timer;
    timer.start();
    TaskHandle handle = client.streamTurn(
        "s", {}, AIAction::explain(), QStringLiteral("hv"),
        [&](const ClaudeEvent& event) { textLength += event.text.size(); },
        [&](const TurnOutcome& result) { outcome = result; });
    const bool finished = QTest::qWaitFor([&] { return outcome.has_value(); }, 120000);
    const double ms = timer.nsecsElapsed() / 1e6;
    std::printf("turn over loopback: %d deltas, %.1f MB of events, %lld characters: %.1f ms (%s)\n", deltas,
                events.size() / 1e6, static_cast<long long>(textLength), ms,
                finished && std::holds_alternative<TurnResult>(*outcome) ? "ok" : "failed");
    if (const double sdkMs = timeSdk(relay.baseUrl()); sdkMs > 0)
        std::printf("reference TypeScript SDK (messages.stream), same stream and relay: %.1f ms; ratio %.1fx\n", sdkMs,
                    sdkMs / ms);
}

// The client's own share: the same bytes through line splitting, JSON parsing and decoding,
// without the network.
void timeDecodingOnly(int deltas)
{
    const QByteArray events = stream(deltas);
    qsizetype textLength = 0;
    StreamAccumulator accumulator([&](const ClaudeEvent& event) { textLength += event.text.size(); });
    StreamLineReader lines;
    QElapsedTimer timer;
    timer.start();
    const auto handleLine = [&](const QByteArray& line) {
        if (line.startsWith("data:"))
            accumulator.handle(JsonText::parse(line.mid(5).trimmed())->toObject());
        return true;
    };
    for (qsizetype at = 0; at < events.size(); at += 16384)
        lines.feed(events.mid(at, 16384), handleLine);
    lines.finish(handleLine);
    const QList<QJsonObject> content = accumulator.orderedContent();
    std::printf("decoding only: %d deltas, %.1f MB: %.1f ms\n", deltas, events.size() / 1e6,
                timer.nsecsElapsed() / 1e6);
}

void timeDecoderLatency(int deltas)
{
    const QJsonObject start =
        QJsonDocument::fromJson(R"({"type":"content_block_start","index":0,"content_block":{"type":"text","text":""}})")
            .object();
    const QByteArray line =
        R"({"type":"content_block_delta","index":0,"delta":{"type":"text_delta","text":"word and a few more words "}})";
    qint64 total = 0;
    QElapsedTimer timer;
    StreamAccumulator accumulator([&](const ClaudeEvent& event) {
        if (event.kind == ClaudeEvent::Kind::TextDelta)
            total += timer.nsecsElapsed();
    });
    accumulator.handle(start);
    for (int i = 0; i < deltas; ++i) {
        timer.start();
        accumulator.handle(JsonText::parse(line)->toObject());
    }
    std::printf("one data line to its textDelta callback (parse and decode): mean %.2f us over %d lines\n",
                total / 1e3 / deltas, deltas);
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    timeTurn(20000);
    timeTurn(80000);
    timeDecodingOnly(20000);
    timeDecodingOnly(80000);
    timeDecoderLatency(20000);
    return 0;
}
