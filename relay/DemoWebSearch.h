#pragma once

#include "MessagesRequest.h"

#include <QString>
#include <string>
#include <vector>

// The offline demo's answer to a request carrying the web search tool: a search call whose
// input arrives in three pieces, three made-up results, a fetch of the first result when the
// request also carries the web fetch tool, and an answer citing the results.
namespace DemoWebSearch {

std::vector<std::string> events(const MessagesRequest& request, const QString& id);

} // namespace DemoWebSearch
