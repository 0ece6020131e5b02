// Reading the selection where real applications keep it: a web page's paragraphs behind
// embedded-object placeholders (Firefox ESR, Chromium), a text view below a tree that marks
// nothing as showing and knows no screen coordinates (GTK 4's text editor), a paragraph below
// focused panels (LibreOffice Writer), a text node below a focused filler (KWrite), a text
// field's own selection below a web document (Firefox ESR, Chromium). Each
// application starts once. Every row selects words, reads them through the platform and the
// selection reader, and double-clicks the middle of the rectangle read, which must select the
// word under it again: the rectangle lies on the words.
#include "AtspiProbe.h"
#include "DesktopDriver.h"
#include "platform/Platform.h"
#include "platform/linux/AtspiElement.h"
#include "platform/linux/LinuxPlatform.h"
#include "selection/SelectionReader.h"
#include "support/TestRows.h"

#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <QUrl>
#include <atspi/atspi.h>
#include <map>
#include <unistd.h>

using namespace DesktopDriver;

namespace {

const char* const page = R"(<!doctype html><html><head><meta charset="utf-8"><title>Reach page</title></head>
<body style="font-size:24px"><h1>Reading test</h1>
<p>The quick brown fox jumps over the lazy dog.</p>
<p>Second paragraph with a <a href="#here">link inside</a> the text.</p>
<textarea rows="2" cols="30">Field words for the search</textarea></body></html>
)";
// A LibreOffice profile that opens the document without its first-run tip over it.
const char* const officePreferences =
    "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
    "<oor:items xmlns:oor=\"http://openoffice.org/2001/registry\">\n"
    "<item oor:path=\"/org.openoffice.Office.Common/Misc\"><prop oor:name=\"ShowTipOfTheDay\" oor:op=\"fuse\">"
    "<value>false</value></prop></item>\n"
    "<item oor:path=\"/org.openoffice.Office.Common/Misc\"><prop oor:name=\"FirstRun\" oor:op=\"fuse\">"
    "<value>false</value></prop></item>\n"
    "</oor:items>\n";
// LibreOffice reaches the accessibility bus through its GTK 3 backend only.
const char* const writerBackend = "/usr/lib/libreoffice/program/libvclplug_gtk3lo.so";
const char* const document = "The quick brown fox jumps over the lazy dog.\nSecond line of plain text.\n";
const char* const firefoxPreferences = R"(user_pref("browser.startup.homepage_override.mstone", "ignore");
user_pref("browser.startup.page", 0);
user_pref("browser.shell.checkDefaultBrowser", false);
user_pref("browser.aboutwelcome.enabled", false);
user_pref("datareporting.policy.dataSubmissionEnabled", false);
user_pref("toolkit.telemetry.reportingpolicy.firstRun", false);
)";

bool startsWith(AtspiAccessible* element, const QString& prefix)
{
    AtspiText* text = atspi_accessible_get_text_iface(element);
    if (!text)
        return false;
    gchar* start = atspi_text_get_text(text, 0, int(prefix.size()), nullptr);
    g_object_unref(text);
    const bool same = start && QString::fromUtf8(start) == prefix;
    g_free(start);
    return same;
}

// The process id of the first application on the accessibility bus with this name; 0 when none.
qint32 applicationNamed(const QString& name)
{
    atspi_init();
    AtspiAccessible* desktop = atspi_get_desktop(0);
    qint32 pid = 0;
    const gint count = atspi_accessible_get_child_count(desktop, nullptr);
    for (gint i = 0; i < count && !pid; ++i) {
        AtspiAccessible* application = atspi_accessible_get_child_at_index(desktop, i, nullptr);
        if (!application)
            continue;
        gchar* own = atspi_accessible_get_name(application, nullptr);
        if (own && QString::fromUtf8(own) == name)
            pid = qint32(atspi_accessible_get_process_id(application, nullptr));
        g_free(own);
        g_object_unref(application);
    }
    g_object_unref(desktop);
    return pid;
}

// Drops the element's selected ranges: a page may hold several at once, and only the first counts.
void unselect(const AtspiProbe::Ref& element)
{
    AtspiText* text = element ? atspi_accessible_get_text_iface(element.get()) : nullptr;
    if (!text)
        return;
    for (gint i = atspi_text_get_n_selections(text, nullptr) - 1; i >= 0; --i)
        atspi_text_remove_selection(text, i, nullptr);
    g_object_unref(text);
}

