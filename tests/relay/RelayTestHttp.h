#pragma once

#include <QJsonObject>
#include <QList>
#include <QString>

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

} // namespace RelayTestHttp
