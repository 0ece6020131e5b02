// A 100 KB Markdown answer arriving as 20,000 deltas, one a millisecond (a 20 second answer),
// into a visible result panel that updates at most once a frame. Prints the main thread's time
// per panel update near the end of the answer (95th percentile of the last 100 updates) and its
// time in total over the whole answer (every delta included), for the panel's incremental update
// and for a full re-render of the answer at every update (sampled: 20 updates spread over the
// answer and the last 5, as it is far too slow to run in full). Then the same figures for the
// incremental update of answers that are one long paragraph (10 and 20 KB, 5 characters a
// delta), where the block that changes at every update is the whole answer, and of a 20 KB
// paragraph without a single line break.
#include "LongParagraph.h"
#include "platform/MemoryPreferences.h"
#include "platform/fake/FakeClock.h"
#include "result/ResultView.h"
#include "result/TurnView.h"
#include "settings/WritingModeStore.h"
#include "ui/FloatingPanel.h"
#include "ui/MarkdownView.h"

#include <QApplication>
#include <QElapsedTimer>
#include <algorithm>
#include <cstdio>

namespace {

int deltaCount = 20000;
constexpr int answerBytes = 100 * 1024;

QString makeAnswer()
{
    const QStringList pieces = {
        QStringLiteral("## Section heading\n\n"),
        QStringLiteral("A paragraph with **strong** and *emphasised* words, a `code span` and a "
                       "[link](https://example.com/page). It goes on for a while so that lines wrap.\n\n"),
        QStringLiteral("- a bullet item with some text\n  - a nested item\n- another item\n\n"),
        QStringLiteral("1. first step\n2. second step\n\n"),
        QStringLiteral("```\nint main() {\n    return 0;\n}\n```\n\n"),
    };
    QString answer;
    for (int i = 0; answer.size() < answerBytes; ++i)
        answer += pieces[i % pieces.size()];
    return answer.left(answerBytes);
}

double percentile(QList<double> values, double fraction)
{
    std::sort(values.begin(), values.end());
    return values[std::min<qsizetype>(values.size() - 1, qsizetype(fraction * values.size()))];
}

struct Panel {
    FakeClock clock;
    MemoryPreferences defaults;
    WritingModeStore modes{defaults};
    FloatingPanel panel{QSize(440, 480), true, true};
    ResultView* view;
    ResultViewData data;

    Panel()
    {
        data.action = AIAction::explain();
        data.selectionText = QStringLiteral("idempotent");
        data.appName = QStringLiteral("Editor");
        data.isStreaming = true;
        data.status = QStringLiteral("Thinking…");
        data.turns = {{}};
        view = new ResultView(data, clock, modes, {});
        panel.setContentWidget(view);
        panel.show();
        QApplication::processEvents();
    }

    // One delta as the panel takes it: new data, then, when a frame is due, the answer's view
    // updated (in place, or rebuilt from scratch), laid out and painted. Returns the time taken
    // and whether the view was updated.
    std::pair<double, bool> deliver(const QString& answer, bool fullRender)
    {
        QElapsedTimer timer;
        timer.start();
        data.turns.last().answer = answer;
        view->setData(data);
        MarkdownView* markdown = view->turnViews().last()->markdownView();
        const int before = markdown->blockUpdates();
        if (fullRender)
            markdown->rebuild();
        else
            clock.advance(1);
        const bool updated = fullRender || markdown->blockUpdates() != before;
        if (updated)
            QApplication::processEvents();
        return {timer.nsecsElapsed() / 1e6, updated};
    }
};

void report(const char* name, const QList<double>& nearEnd, double totalMs, const char* note)
{
    std::printf("%-26s p95 near the end %8.2f ms   total %9.1f ms%s\n", name, percentile(nearEnd, 0.95), totalMs, note);
    std::fflush(stdout);
}

struct Stream {
    QList<double> updates;
    double totalMs = 0;
};

// Delivers the answer in `deltaCount` deltas of equal size to a fresh panel, updating in place.
Stream streamIncrementally(const QString& answer, int deltaCount)
{
    Panel panel;
    Stream stream;
    const int step = int(answer.size() / deltaCount);
    for (int i = 1; i <= deltaCount; ++i) {
        const auto [ms, updated] = panel.deliver(answer.left(i == deltaCount ? answer.size() : i * step), false);
        stream.totalMs += ms;
        if (updated)
            stream.updates.append(ms);
    }
    return stream;
}

void streamParagraph(int kilobytes, bool lineBreaks, const char* note)
{
    const QString answer = longParagraph(kilobytes * 1024, lineBreaks);
    const Stream stream = streamIncrementally(answer, int(answer.size() / 5));
    const QByteArray name = "paragraph " + QByteArray::number(kilobytes) + " KB" +
                            (lineBreaks ? "" : " without line breaks") + ", " +
                            QByteArray::number(stream.updates.size()) + " updates";
    report(name.constData(), stream.updates.mid(stream.updates.size() - 100), stream.totalMs, note);
}

void streamParagraphs()
{
    streamParagraph(10, true, "");
    streamParagraph(20, true, "   (goal: p95 under 8 ms)");
    streamParagraph(20, false, "   (no line break to cut at)");
}

} // namespace

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    // A shorter run for a quick look: bench_resultstreaming DELTAS (the answer stays 100 KB);
    // bench_resultstreaming paragraphs: the long paragraphs only.
    const QString mode = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QString();
    if (mode == u"paragraphs") {
        streamParagraphs();
        return 0;
    }
    if (!mode.isEmpty())
        deltaCount = qMax(1000, mode.toInt());
    const QString answer = makeAnswer();
    const int step = answer.size() / deltaCount;
    std::printf("answer %lld characters in %d deltas of %d\n", qlonglong(answer.size()), deltaCount, step);
    std::fflush(stdout);

    const Stream stream = streamIncrementally(answer, deltaCount);
    const QList<double>& updates = stream.updates;
    std::printf("%lld panel updates for %d deltas\n", qlonglong(updates.size()), deltaCount);
    report("incremental update", updates.mid(updates.size() - 100), stream.totalMs, "");

    // The full re-render makes as many updates; each is timed on a sample and the total estimated.
    Panel full;
    QList<double> samples;
    QList<double> fullNearEnd;
    constexpr int sampleCount = 20;
    for (int s = 1; s <= sampleCount; ++s)
        samples.append(full.deliver(answer.left(s * (answer.size() / sampleCount)), true).first);
    for (int i = deltaCount - 5; i < deltaCount; ++i)
        fullNearEnd.append(full.deliver(answer.left(i * step), true).first);
    double mean = 0;
    for (const double ms : samples)
        mean += ms / samples.size();
    report("full re-render", fullNearEnd, mean * updates.size(), "   (total estimated from 20 sampled updates)");
    streamParagraphs();
    return 0;
}