bool selectRange(const AtspiProbe::Ref& element, int from, int to)
{
    AtspiText* text = atspi_accessible_get_text_iface(element.get());
    if (!text)
        return false;
    const bool done = atspi_text_get_n_selections(text, nullptr) > 0
                          ? atspi_text_set_selection(text, 0, from, to, nullptr)
                          : atspi_text_add_selection(text, from, to, nullptr);
    g_object_unref(text);
    return done;
}

} // namespace

class TestAtspiReach : public QObject {
    Q_OBJECT

private:
    struct App {
        std::unique_ptr<QProcess> process;
        qint32 pid = 0;
        unsigned long window = 0;
        AtspiProbe::Ref text; // where the rows select
    };

    QTemporaryDir m_files;
    std::map<QString, App> m_apps;

    std::unique_ptr<QProcess> start(const QString& program, const QStringList& arguments,
                                    const QStringList& environment = {})
    {
        auto process = std::make_unique<QProcess>();
        QProcessEnvironment variables = QProcessEnvironment::systemEnvironment();
        for (const QString& variable : environment)
            variables.insert(variable.section(QLatin1Char('='), 0, 0), variable.section(QLatin1Char('='), 1));
        process->setProcessEnvironment(variables);
        process->setProcessChannelMode(QProcess::ForwardedErrorChannel);
        process->setStandardOutputFile(QProcess::nullDevice());
        // A group of its own, stopped as one (see DesktopDriver::stop).
        process->setChildProcessModifier([] { ::setpgid(0, 0); });
        process->start(program, arguments);
        return process->waitForStarted(5000) ? std::move(process) : nullptr;
    }

    QString file(const QString& name, const QByteArray& contents)
    {
        const QString path = m_files.filePath(name);
        QFile out(path);
        if (!out.open(QIODevice::WriteOnly) || out.write(contents) != contents.size())
            return {};
        return path;
    }

    // Waits (bounded) for the application's element whose text starts with prefix.
    void await(App& app, const QString& prefix, const std::function<qint32()>& pid)
    {
        (void)QTest::qWaitFor(
            [&] {
                app.pid = app.pid ? app.pid : pid();
                app.text = app.pid
                               ? AtspiProbe::find(app.pid, [&](AtspiAccessible* e) { return startsWith(e, prefix); })
                               : nullptr;
                return bool(app.text);
            },
            30000);
        if (app.pid)
            app.window = windowOf(app.pid);
    }

