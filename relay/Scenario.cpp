#include "Scenario.h"

#include "EventPump.h"

#include <httplib.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>
#include <vector>

namespace fs = std::filesystem;

namespace {

bool readFile(const fs::path& path, std::string* out)
{
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return false;
    std::ostringstream text;
    text << in.rdbuf();
    *out = text.str();
    return true;
}

std::vector<fs::path> stepFiles(const std::string& folder)
{
    std::vector<fs::path> files;
    for (const auto& entry : fs::directory_iterator(folder)) {
        auto ext = entry.path().extension();
        if (entry.is_regular_file() && (ext == ".json" || ext == ".sse"))
            files.push_back(entry.path());
    }
    std::sort(files.begin(), files.end());
    return files;
}

} // namespace

bool Scenario::load(const std::string& folder, std::string* error)
{
    std::error_code ec;
    if (!fs::is_directory(folder, ec)) {
        *error = "scenario folder " + folder + " does not exist";
        return false;
    }
    std::vector<std::pair<fs::path, ScenarioStep>> steps;
    std::set<fs::path> referenced;
    for (const fs::path& file : stepFiles(folder)) {
        std::string text;
        if (!readFile(file, &text)) {
            *error = "cannot read " + file.string();
            return false;
        }
        if (file.extension() == ".sse") {
            steps.emplace_back(file, ScenarioStep::fromSse(text));
            continue;
        }
        auto step = ScenarioStep::fromJson(text, error);
        if (!step) {
            *error = file.filename().string() + ": " + *error;
            return false;
        }
        if (!step->sseFile.empty()) {
            fs::path events = fs::path(folder) / step->sseFile;
            if (!readFile(events, &text)) {
                *error = file.filename().string() + ": cannot read " + step->sseFile;
                return false;
            }
            step->events = ScenarioStep::fromSse(text).events;
            referenced.insert(events.lexically_normal());
        }
        steps.emplace_back(file, std::move(*step));
    }
    std::lock_guard lock(m_mutex);
    for (auto& [file, step] : steps) {
        if (!referenced.count(file.lexically_normal()))
            m_queues[step.path].push_back(std::move(step));
    }
    return true;
}

std::optional<ScenarioStep> Scenario::next(const std::string& path)
{
    std::lock_guard lock(m_mutex);
    auto it = m_queues.find(path);
    if (it == m_queues.end() || it->second.empty())
        return std::nullopt;
    ScenarioStep step = std::move(it->second.front());
    it->second.pop_front();
    return step;
}

std::size_t Scenario::remaining()
{
    std::lock_guard lock(m_mutex);
    std::size_t count = 0;
    for (const auto& [path, queue] : m_queues)
        count += queue.size();
    return count;
}

namespace ScenarioResponse {

void send(const ScenarioStep& step, httplib::Response& res, StreamControl& control)
{
    res.status = step.status;
    for (const auto& [name, value] : step.headers)
        res.set_header(name, value);
    if (!step.isStream) {
        res.set_content(step.body, step.contentType);
        return;
    }
    EventPlan plan{step.events, step.delayMs, step.cutAfter, step.stallAfter};
    EventPump::attach(res, step.contentType, std::move(plan), control);
}

} // namespace ScenarioResponse
