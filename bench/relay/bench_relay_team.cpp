// Prints, side by side, what one relay on SQLite, one relay on PostgreSQL and two relays
// sharing PostgreSQL serve on this machine; asserts nothing. Two figures each, measured by
// wrk in separate processes (one wrk per relay, the connections split between them):
//   - GET api/me with a valid token, 16 connections;
//   - demo model streams (--pace 0), 64 at once.
// PostgreSQL is a private server started for the run (see tests/relay/PostgresServer.h).
#include "PostgresServer.h"
#include "RelayProcess.h"

#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <cstdio>
#include <memory>
#include <vector>

namespace {

struct Figures {
    double perSecond = 0;
    double p50Ms = 0;
    double p99Ms = 0;
    int failures = 0; // non-2xx answers, socket errors and timeouts
};

double milliseconds(const QString& value, const QString& unit)
{
    double v = value.toDouble();
    return unit == "us" ? v / 1000 : unit == "s" ? v * 1000 : v;
}

Figures parseWrk(const QString& output)
{
    Figures f;
    f.perSecond = QRegularExpression(R"(Requests/sec:\s+([0-9.]+))").match(output).captured(1).toDouble();
    auto p50 = QRegularExpression(R"(\n\s+50%\s+([0-9.]+)(us|ms|s))").match(output);
    auto p99 = QRegularExpression(R"(\n\s+99%\s+([0-9.]+)(us|ms|s))").match(output);
    f.p50Ms = milliseconds(p50.captured(1), p50.captured(2));
    f.failures = QRegularExpression(R"(Non-2xx or 3xx responses:\s+(\d+))").match(output).captured(1).toInt();
    auto socket = QRegularExpression(R"(connect (\d+), read (\d+), write (\d+), timeout (\d+))").match(output);
    for (int i = 1; i <= 4; ++i)
        f.failures += socket.captured(i).toInt();
    f.p99Ms = milliseconds(p99.captured(1), p99.captured(2));
    return f;
}

// The request wrk sends, in a private script file so that the token stays off command lines.
QString writeScript(const QTemporaryDir& dir, const QString& token, bool stream)
{
    QFile script(dir.filePath(stream ? "stream.lua" : "me.lua"));
    script.open(QIODevice::WriteOnly);
    script.setPermissions(QFile::ReadOwner | QFile::WriteOwner);
    script.write("wrk.headers[\"Authorization\"] = \"Bearer " + token.toUtf8() + "\"\n");
    if (stream)
        script.write("wrk.method = \"POST\"\n"
                     "wrk.headers[\"Content-Type\"] = \"application/json\"\n"
                     "wrk.body = '{\"stream\":true,\"max_tokens\":16000,\"messages\":[{\"role\":\"user\","
                     "\"content\":\"<selected_text>\\nbench\\n</selected_text>\\n\\nExplain this.\"}]}'\n");
    return script.fileName();
}

// Runs one wrk per relay at the same time; adds up the rates and keeps the worst percentiles.
Figures measure(const std::vector<RelayProcess*>& relays, const QString& script, const QString& path, int connections)
{
    const QString wrk = QStandardPaths::findExecutable("wrk");
    std::vector<std::unique_ptr<QProcess>> runs;
    const int each = connections / int(relays.size());
    for (RelayProcess* relay : relays) {
        auto run = std::make_unique<QProcess>();
        run->start(wrk, {"-t2", "-c" + QString::number(each), "-d5s", "--timeout", "10s", "--latency", "-s", script,
                         relay->url(path)});
        runs.push_back(std::move(run));
    }
    Figures total;
    for (auto& run : runs) {
        run->waitForFinished(60000);
        Figures f = parseWrk(QString::fromUtf8(run->readAllStandardOutput()));
        total.perSecond += f.perSecond;
        total.p50Ms = std::max(total.p50Ms, f.p50Ms);
        total.p99Ms = std::max(total.p99Ms, f.p99Ms);
        total.failures += f.failures;
    }
    return total;
}

struct Setup {
    const char* name;
    QString db; // empty: each relay's own SQLite file
    int relays;
};

void runSetup(const Setup& setup, const QTemporaryDir& dir)
{
    std::vector<std::unique_ptr<RelayProcess>> relays;
    std::vector<RelayProcess*> serving;
    QStringList args{"--pace", "0", "--max-streams", "0", "--requests-per-minute", "0"};
    if (!setup.db.isEmpty())
        args << "--db" << setup.db;
    for (int i = 0; i < setup.relays; ++i) {
        relays.push_back(std::make_unique<RelayProcess>());
        if (!relays.back()->start(args)) {
            std::printf("%-24s could not start: %s\n", setup.name, qPrintable(relays.back()->startMessage()));
            return;
        }
        serving.push_back(relays.back().get());
    }
    const QString token = serving.front()->signIn();
    Figures me = measure(serving, writeScript(dir, token, false), "api/me", 16);
    Figures streams = measure(serving, writeScript(dir, token, true), "api/ai/messages", 64);
    std::printf("%-24s %10.0f %8.2f %8.2f   %10.0f %8.2f %8.2f\n", setup.name, me.perSecond, me.p50Ms, me.p99Ms,
                streams.perSecond, streams.p50Ms, streams.p99Ms);
    if (me.failures + streams.failures > 0)
        std::printf("%-24s %d failed api/me requests, %d failed streams\n", "", me.failures, streams.failures);
}

} // namespace

int main()
{
    std::setvbuf(stdout, nullptr, _IOLBF, 0);
    if (QStandardPaths::findExecutable("wrk").isEmpty()) {
        std::printf("wrk is not installed\n");
        return 1;
    }
    PostgresServer postgres;
    QString error;
    if (!postgres.start(&error)) {
        std::printf("could not start PostgreSQL: %s\n", qPrintable(error));
        return 1;
    }
    QTemporaryDir dir;
    std::printf("%-24s %10s %8s %8s   %10s %8s %8s\n", "", "api/me/s", "p50 ms", "p99 ms", "streams/s", "p50 ms",
                "p99 ms");
    std::printf("%-24s %28s   %28s\n", "", "(16 connections)", "(64 demo streams at once)");
    for (const Setup& setup : {Setup{"SQLite, 1 relay", QString(), 1}, Setup{"PostgreSQL, 1 relay", postgres.url(), 1},
                               Setup{"PostgreSQL, 2 relays", postgres.url(), 2}})
        runSetup(setup, dir);
    return 0;
}
