#include "UpstreamProxy.h"

#include "ApiError.h"
#include "EventPump.h"

#include <QJsonDocument>

#include <httplib.h>

#include <condition_variable>
#include <deque>
#include <memory>
#include <mutex>
#include <thread>

namespace {

// The hand-over between the thread that reads the upstream and the relay's response.
struct Transfer {
    std::mutex mutex;
    std::condition_variable changed;
    bool headersReady = false;
    bool finished = false;
    bool cancelled = false;
    int status = 0;
    std::string contentType;
    std::string retryAfter;
    std::deque<std::string> chunks;
    std::unique_ptr<httplib::Client> client;
    std::thread reader;

    void cancel()
    {
        {
            std::lock_guard lock(mutex);
            cancelled = true;
        }
        client->stop();
    }
    void joinReader()
    {
        if (reader.joinable())
            reader.join();
    }
};

void readUpstream(const std::shared_ptr<Transfer>& t, httplib::Request request)
{
    request.response_handler = [t](const httplib::Response& upstream) {
        std::lock_guard lock(t->mutex);
        t->status = upstream.status;
        t->contentType = upstream.get_header_value("Content-Type");
        t->retryAfter = upstream.get_header_value("Retry-After");
        t->headersReady = true;
        t->changed.notify_all();
        return !t->cancelled;
    };
    request.content_receiver = [t](const char* data, size_t size, uint64_t, uint64_t) {
        std::lock_guard lock(t->mutex);
        t->chunks.emplace_back(data, size);
        t->changed.notify_all();
        return !t->cancelled;
    };
    httplib::Response response;
    httplib::Error error = httplib::Error::Success;
    t->client->send(request, response, error);
    std::lock_guard lock(t->mutex);
    t->finished = true;
    t->changed.notify_all();
}

// Waits until the upstream has answered with its head or failed; false when the relay stops first.
bool awaitHeaders(Transfer& t, const StreamControl& control)
{
    std::unique_lock lock(t.mutex);
    while (!t.headersReady && !t.finished) {
        if (control.stopping.load())
            return false;
        t.changed.wait_for(lock, std::chrono::milliseconds(20));
    }
    return t.headersReady;
}

// Copies the upstream's next bytes to the client; false ends the response early.
bool relayChunk(Transfer& t, httplib::DataSink& sink, const StreamControl& control)
{
    std::unique_lock lock(t.mutex);
    while (t.chunks.empty() && !t.finished) {
        if (control.stopping.load() || !sink.is_writable())
            return false;
        t.changed.wait_for(lock, std::chrono::milliseconds(20));
    }
    if (t.chunks.empty()) {
        sink.done();
        return true;
    }
    std::string chunk = std::move(t.chunks.front());
    t.chunks.pop_front();
    lock.unlock();
    return sink.write(chunk.data(), chunk.size());
}

void splitUpstream(const std::string& upstream, std::string* origin, std::string* basePath)
{
    auto schemeEnd = upstream.find("://");
    auto pathStart = upstream.find('/', schemeEnd == std::string::npos ? 0 : schemeEnd + 3);
    *origin = upstream.substr(0, pathStart);
    *basePath = pathStart == std::string::npos ? "/" : upstream.substr(pathStart);
    if (basePath->back() != '/')
        *basePath += '/';
}

} // namespace

UpstreamProxy::UpstreamProxy(const std::string& upstream, std::string model, std::string apiKey,
                             StreamControl& control)
    : m_model(std::move(model)), m_apiKey(std::move(apiKey)), m_control(control)
{
    splitUpstream(upstream, &m_origin, &m_basePath);
}

void UpstreamProxy::forward(QJsonObject body, httplib::Response& res)
{
    body.insert("model", QString::fromStdString(m_model));
    auto t = std::make_shared<Transfer>();
    t->client = std::make_unique<httplib::Client>(m_origin);
    t->client->set_connection_timeout(10);
    t->client->set_read_timeout(600);
    t->client->set_tcp_nodelay(true);
    httplib::Request request;
    request.method = "POST";
    request.path = m_basePath + "v1/messages";
    request.headers = {{"x-api-key", m_apiKey},
                       {"anthropic-version", "2023-06-01"},
                       {"accept", "text/event-stream"}};
    request.body = QJsonDocument(body).toJson(QJsonDocument::Compact).toStdString();
    request.set_header("Content-Type", "application/json");
    t->reader = std::thread(readUpstream, t, std::move(request));
    if (!awaitHeaders(*t, m_control)) {
        t->cancel();
        t->joinReader();
        ApiError::sendMessagesError(res, 502, "api_error", "The relay could not reach the model service.");
        return;
    }
    if (t->status == 401 || t->status == 403) {
        t->cancel();
        t->joinReader();
        ApiError::sendMessagesError(res, 502, "api_error",
                                    "The relay's own key for the model service was refused. Tell whoever runs it.");
        return;
    }
    res.status = t->status;
    if (!t->retryAfter.empty())
        res.set_header("Retry-After", t->retryAfter);
    res.set_header("Cache-Control", "no-cache");
    m_control.activeStreams++;
    StreamControl& control = m_control;
    res.set_chunked_content_provider(
        t->contentType.empty() ? "application/octet-stream" : t->contentType,
        [t, &control](size_t, httplib::DataSink& sink) { return relayChunk(*t, sink, control); },
        [t, &control](bool) {
            t->cancel();
            t->joinReader();
            control.activeStreams--;
        });
}
