#pragma once

#include <QJsonObject>
#include <QList>
#include <QString>
#include <QUrl>
#include <atomic>
#include <future>
#include <httplib.h>
#include <memory>
#include <string>

class RelayProcess;

// Small helpers for the relay's integration tests: clients, model request bodies and
// decoding of the event streams the relay sends.
namespace RelayTestHttp {

std::unique_ptr<httplib::Client> client(const RelayProcess& relay);
httplib::Headers modelHeaders(const QString& token, const QString& action = QStringLiteral("explain"));
// A model request body with one user message holding the wrapped selection.
std::string modelBody(const QString& selection, const QString& system = QString(), bool webSearch = false);
// The JSON objects of every "data:" line of an event stream (lines that do not parse are skipped).
QList<QJsonObject> dataObjects(const std::string& stream);
// All text deltas joined.
QString streamedText(const QList<QJsonObject>& events);
QJsonObject json(const std::string& body);

// A result without a response, to be assigned later.
inline httplib::Result noResult()
{
    return httplib::Result(nullptr, httplib::Error::Unknown, httplib::Headers{});
}
// A client for any relay address (http:// or https://; `caFile` is trusted for https).
std::unique_ptr<httplib::Client> client(const QUrl& base, const QString& caFile = QString());
// What a browser and the program do to sign in: the login page, its form (with the password
// when one is given) and the code exchange. `page` receives the last page the relay answered
// with; returns the account token, or an empty string when the sign-in did not succeed.
QString signIn(httplib::Client& c, const QString& email, const QString& password = QString(),
               httplib::Result* page = nullptr);
// The first two steps of that: the one-time code the login form gave (empty on failure), for `state`.
QString signInCode(httplib::Client& c, const std::string& state, const QString& email, const QString& password,
                   httplib::Result* page);
httplib::Result exchangeCode(httplib::Client& c, const QString& code, const std::string& state);
// Sends a model request with `token` on a thread of its own; `streaming` turns true at the
// answer's first bytes. The future gives the answer's status, or 0 when the connection broke.
std::future<int> streamInBackground(const QUrl& base, const QString& token, const QString& selection,
                                    std::atomic<bool>& streaming);

} // namespace RelayTestHttp
