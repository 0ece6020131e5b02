// The view model's share of a streamed answer: a turn is fed its text deltas straight into the
// event handler (no network, no view) and the main thread's time for all of them is printed.

#include "conversation/ConversationServices.h"
#include "history/HistoryStore.h"
#include "platform/MemoryPreferences.h"
#include "platform/fake/FakeClock.h"
#include "result/ResultViewModel.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <cstdio>
#include <ctime>

namespace {

double threadCpuMs()
{
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return double(now.tv_sec) * 1000.0 + double(now.tv_nsec) / 1e6;
}

struct Figures {
    double wallMs = 0;
    double cpuMs = 0;
    qsizetype answerLength = 0;
};

Figures applyDeltas(int count, HistoryStore& history, FakeClock& clock)
{
    ClaudeClient::EventHandler onEvent;
    ClaudeClient::Completion onDone;
    ConversationServices services;
    services.history = &history;
    services.clock = &clock;
    services.streamTurn = [&](const QString&, const QJsonArray&, const AIAction&, const std::optional<QString>&,
                              ClaudeClient::EventHandler events, ClaudeClient::Completion done) {
        onEvent = std::move(events);
        onDone = std::move(done);
        return TaskHandle();
    };
    Selection selection;
    selection.text = QStringLiteral("A paragraph to explain.");
    ResultViewModel model(selection, AIAction::explain(), services);
    model.run(std::nullopt);

    const QString piece = QStringLiteral("word ");
    QElapsedTimer wall;
    const double cpuStart = threadCpuMs();
    wall.start();
    for (int i = 0; i < count; ++i)
        onEvent(ClaudeEvent::textDelta(piece));
    Figures figures{double(wall.nsecsElapsed()) / 1e6, threadCpuMs() - cpuStart, model.latestAnswer().size()};
    return figures;
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    Preferences::setInstance(std::make_unique<MemoryPreferences>());
    QTemporaryDir dir;
    FakeClock clock;
    HistoryStore history(dir.filePath(QStringLiteral("History.json")), clock);
    applyDeltas(1000, history, clock); // warm-up
    std::printf("Applying text deltas to one result turn (view model only, goal: 20,000 under 20 ms)\n");
    for (int count : {20000, 80000}) {
        const Figures figures = applyDeltas(count, history, clock);
        std::printf("%6d deltas: %7.2f ms wall, %7.2f ms main-thread CPU, %.1f ns per delta, answer %lld chars\n",
                    count, figures.wallMs, figures.cpuMs, figures.wallMs * 1e6 / count,
                    static_cast<long long>(figures.answerLength));
    }
    return 0;
}
