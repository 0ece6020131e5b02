// Time per selection read over a recorded tree that answers at once: what the reader itself
// costs, so that a real read costs the target application's answers and little else.

#include "platform/fake/FakePlatform.h"
#include "selection/SelectionReader.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

const char* const tree = R"({"applications": [
  {"pid": 501, "focused": "field", "elements": [
    {"id": "window", "role": "Window"},
    {"id": "field", "parent": "window", "role": "TextField", "selectedText": "brown fox",
     "value": "the quick brown fox", "settable": ["Value", "SelectedText"], "bounds": [100, 100, 80, 20]}]},
  {"pid": 502, "focused": "leaf", "elements": [
    {"id": "a4", "role": "TextArea", "selectedText": "deep text", "settable": ["Value"], "bounds": [300, 400, 120, 40]},
    {"id": "a3", "parent": "a4", "role": "Group"},
    {"id": "a2", "parent": "a3", "role": "Group"},
    {"id": "a1", "parent": "a2", "role": "Group"},
    {"id": "leaf", "parent": "a1", "role": "StaticText"}]}]})";

// Median and 95th percentile of batches of reads, in microseconds per read.
void measure(const char* name, FakePlatform& platform, qint32 pid)
{
    platform.workspace->launch(pid, QStringLiteral("App"));
    constexpr int batches = 200;
    constexpr int readsPerBatch = 500;
    std::vector<double> perRead;
    int found = 0;
    for (int batch = 0; batch < batches; ++batch) {
        QElapsedTimer timer;
        timer.start();
        for (int i = 0; i < readsPerBatch; ++i)
            found += SelectionReader::read().has_value();
        perRead.push_back(double(timer.nsecsElapsed()) / readsPerBatch / 1000.0);
    }
    std::sort(perRead.begin(), perRead.end());
    std::printf("%-40s median %6.2f us   p95 %6.2f us   (%d reads, %d found; goal under 50 us)\n", name,
                perRead[batches / 2], perRead[batches * 95 / 100], batches * readsPerBatch, found);
}

} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    FakePlatform platform;
    if (!platform.accessibility->load(tree))
        return 1;
    measure("selection on the focused element", platform, 501);
    measure("selection on the fourth ancestor", platform, 502);
    return 0;
}
