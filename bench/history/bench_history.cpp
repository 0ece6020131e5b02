// Figures for the history file: encoding and writing 1000 conversations off the main thread,
// loading them back, and the main thread's share of an upsert.

#include "common/SafeFile.h"
#include "history/HistoryFile.h"
#include "history/HistoryStore.h"
#include "history/HistoryWriter.h"
#include "platform/fake/FakeClock.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <ctime>
#include <functional>

using Conversation = HistoryStore::Conversation;

namespace {

QString paragraph(int seed)
{
    static const QStringList words =
        QStringLiteral("the report shows that quarterly revenue grew by twelve percent while costs stayed flat, "
                       "which means the team can “invest” in hiring — café naïve 東京 🚀 and ship the new release")
            .split(QLatin1Char(' '));
    QString text;
    for (int i = 0; i < 60; ++i)
        text += words[(seed * 7 + i * 13) % words.size()] + QLatin1Char(' ');
    return text;
}

// About 6 KB of Markdown per conversation: headings, a list, a code block and paragraphs.
QString answer(int seed)
{
    QString text = QStringLiteral("## Summary\n\n") + paragraph(seed) + QStringLiteral("\n\n");
    for (int i = 0; i < 4; ++i)
        text += QStringLiteral("- ") + paragraph(seed + i).left(120) + QLatin1Char('\n');
    text += QStringLiteral("\n```cpp\nint main() {\n    return \"quoted\\\\path\";\n}\n```\n\n");
    for (int i = 0; i < 8; ++i)
        text += paragraph(seed + 10 + i) + QStringLiteral("\n\n");
    return text;
}

Conversation makeConversation(int index, const QDateTime& when)
{
    Conversation conversation;
    conversation.kind = HistoryStore::allKinds()[index % 7];
    conversation.title = HistoryStore::title(paragraph(index), 70);
    conversation.selection = paragraph(index + 3).left(400);
    conversation.appName = QStringLiteral("Text Editor");
    conversation.createdAt = when.addSecs(-index * 600);
    conversation.updatedAt = conversation.createdAt.addSecs(30);
    for (int t = 0; t < 1 + index % 2; ++t) {
        HistoryStore::Turn turn;
        turn.question = t ? std::optional<QString>(QStringLiteral("And what about next year?")) : std::nullopt;
        turn.answer = answer(index + t).left(t ? 1500 : 6000);
        for (int s = 0; s < index % 4; ++s)
            turn.sources.append(
                {QStringLiteral("Source %1").arg(s), QUrl(QStringLiteral("https://example.com/a/%1").arg(s))});
        conversation.turns.append(turn);
    }
    return conversation;
}

double median(QList<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

double threadCpuMs()
{
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return now.tv_sec * 1e3 + now.tv_nsec / 1e6;
}

double timeMs(const std::function<void()>& work)
{
    QElapsedTimer timer;
    timer.start();
    work();
    return timer.nsecsElapsed() / 1e6;
}

} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    QTemporaryDir tmp;
    const QString path = tmp.filePath(QStringLiteral("Halvora/History.json"));
    const QDateTime now = QDateTime::currentDateTimeUtc();
    QList<Conversation> conversations;
    for (int i = 0; i < HistoryStore::maxConversations; ++i)
        conversations.append(makeConversation(i, now));

    const int runs = 15;
    QList<double> encode, write, background, load;
    QByteArray bytes;
    HistoryWriter writer(path);
    for (int run = 0; run < runs; ++run) {
        encode.append(timeMs([&] { bytes = HistoryFile::encode(conversations); }));
        write.append(timeMs([&] { SafeFile::writeAtomically(path, bytes); }));
        background.append(timeMs([&] {
            writer.writeLater([&] { return HistoryFile::encode(conversations); });
            writer.waitForDone();
        }));
        load.append(timeMs([&] { HistoryStore store(path, Clock::system()); }));
    }
    std::printf("history file: %d conversations, %.2f MB\n", int(conversations.size()), bytes.size() / 1048576.0);
    std::printf("encode:                    %7.2f ms (median of %d)\n", median(encode), runs);
    std::printf("atomic write:              %7.2f ms\n", median(write));
    std::printf("encode + write, background:%7.2f ms (goal < 100 ms)\n", median(background));
    std::printf("load (read + decode):      %7.2f ms (goal < 100 ms)\n", median(load));

    FakeClock clock;
    HistoryStore store(path, clock);
    QList<double> upsert, upsertCpu, handOver;
    for (int i = 0; i < 200; ++i) {
        const Conversation changed = makeConversation(i * 5 % 1000, now);
        const double cpuBefore = threadCpuMs();
        upsert.append(timeMs([&] { store.upsert(changed); }));
        upsertCpu.append(threadCpuMs() - cpuBefore);
        if (i % 20 == 0)
            handOver.append(timeMs([&] { clock.advance(HistoryStore::saveDelayMs); }));
    }
    store.flush();
    std::sort(upsert.begin(), upsert.end());
    std::printf("upsert on the main thread: %7.3f ms median, %.3f ms 95th percentile, %.3f ms max (goal < 1 ms)\n",
                median(upsert), upsert[upsert.size() * 95 / 100], upsert.last());
    // Wall-clock outliers on a busy machine are preemption; the thread's own CPU time shows the work.
    std::printf("upsert CPU time on the main thread: %.3f ms max\n",
                *std::max_element(upsertCpu.begin(), upsertCpu.end()));
    std::printf("debounce firing (hand-over to the writer): %.3f ms median\n", median(handOver));
    return 0;
}
