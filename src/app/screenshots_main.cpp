// Renders the pill and the result panel in their main states, light and dark, to PNG files in
// the folder given as the only argument. Used by scripts/screenshots for the README and for
// looking at the views without a desktop.
#include "app/WindowScreenshots.h"
#include "pill/ActionPillView.h"
#include "platform/MemoryPreferences.h"
#include "platform/fake/FakeClock.h"
#include "result/ResultView.h"
#include "settings/WritingModeStore.h"
#include "ui/FloatingPanel.h"
#include "ui/PaletteAppearanceApplier.h"

#include <QApplication>
#include <QDir>

namespace {

const QString answer =
    QStringLiteral("**Idempotent** means that doing something twice has the same effect as doing it once.\n\n"
                   "## In practice\n- `PUT` and `DELETE` requests are idempotent\n- `POST` usually is not\n"
                   "  - unless it carries an idempotency key\n\n1. Retry safely\n2. Deduplicate on the server\n\n"
                   "```\ncurl -X PUT https://example.com/item/1\n```");

ResultViewData baseData(const AIAction& action)
{
    ResultViewData data;
    data.action = action;
    data.selectionText = QStringLiteral("An idempotent operation can be applied multiple times without changing the "
                                        "result beyond the initial application.");
    data.appName = QStringLiteral("Text Editor");
    data.isEditable = true;
    data.canFollowUp = !action.isRewriting();
    return data;
}

QList<std::pair<QString, ResultViewData>> resultStates()
{
    ResultViewData streaming = baseData(AIAction::explain());
    streaming.turns = {{QString(), answer.left(180), {}}};
    streaming.isStreaming = true;
    streaming.status = QStringLiteral("Thinking…");

    ResultViewData sources = baseData(AIAction::research());
    sources.turns = {
        {QString(),
         answer,
         {{"Idempotence - Wikipedia", QUrl("https://en.wikipedia.org/wiki/Idempotence")},
          {"RFC 9110: HTTP Semantics", QUrl("https://www.rfc-editor.org/rfc/rfc9110")}}},
        {QStringLiteral("Is GET idempotent too?"), QStringLiteral("Yes: `GET` is safe and idempotent."), {}}};

    ResultViewData error = baseData(AIAction::explain());
    error.errorMessage = QStringLiteral("The connection to the server was lost. Check your network and try again.");
    error.errorFix = ResultViewData::Fix::Retry;

    ResultViewData rewrite = baseData(AIAction::rewrite(RewriteStyle::Shorter));
    rewrite.turns = {{QString(),
                      QStringLiteral("An idempotent operation gives the same result however often it "
                                     "is applied."),
                      {}}};
    return {{"result-streaming", streaming},
            {"result-sources", sources},
            {"result-error", error},
            {"result-rewrite", rewrite}};
}

void savePill(const QDir& folder, const QString& name, bool editable, WritingModeStore& modes)
{
    ActionPillView view(editable, false, modes);
    view.adjustSize();
    view.grab().save(folder.filePath(name + QStringLiteral(".png")));
}

void saveResult(const QDir& folder, const QString& name, const ResultViewData& data, WritingModeStore& modes)
{
    FakeClock clock;
    FloatingPanel panel(QSize(440, 480), true, true);
    panel.setContentWidget(new ResultView(data, clock, modes));
    panel.show();
    clock.advance(100);
    QApplication::processEvents();
    panel.grab().save(folder.filePath(name + QStringLiteral(".png")));
}

} // namespace

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QApplication::setStyle(QStringLiteral("Fusion"));
    const QDir folder(argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral("."));
    MemoryPreferences defaults;
    WritingModeStore modes(defaults);
    PaletteAppearanceApplier applier;
    for (const auto& [scheme, suffix] : {std::pair{AppearanceApplier::Scheme::Light, QStringLiteral("-light")},
                                         std::pair{AppearanceApplier::Scheme::Dark, QStringLiteral("-dark")}}) {
        applier.apply(scheme);
        QApplication::processEvents();
        savePill(folder, QStringLiteral("pill-editable") + suffix, true, modes);
        savePill(folder, QStringLiteral("pill-readonly") + suffix, false, modes);
        for (const auto& [name, data] : resultStates())
            saveResult(folder, name + suffix, data, modes);
        WindowScreenshots::save(folder, suffix);
    }
    return 0;
}
