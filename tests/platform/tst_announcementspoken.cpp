// Announcements as a screen reader receives them on the accessibility bus: a description change
// of the focused widget whose value is the message itself (Qt's own event carries the object,
// which screen readers cannot speak), repeated messages included.
#include "ui/AccessibleAnnouncement.h"

#include <QAccessible>
#include <QPushButton>
#include <QTest>
#include <QVBoxLayout>
#include <atspi/atspi.h>

namespace {

struct Heard {
    QString source;
    QString text;
};

QList<Heard> heard;

void onDescriptionChange(AtspiEvent* event, void*)
{
    if (!G_VALUE_HOLDS_STRING(&event->any_data))
        return;
    // The object's path, not its name: asking this very process for the name would wait for
    // an answer it cannot give while it is in this callback.
    const QString path = QString::fromUtf8(ATSPI_OBJECT(event->source)->path);
    heard.append({path, QString::fromUtf8(g_value_get_string(&event->any_data))});
    g_boxed_free(ATSPI_TYPE_EVENT, event);
}

QString pathOf(QWidget* widget)
{
    return QStringLiteral("/org/a11y/atspi/accessible/") +
           QString::number(QAccessible::uniqueId(QAccessible::queryAccessibleInterface(widget)));
}

QStringList textsFor(const QString& source)
{
    QStringList texts;
    for (const Heard& one : heard) {
        if (one.source == source && !one.text.isEmpty())
            texts.append(one.text);
    }
    return texts;
}

} // namespace

class TestAnnouncementSpoken : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY(atspi_init() >= 0);
        m_listener = atspi_event_listener_new(onDescriptionChange, nullptr, nullptr);
        QVERIFY(atspi_event_listener_register(m_listener, "object:property-change:accessible-description", nullptr));
    }

    void cleanupTestCase()
    {
        atspi_event_listener_deregister(m_listener, "object:property-change:accessible-description", nullptr);
        g_object_unref(m_listener);
    }

    void spokenForTheFocusedWidget()
    {
        QWidget window;
        window.setAccessibleName(QStringLiteral("Answer window"));
        auto* layout = new QVBoxLayout(&window);
        auto* copy = new QPushButton(QStringLiteral("Copy answer"), &window);
        copy->setAccessibleDescription(QStringLiteral("Copies the answer"));
        layout->addWidget(copy);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        copy->setFocus();
        QTest::qWait(300);

        AccessibleAnnouncement::announce(&window, QStringLiteral("Explain answer ready"));
        AccessibleAnnouncement::announce(copy, QStringLiteral("Copied"));
        AccessibleAnnouncement::announce(copy, QStringLiteral("Copied"));
        QTRY_COMPARE(textsFor(pathOf(copy)), (QStringList{"Explain answer ready", "Copied", "Copied"}));
        QCOMPARE(copy->accessibleDescription(), QStringLiteral("Copies the answer"));
        QCOMPARE(AccessibleAnnouncement::lastMessage(&window), QStringLiteral("Copied"));
    }

private:
    AtspiEventListener* m_listener = nullptr;
};

QTEST_MAIN(TestAnnouncementSpoken)
#include "tst_announcementspoken.moc"
