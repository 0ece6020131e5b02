// Prints the relay's performance figures; asserts nothing.
//   1. GET api/me throughput on loopback, measured by wrk in a second process.
//   2. Time to the first event byte of a demo stream with --pace 0 (goal: under 5 ms).
//   3. Latency the proxy adds to each streamed chunk (goal: under 1 ms), against an upstream
//      in this process that stamps each chunk when it sends it.
#include "RelayProcess.h"

#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <httplib.h>
#include <thread>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

double ms(Clock::duration d)
{
    return std::chrono::duration<double, std::milli>(d).count();
}

void printSpread(const char* what, std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    auto at = [&](double q) { return values[std::min(values.size() - 1, size_t(q * values.size()))]; };
    std::printf("%-44s median %.3f ms  p95 %.3f ms  max %.3f ms  (n=%zu)\n", what, at(0.5), at(0.95), values.back(),
                values.size());
}

std::string modelBody()
{
    return R"({"stream":true,"max_tokens":16000,"messages":[{"role":"user","content":"<selected_text>\nbench\n</selected_text>\n\nExplain this."}]})";
}

void meThroughput(RelayProcess& relay, const QString& token)
{
    const QString wrk = QStandardPaths::findExecutable("wrk");
    if (wrk.isEmpty()) {
        std::printf("api/me throughput: wrk is not installed\n");
        return;
    }
    // The token goes to wrk through a private script file, not its command line.
    QTemporaryDir dir;
    QFile script(dir.filePath("auth.lua"));
    script.open(QIODevice::WriteOnly);
    script.setPermissions(QFile::ReadOwner | QFile::WriteOwner);
    script.write("wrk.headers[\"Authorization\"] = \"Bearer " + token.toUtf8() + "\"\n");
    script.close();
    QProcess run;
    run.start(wrk, {"-t2", "-c16", "-d5s", "--latency", "-s", script.fileName(), relay.url("api/me")});
    run.waitForFinished(30000);
    for (const QByteArray& line : run.readAllStandardOutput().split('\n')) {
        if (line.contains("Requests/sec") || line.contains("Non-2xx") || line.trimmed().startsWith("50%") ||
            line.trimmed().startsWith("99%"))
            std::printf("api/me (wrk -t2 -c16 -d5s): %s\n", line.trimmed().constData());
    }
}

void firstEventByte(RelayProcess& relay, const QString& token)
{
    httplib::Client client("127.0.0.1", relay.port());
    client.set_keep_alive(true);
    client.set_tcp_nodelay(true);
    std::vector<double> samples;
    for (int i = 0; i < 300; ++i) {
        httplib::Request request;
        request.method = "POST";
        request.path = "/api/ai/messages";
        request.headers = {{"Authorization", "Bearer " + token.toStdString()}, {"X-Halvora-Action", "explain"}};
        request.body = modelBody();
        request.set_header("Content-Type", "application/json");
        Clock::time_point first;
        request.content_receiver = [&](const char*, size_t, uint64_t, uint64_t) {
            if (first == Clock::time_point())
                first = Clock::now();
            return true;
        };
        httplib::Response response;
        httplib::Error error;
        const auto start = Clock::now();
        if (client.send(request, response, error) && first != Clock::time_point())
            samples.push_back(ms(first - start));
    }
    if (!samples.empty())
        printSpread("demo stream, first event byte (--pace 0):", samples);
}

// An upstream Messages API in this process: each chunk carries the time it was sent.
struct StampingUpstream {
    static constexpr int chunks = 40;
    httplib::Server server;
    std::thread thread;
    int port = 0;

    void start()
    {
        server.Post("/v1/messages", [](const httplib::Request&, httplib::Response& res) {
            auto sent = std::make_shared<int>(0);
            res.set_chunked_content_provider("text/event-stream", [sent](size_t, httplib::DataSink& sink) {
                if (*sent == chunks) {
                    sink.done();
                    return true;
                }
                if (*sent > 0)
                    std::this_thread::sleep_for(std::chrono::milliseconds(2));
                auto now = Clock::now().time_since_epoch().count();
                std::string event = "event: ping\ndata: {\"type\":\"ping\",\"t\":" + std::to_string(now) + "}\n\n";
                ++*sent;
                return sink.write(event.data(), event.size());
            });
        });
        server.set_tcp_nodelay(true);
        port = server.bind_to_any_port("127.0.0.1");
        thread = std::thread([this] { server.listen_after_bind(); });
    }
    ~StampingUpstream()
    {
        server.stop();
        if (thread.joinable())
            thread.join();
    }
};

// Per chunk: receive time minus the upstream's send stamp, for a stream read from `port`.
std::vector<double> chunkDelays(int port, const std::string& path, const httplib::Headers& headers)
{
    httplib::Client client("127.0.0.1", port);
    client.set_tcp_nodelay(true);
    std::vector<double> delays;
    std::string pending;
    httplib::Request request;
    request.method = "POST";
    request.path = path;
    request.headers = headers;
    request.body = modelBody();
    request.set_header("Content-Type", "application/json");
    request.content_receiver = [&](const char* data, size_t size, uint64_t, uint64_t) {
        auto now = Clock::now().time_since_epoch().count();
        pending.append(data, size);
        size_t end;
        while ((end = pending.find("\n\n")) != std::string::npos) {
            auto stamp = pending.find("\"t\":");
            if (stamp != std::string::npos && stamp < end)
                delays.push_back(double(now - std::stoll(pending.substr(stamp + 4))) / 1e6);
            pending.erase(0, end + 2);
        }
        return true;
    };
    httplib::Response response;
    httplib::Error error;
    client.send(request, response, error);
    return delays;
}

void proxyChunkLatency()
{
    StampingUpstream upstream;
    upstream.start();
    RelayProcess proxy;
    if (!proxy.startProxy(QStringLiteral("http://127.0.0.1:%1/").arg(upstream.port), "bench-model", "bench-key")) {
        std::printf("proxy: %s\n", qPrintable(proxy.startMessage()));
        return;
    }
    const QString token = proxy.signIn();
    std::vector<double> direct, proxied;
    for (int i = 0; i < 10; ++i) {
        auto d = chunkDelays(upstream.port, "/v1/messages", {{"x-api-key", "k"}});
        auto p = chunkDelays(proxy.port(), "/api/ai/messages", {{"Authorization", "Bearer " + token.toStdString()}});
        direct.insert(direct.end(), d.begin(), d.end());
        proxied.insert(proxied.end(), p.begin(), p.end());
    }
    if (direct.empty() || proxied.empty())
        return;
    printSpread("chunk delay, straight from the upstream:", direct);
    printSpread("chunk delay, through the proxy:", proxied);
    std::sort(direct.begin(), direct.end());
    std::sort(proxied.begin(), proxied.end());
    std::printf("%-44s %.3f ms (difference of medians)\n",
                "proxy's added latency per chunk:", proxied[proxied.size() / 2] - direct[direct.size() / 2]);
}

} // namespace

int main()
{
    std::setvbuf(stdout, nullptr, _IOLBF, 0);
    RelayProcess relay;
    if (!relay.startDemo()) {
        std::printf("could not start the relay: %s\n", qPrintable(relay.startMessage()));
        return 1;
    }
    const QString token = relay.signIn();
    meThroughput(relay, token);
    firstEventByte(relay, token);
    proxyChunkLatency();
    return 0;
}