    void select(const QString& name, const QString& how, int from, int to)
    {
        App& app = m_apps[name];
        QVERIFY(activate(app.window));
        if (how == QLatin1String("atspi")) {
            QVERIFY(selectRange(app.text, from, to));
            return;
        }
        // LibreOffice moves the places of its paragraphs to a change of its layout only once the
        // pointer moves over its window, as a user's does before selecting.
        if (name == QLatin1String("writer")) {
            const QString id = QString::number(app.window);
            for (const char* x : {"300", "310"})
                QVERIFY(xdotool({QStringLiteral("mousemove"), QStringLiteral("--window"), id, QLatin1String(x),
                                 QStringLiteral("400")}));
            QTest::qWait(300);
        }
        QStringList combinations{QStringLiteral("ctrl+Home")};
        combinations += QStringList(from, QStringLiteral("Right"));
        combinations += QStringList(to - from, QStringLiteral("shift+Right"));
        keys(combinations);
    }

private Q_SLOTS:
    void initTestCase()
    {
        if (qEnvironmentVariableIsEmpty("DISPLAY"))
            QSKIP("needs an X11 display (run inside scripts/with-session)");
        LinuxPlatform::install();
        QVERIFY2(LinuxPlatform::unavailableReason().isEmpty(), qPrintable(LinuxPlatform::unavailableReason()));
        QVERIFY(m_files.isValid());
        const QString pagePath = file(QStringLiteral("page.html"), page);
        const QString textPath = file(QStringLiteral("plain.txt"), document);
        QVERIFY(QDir(m_files.path()).mkdir(QStringLiteral("profile")));
        QVERIFY(!file(QStringLiteral("profile/user.js"), firefoxPreferences).isEmpty());

        // A fresh profile, kept from its first-run pages; the session's accessibility bus is
        // enough for it to expose the page (no GNOME_ACCESSIBILITY, no sandbox changes).
        m_apps[QStringLiteral("firefox")].process = start(
            QStringLiteral("firefox-esr"), {QStringLiteral("-profile"), m_files.filePath(QStringLiteral("profile")),
                                            QStringLiteral("-no-remote"), QUrl::fromLocalFile(pagePath).toString()});
        // Chromium puts page content on the bus only when forced to; as root it runs unsandboxed.
        QVERIFY(QDir(m_files.path()).mkdir(QStringLiteral("chromium")));
        m_apps[QStringLiteral("chromium")].process =
            start(QStringLiteral("chromium"),
                  {QStringLiteral("--force-renderer-accessibility"), QStringLiteral("--no-sandbox"),
                   QStringLiteral("--no-first-run"),
                   QStringLiteral("--user-data-dir=") + m_files.filePath(QStringLiteral("chromium")),
                   QUrl::fromLocalFile(pagePath).toString()});
        m_apps[QStringLiteral("kwrite")].process = start(QStringLiteral("kwrite"), {textPath});
        m_apps[QStringLiteral("gtk4")].process =
            start(QStringLiteral("gnome-text-editor"), {QStringLiteral("--standalone"), textPath});
        // Without a desktop to follow, LibreOffice picks its bare X11 backend, which has no accessibility.
        // A fresh profile would open its tip of the day over the document, with the keyboard.
        if (QFile::exists(QLatin1String(writerBackend))) {
            QVERIFY(QDir(m_files.path()).mkpath(QStringLiteral("office/user")));
            QVERIFY(!file(QStringLiteral("office/user/registrymodifications.xcu"), officePreferences).isEmpty());
            const QString installation = QStringLiteral("-env:UserInstallation=") +
                                         QUrl::fromLocalFile(m_files.filePath(QStringLiteral("office"))).toString();
            m_apps[QStringLiteral("writer")].process =
                start(QStringLiteral("libreoffice"),
                      {installation, QStringLiteral("--writer"), QStringLiteral("--norestore"), textPath},
                      {QStringLiteral("SAL_USE_VCLPLUGIN=gtk3")});
        }
        for (const auto& [name, app] : m_apps)
            QVERIFY2(app.process, qPrintable(name));

        const auto own = [](App& app) { return [&app] { return qint32(app.process->processId()); }; };
        await(m_apps[QStringLiteral("firefox")], QStringLiteral("The quick"), own(m_apps[QStringLiteral("firefox")]));
        await(m_apps[QStringLiteral("chromium")], QStringLiteral("The quick"),
              [] { return applicationNamed(QStringLiteral("Chromium")); });
        await(m_apps[QStringLiteral("gtk4")], QStringLiteral("The quick"), own(m_apps[QStringLiteral("gtk4")]));
        await(m_apps[QStringLiteral("kwrite")], QStringLiteral("The quick"), own(m_apps[QStringLiteral("kwrite")]));
        if (m_apps.contains(QStringLiteral("writer")))
            await(m_apps[QStringLiteral("writer")], QStringLiteral("The quick"),
                  [] { return applicationNamed(QStringLiteral("soffice")); });
        for (const auto& [name, app] : m_apps)
            QVERIFY2(app.text && app.window, qPrintable(name));
    }

    void cleanupTestCase()
    {
        for (auto& [name, app] : m_apps)
            stop(app.process);
    }

