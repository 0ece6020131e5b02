#pragma once

#include <optional>
#include <string>
#include <utility>
#include <vector>

// One scripted response of scenario mode (the file format is described in SCENARIOS.md):
// a status, headers and either a fixed body or a list of server-sent events replayed with a
// delay, optionally cut off or stalled after some events.
struct ScenarioStep {
    std::string path = "api/ai/messages";
    int status = 200;
    std::vector<std::pair<std::string, std::string>> headers;
    std::string contentType;
    std::string body;
    bool isStream = false;
    std::vector<std::string> events;
    std::string sseFile; // relative file the events come from, loaded by Scenario
    int delayMs = 0;
    int cutAfter = -1;   // drop the connection after this many events
    int stallAfter = -1; // stop sending after this many events, keep the connection open

    // A step from the text of a .json step file.
    static std::optional<ScenarioStep> fromJson(const std::string& text, std::string* error);
    // A step from the text of a .sse step file: status 200 and these events.
    static ScenarioStep fromSse(const std::string& text);
    // Whether `name` is a safe file name relative to the scenario folder.
    static bool isSafeRelativePath(const std::string& name);
};
