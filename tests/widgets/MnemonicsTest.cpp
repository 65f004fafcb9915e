#include <QMenu>

#include "common/TestRegistry.h"
#include "widgets/Mnemonics.h"

using namespace tempolatch;

class MnemonicsTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    // Each text of one menu gets a letter the texts before it have not
    // taken: a word's first letter when it is free, else any letter; a
    // user's "&" stays an ampersand and is never a marker.
    void lettersOfOneMenu_data() {
        QTest::addColumn<QStringList>("texts");
        QTest::addColumn<QStringList>("marked");
        QTest::newRow("word starts")
            << QStringList{"Day", "Week", "Default List Style", "Custom Period...", "Customize..."}
            << QStringList{"&Day", "&Week", "Default &List Style", "&Custom Period...",
                           "C&ustomize..."};
        QTest::newRow("user's ampersand")
            << QStringList{"R&&D", "Rates", "&&"} << QStringList{"&R&&D", "R&ates", "&&"};
        QTest::newRow("marked by hand first")
            << QStringList{"Tasks", "&Tools"} << QStringList{"T&asks", "&Tools"};
        QTest::newRow("every letter taken")
            << QStringList{"Ab", "Ba", "AB"} << QStringList{"&Ab", "&Ba", "AB"};
    }
    void lettersOfOneMenu() {
        QFETCH(QStringList, texts);
        QFETCH(QStringList, marked);
        QMenu menu;
        for (const QString& text : texts)
            menu.addAction(text);
        mnemonics::assign(&menu);
        QStringList got;
        for (const QAction* action : menu.actions())
            got.append(action->text());
        QCOMPARE(got, marked);
        // What the user reads is the text as given.
        for (int i = 0; i < texts.size(); ++i)
            QCOMPARE(mnemonics::plain(got[i]), mnemonics::plain(texts[i]));
    }

    void literalShowsAnAmpersand() {
        QCOMPARE(mnemonics::literal(QStringLiteral("R&D")), QStringLiteral("R&&D"));
        QCOMPARE(mnemonics::plain(QStringLiteral("R&&D")), QStringLiteral("R&D"));
        QVERIFY(mnemonics::of(QStringLiteral("R&&D")).isNull());
        QCOMPARE(mnemonics::of(QStringLiteral("&r&&D")), QLatin1Char('R'));
    }
};

TEMPOLATCH_TEST(MnemonicsTest);
#include "MnemonicsTest.moc"
