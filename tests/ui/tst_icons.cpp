#include "actions/AIAction.h"
#include "ui/Icons.h"

#include <QIcon>
#include <QTest>

class TestIcons : public QObject {
    Q_OBJECT

private Q_SLOTS:
    // With no icon theme at all every icon name still draws something, in the colour asked for.
    void everyIconRendersWithoutATheme_data()
    {
        QTest::addColumn<QString>("iconName");
        QStringList iconNames = {"document-edit", "edit-copy",      "object-select", "edit-paste",
                                 "window-new",    "dialog-warning", "window-close",  "go-down"};
        for (const RewriteStyle style : RewriteStyle::all())
            iconNames.append(style.iconName());
        for (const AIAction& action :
             {AIAction::explain(), AIAction::translate(), AIAction::research(), AIAction::webSearch(), AIAction::ask(),
              AIAction::chat(false), AIAction::chat(true), AIAction::custom(WritingMode{})})
            iconNames.append(action.iconName());
        iconNames.removeDuplicates();
        for (const QString& iconName : iconNames)
            QTest::newRow(qPrintable(iconName)) << iconName;
    }
    void everyIconRendersWithoutATheme()
    {
        QFETCH(QString, iconName);
        QIcon::setThemeSearchPaths({});
        QIcon::setThemeName(QStringLiteral("no-such-theme"));
        QVERIFY(Icons::bundledIconNames().contains(iconName));
        const QImage image = Icons::pixmap(iconName, 16, QColor(0xD97757)).toImage();
        QCOMPARE(image.size(), QSize(16, 16));
        int painted = 0;
        for (int y = 0; y < image.height(); ++y) {
            for (int x = 0; x < image.width(); ++x) {
                const QColor pixel = image.pixelColor(x, y);
                if (pixel.alpha() < 100)
                    continue;
                ++painted;
                const QColor expected(0xD97757);
                QVERIFY(qAbs(pixel.red() - expected.red()) <= 2 && qAbs(pixel.green() - expected.green()) <= 2 &&
                        qAbs(pixel.blue() - expected.blue()) <= 2);
            }
        }
        QVERIFY2(painted > 4, qPrintable(iconName));
    }
};

QTEST_MAIN(TestIcons)
#include "tst_icons.moc"
