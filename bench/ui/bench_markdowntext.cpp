// Parses a 1 MB answer with MarkdownText::parse and with md4c (no-op callbacks) in the same run
// and prints the throughput of both and their ratio; then styles single paragraphs of 5 to 80 KB
// with MarkdownText::inlineText and prints the time for each.
#include "LongParagraph.h"
#include "ui/MarkdownText.h"

#include <QByteArray>
#include <QElapsedTimer>
#include <QGuiApplication>
#include <QString>
#include <algorithm>
#include <cstdio>
#include <md4c.h>
#include <vector>

namespace {

constexpr qsizetype targetBytes = 1'000'000;
constexpr int rounds = 40;

// A long answer in the shape the model writes: headings, paragraphs over several lines,
// nested bullets, numbered steps, fenced code and the odd rule.
QByteArray answer()
{
    QByteArray text;
    for (int section = 1; text.size() < targetBytes; ++section) {
        text += "## Section " + QByteArray::number(section) + ": what matters here\n\n";
        text += "The first point is that **strong claims** need *evidence*, and the `config` file\n"
                "says so in plain words. See [the guide](https://example.com/guide) for details,\n"
                "which covers the remaining cases one by one.\n\n";
        text += "- A bullet with some text in it\n  - a nested bullet, a bit deeper\n    - deeper still\n"
                "* another marker style\n+ and the third one\n\n";
        for (int step = 1; step <= 4; ++step)
            text += QByteArray::number(step) + ". Step number " + QByteArray::number(step) + " of the plan\n";
        text += "\n```cpp\nint main()\n{\n    return run(argc, argv);\n}\n\n// trailing comment\n```\n\n";
        text += "A closing paragraph with 3.14 in it and #hashtags that stay text.\n\n---\n\n";
    }
    return text;
}

int noBlock(MD_BLOCKTYPE, void*, void*)
{
    return 0;
}
int noSpan(MD_SPANTYPE, void*, void*)
{
    return 0;
}
int noText(MD_TEXTTYPE, const MD_CHAR*, MD_SIZE, void*)
{
    return 0;
}

struct Timing {
    double best;
    double median;
};

Timing summary(std::vector<double> times)
{
    std::sort(times.begin(), times.end());
    return {times.front(), times[times.size() / 2]};
}

// Runs parse repeatedly; what it returns is dropped only after the clock has been read, so the
// figure is the parse alone, while dropped adds the time spent freeing the result.
// Stops early, after at least one round, once the rounds have taken `budgetMs` together.
template <typename Parse> Timing time(Parse parse, Timing* dropped = nullptr, double budgetMs = 1e9)
{
    std::vector<double> times;
    std::vector<double> withDrop;
    QElapsedTimer timer;
    double spentMs = 0;
    for (int i = 0; i < rounds && spentMs < budgetMs; ++i) {
        timer.start();
        {
            [[maybe_unused]] const auto result = parse();
            times.push_back(double(timer.nsecsElapsed()) / 1e9);
        }
        withDrop.push_back(double(timer.nsecsElapsed()) / 1e9);
        spentMs += withDrop.back() * 1e3;
    }
    if (dropped)
        *dropped = summary(withDrop);
    return summary(times);
}

void print(const char* what, const Timing& timing, double megabytes)
{
    std::printf("%-42s best %7.3f ms = %6.1f MB/s, median %7.3f ms = %6.1f MB/s\n", what, timing.best * 1e3,
                megabytes / timing.best, timing.median * 1e3, megabytes / timing.median);
}

// One paragraph styled whole, as a block view does at every update of a streamed answer.
void styleParagraphs()
{
    std::printf("\nstyling one paragraph with MarkdownText::inlineText (goal: 80 KB under 50 ms)\n");
    for (const int kilobytes : {5, 10, 20, 40, 80}) {
        const QString paragraph = longParagraph(kilobytes * 1024);
        const Timing timing = time([&] { return MarkdownText::inlineText(paragraph); }, nullptr, 5000);
        std::printf("paragraph %2d KB                 best %8.2f ms, median %8.2f ms\n", kilobytes, timing.best * 1e3,
                    timing.median * 1e3);
        std::fflush(stdout);
    }
}

} // namespace

int main(int argc, char* argv[])
{
    // Styling picks the code font, which needs a GUI application; no display is needed.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);

    const QByteArray utf8 = answer();
    const QString markdown = QString::fromUtf8(utf8);
    const qsizetype blocks = MarkdownText::parse(markdown).size();
    // The machine is shared: the best round shows the code's own speed, the median what a busy
    // machine gives.
    Timing oursFreed{};
    const Timing ours = time([&] { return MarkdownText::parse(markdown); }, &oursFreed);

    const MD_PARSER parser{0, 0, noBlock, noBlock, noSpan, noSpan, noText, nullptr, nullptr};
    const Timing md4c = time([&] { return md_parse(utf8.constData(), MD_SIZE(utf8.size()), &parser, nullptr); });

    const double megabytes = double(utf8.size()) / 1e6;
    std::printf("input: %lld bytes of UTF-8, %lld blocks; %d rounds each\n", static_cast<long long>(utf8.size()),
                static_cast<long long>(blocks), rounds);
    print("MarkdownText::parse (goal: 200 MB/s)", ours, megabytes);
    print("MarkdownText::parse + freeing the blocks", oursFreed, megabytes);
    print("md4c md_parse with no-op callbacks", md4c, megabytes);
    std::printf("ratio md4c time / parse time:            best %.2fx, median %.2fx (goal: at least 1.00x)\n",
                md4c.best / ours.best, md4c.median / ours.median);
    std::printf("ratio md4c time / parse + freeing time:  best %.2fx, median %.2fx\n", md4c.best / oursFreed.best,
                md4c.median / oursFreed.median);
    std::fflush(stdout);
    styleParagraphs();
    return 0;
}
