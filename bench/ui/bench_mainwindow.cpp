// The main window over a history of 1000 conversations (about 5 MB of text): the time to show
// it, and the time to apply one search keystroke to the sidebar's list.
#include "history/MainNavigation.h"
#include "mainwindow/MainWindowController.h"
#include "platform/MemoryPreferences.h"
#include "platform/fake/FakePlatform.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QLabel>
#include <QTemporaryDir>
#include <QTextStream>
#include <algorithm>

namespace {

HistoryStore::Conversation conversation(int index, const QDateTime& now)
{
    static const HistoryStore::Kind kinds[] = {HistoryStore::Kind::Chat, HistoryStore::Kind::Rewrite,
                                               HistoryStore::Kind::Explain, HistoryStore::Kind::Research};
    HistoryStore::Conversation c;
    c.kind = kinds[index % 4];
    c.title = QStringLiteral("Conversation %1 about the quarterly report").arg(index);
    c.selection = QStringLiteral("Selected paragraph %1. ").repeated(20);
    c.createdAt = c.updatedAt = now.addSecs(-index * 3600);
    for (int turn = 0; turn < 3; ++turn) {
        c.turns.append(
            HistoryStore::Turn{QUuid::createUuid(),
                               QStringLiteral("Question %1?").arg(turn),
                               QStringLiteral("An answer with some words in it, sentence %1. ").arg(turn).repeated(35),
                               {},
                               false});
    }
    return c;
}

double medianMs(QList<double> samples)
{
    std::sort(samples.begin(), samples.end());
    return samples[samples.size() / 2];
}

} // namespace

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    FakePlatform platform;
    QTemporaryDir dir;
    HistoryStore store(dir.filePath(QStringLiteral("History.json")), platform.clock);
    for (int i = HistoryStore::maxConversations - 1; i >= 0; --i)
        store.upsert(conversation(i, platform.clock.now()));
    qint64 bytes = 0;
    for (const HistoryStore::Conversation& c : store.conversations()) {
        bytes += c.title.size() + c.selection->size();
        for (const HistoryStore::Turn& turn : c.turns)
            bytes += turn.answer.size() + turn.question->size();
    }
    MainNavigation nav;
    MemoryPreferences defaults;
    auto chat = [](const std::optional<HistoryStore::Conversation>&, const QUuid&, QWidget* parent) {
        return new QLabel(parent);
    };
    MainWindowController controller({nav, store, platform.clock, defaults, chat, {}});

    QElapsedTimer timer;
    timer.start();
    controller.show();
    QApplication::processEvents();
    const double showMs = timer.nsecsElapsed() / 1e6;

    QList<double> keystrokes;
    const QString query = QStringLiteral("sentence 2");
    for (int round = 0; round < 5; ++round) {
        for (int length = 1; length <= query.size(); ++length) {
            timer.restart();
            controller.view()->setSearch(query.left(length));
            QApplication::processEvents();
            keystrokes.append(timer.nsecsElapsed() / 1e6);
        }
        controller.view()->setSearch(QString());
    }
    QTextStream out(stdout);
    out << "history: " << store.conversations().size() << " conversations, " << bytes / 1e6
        << " million characters of text\n";
    out << "show the main window: " << showMs << " ms (goal under 200 ms)\n";
    out << "one search keystroke: median " << medianMs(keystrokes) << " ms, worst "
        << *std::max_element(keystrokes.begin(), keystrokes.end()) << " ms (goal under 16 ms)\n";
    return 0;
}