    void readsTheSelection_data()
    {
        QTest::addColumn<QString>("app");
        QTest::addColumn<QString>("how");
        QTest::addColumn<QString>("element"); // how its text starts, for a selection made through AT-SPI
        QTest::addColumn<int>("from");
        QTest::addColumn<int>("to");
        QTest::addColumn<QString>("expected");
        QTest::addColumn<bool>("placed");            // whether there is a rectangle, which is then checked
        QTest::addColumn<QString>("underTheMiddle"); // what a double click there selects (none: no click)

        addRow("firefox: a word of a read-only paragraph", "firefox", "atspi", "The quick", 4, 9, "quick", true,
               "quick");
        addRow("firefox: words around a link", "firefox", "atspi", "Second paragraph", 22, 29, "a link inside the",
               true, "");
        addRow("chromium: a word of a read-only paragraph", "chromium", "atspi", "The quick", 10, 15, "brown", true,
               "brown");
        addRow("gtk4 editor: a word", "gtk4", "keys", "", 10, 15, "brown", true, "brown");
        // KTextEditor reports its characters with no height, shifted left by about the width of
        // its left border: no place is taken from that (the pill goes to the pointer).
        addRow("kwrite: a word below a focused filler", "kwrite", "keys", "", 20, 25, "jumps", false, "");
        addRow("writer: a word", "writer", "keys", "", 16, 19, "fox", true, "fox");
    }
    void readsTheSelection()
    {
        QFETCH(QString, app);
        QFETCH(QString, how);
        QFETCH(QString, element);
        QFETCH(int, from);
        QFETCH(int, to);
        QFETCH(QString, expected);
        QFETCH(bool, placed);
        QFETCH(QString, underTheMiddle);
        if (!m_apps.contains(app))
            QSKIP("LibreOffice's GTK 3 backend (libreoffice-gtk3) is not installed");
        if (!element.isEmpty()) {
            unselect(m_apps[app].text);
            m_apps[app].text =
                AtspiProbe::find(m_apps[app].pid, [&](AtspiAccessible* e) { return startsWith(e, element); });
        }
        select(app, how, from, to);

        std::optional<Selection> selection;
        const auto readText = [&] {
            selection = SelectionReader::read();
            return selection ? selection->text : QStringLiteral("(nothing)");
        };
        QTRY_COMPARE_WITH_TIMEOUT(readText(), expected, 5000);
        if (!placed) {
            QVERIFY(!selection->rect);
            return;
        }
        QVERIFY(selection->rect);
        QVERIFY2(selection->rect->height() >= 8 && selection->rect->height() <= 60,
                 qPrintable(QString::number(selection->rect->height())));
        QVERIFY(selection->rect->width() >= 8);
        // A click on a link would follow it.
        if (underTheMiddle.isEmpty())
            return;
        QTest::qWait(450); // a new click series
        click(selection->rect->center().toPoint(), 2);
        QTRY_COMPARE_WITH_TIMEOUT(readText(), underTheMiddle, 5000);
    }

    // Right after a gesture in a page's text field, a browser may still report its document as
    // focused: the field's own selection is found below the document.
    void findsTheSelectedFieldBelowTheDocument_data()
    {
        QTest::addColumn<QString>("app");
        QTest::addColumn<int>("from");
        QTest::addColumn<int>("to");
        QTest::addColumn<QString>("expected"); // empty: no field is found

        addRow("firefox: words of the field", "firefox", 6, 11, "words");
        addRow("firefox: nothing selected in the field", "firefox", 0, 0, "");
        addRow("chromium: words of the field", "chromium", 6, 11, "words");
        addRow("chromium: nothing selected in the field", "chromium", 0, 0, "");
    }
    void findsTheSelectedFieldBelowTheDocument()
    {
        QFETCH(QString, app);
        QFETCH(int, from);
        QFETCH(int, to);
        QFETCH(QString, expected);
        const App& browser = m_apps[app];
        const auto isField = [](AtspiAccessible* e) { return startsWith(e, QStringLiteral("Field words")); };
        const AtspiProbe::Ref field = AtspiProbe::find(browser.pid, isField);
        const AtspiProbe::Ref document = AtspiProbe::byRole(browser.pid, ATSPI_ROLE_DOCUMENT_WEB);
        QVERIFY(field && document);
        QVERIFY(activate(browser.window));
        unselect(field);
        if (to > from)
            QVERIFY(selectRange(field, from, to));

        AtspiElement element(ATSPI_ACCESSIBLE(g_object_ref(document.get())), std::make_shared<AtspiBudget>());
        element.setMessagingTimeout(SelectionReader::messagingTimeout);
        const auto found = [&] {
            const AccessibilityElementRef below = element.selectedEditableDescendant();
            return below ? below->selectedText().value_or(QStringLiteral("(none)")) : QString();
        };
        QTRY_COMPARE_WITH_TIMEOUT(found(), expected, 5000);
        unselect(field);
    }
};

QTEST_MAIN(TestAtspiReach)
#include "tst_atspireach.moc"
