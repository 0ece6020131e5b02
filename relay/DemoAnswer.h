#pragma once

#include "MessagesRequest.h"

#include <QJsonArray>
#include <QJsonObject>
#include <QString>

#include <string>
#include <vector>

// The offline demo's answers: deterministic Messages API event streams built from the
// request, each saying plainly that it comes from the demo. A rewrite returns a copy of the
// selection transformed by the style named in the system prompt; a request carrying the web
// search tool gets a search call, three made-up results and a cited answer; anything else
// gets a short Markdown answer.
namespace DemoAnswer {

// The whole event stream, one SSE event per element.
std::vector<std::string> events(const MessagesRequest& request, const std::string& action);
// The rewrite of `selection` for the instruction found in `system`.
QString rewrite(const QString& selection, const QString& system);
// Splits text into the small pieces the demo streams.
std::vector<QString> pieces(const QString& text);

} // namespace DemoAnswer
