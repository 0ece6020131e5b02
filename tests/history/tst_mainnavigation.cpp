#include "history/MainNavigation.h"

#include <QSignalSpy>
#include <QTest>

class TestMainNavigation : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void startsOnAFreshNewChat()
    {
        MainNavigation& navigation = MainNavigation::shared();
        QVERIFY(navigation.selectedID().isNull());
        QCOMPARE(navigation.newChatID().variant(), QUuid::DCE);
        QCOMPARE(navigation.newChatID().version(), QUuid::Random);
        QCOMPARE(&MainNavigation::shared(), &navigation);
    }

    void newChatGivesANewIdentityAndShowsIt()
    {
        MainNavigation navigation;
        QSignalSpy selected(&navigation, &MainNavigation::selectedIDChanged);
        QSignalSpy newChat(&navigation, &MainNavigation::newChatIDChanged);
        const QUuid stored = QUuid::createUuid();
        navigation.setSelectedID(stored);
        navigation.setSelectedID(stored);
        QCOMPARE(selected.size(), 1);
        const QUuid first = navigation.newChatID();
        navigation.startNewChat();
        const QUuid second = navigation.newChatID();
        navigation.startNewChat();
        QVERIFY(first != second && second != navigation.newChatID());
        QVERIFY(navigation.selectedID().isNull());
        QCOMPARE(selected.size(), 2);
        QCOMPARE(newChat.size(), 2);
    }
};

QTEST_GUILESS_MAIN(TestMainNavigation)
#include "tst_mainnavigation.moc"
