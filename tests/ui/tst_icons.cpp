#include "actions/AIAction.h"
#include "ui/Icons.h"

#include <QIcon>
#include <QTest>

class TestIcons : public QObject {
    Q_OBJECT

private Q_SLOTS:
    // With no icon theme at all every symbol still draws something, in the colour asked for.
    void everySymbolRendersWithoutATheme_data()
    {
        QTest::addColumn<QString>("symbol");
        QStringList symbols = {"pencil.and.outline",
                               "doc.on.doc",
                               "checkmark",
                               "doc.on.clipboard",
                               "arrow.up.forward.app",
                               "exclamationmark.triangle.fill",
                               "xmark",
                               "chevron.down"};
        for (const RewriteStyle style : RewriteStyle::allCases())
            symbols.append(style.symbol());
        for (const AIAction& action :
             {AIAction::explain(), AIAction::translate(), AIAction::research(), AIAction::webSearch(), AIAction::ask(),
              AIAction::chat(false), AIAction::chat(true), AIAction::custom(WritingMode{})})
            symbols.append(action.symbol());
        symbols.removeDuplicates();
        for (const QString& symbol : symbols)
            QTest::newRow(qPrintable(symbol)) << symbol;
    }
    void everySymbolRendersWithoutATheme()
    {
        QFETCH(QString, symbol);
        QIcon::setThemeSearchPaths({});
        QIcon::setThemeName(QStringLiteral("no-such-theme"));
        QVERIFY(Icons::bundledSymbols().contains(symbol));
        const QImage image = Icons::pixmap(symbol, 16, QColor(0xD97757)).toImage();
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
        QVERIFY2(painted > 4, qPrintable(symbol));
    }
};

QTEST_MAIN(TestIcons)
#include "tst_icons.moc"
