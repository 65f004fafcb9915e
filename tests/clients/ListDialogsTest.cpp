#include <QComboBox>
#include <QFile>
#include <QLineEdit>
#include <QListWidget>

#include "clients/ClientsTestSupport.h"
#include "clients/DropListEdits.h"
#include "clients/DropListsDialog.h"
#include "clients/FieldReplacement.h"
#include "clients/ModalDriver.h"
#include "clients/ReplaceTextDialog.h"
#include "clients/SetupCommandIds.h"
#include "common/EnvironmentTest.h"
#include "common/TestRegistry.h"
#include "platform/StringTable.h"
#include "store/Lists.h"
#include "store/TimeEntries.h"
#include "transfer/TransferTestSupport.h"
#include "widgets/DialogBar.h"

using namespace tempolatch;
using namespace tempolatch::test;

namespace {

QStringList listTexts(ListKind kind) {
    return Lists(TestEnvironment::current().store().objectStore()).texts(kind);
}

// The rows the dialog shows, the empty last one included.
QStringList rowTexts(QListWidget* list) {
    QStringList texts;
    for (int i = 0; i < list->count(); ++i)
        texts.append(list->item(i)->text());
    return texts;
}

}  // namespace

class ListDialogsTest : public EnvironmentTest {
    Q_OBJECT

    void seedLists() {
        Lists lists(m_env->store().objectStore());
        for (const char* text : {"A", "B", "C"})
            lists.add(ListKind::Phase, QString::fromLatin1(text));
        lists.add(ListKind::Currency, QStringLiteral("EUR"));
    }

private Q_SLOTS:
    void init() {
        EnvironmentTest::init();
        QVERIFY(m_env->store().openAll());
        seedLists();
    }

    // Delete asks nothing; Delete All asks message 59 and only a Yes
    // empties the shown list, never another.
    void deleteVersusDeleteAll_data() {
        QTest::addColumn<int>("command");
        QTest::addColumn<int>("answer");
        QTest::addColumn<QStringList>("asked");
        QTest::addColumn<QStringList>("left");
        const QStringList question{resourceString(str::DeleteListQuestion)};
        QTest::newRow("delete") << cmd::DeleteItem << int(Answer::No) << QStringList()
                                << QStringList{"A", "C"};
        QTest::newRow("delete all, no")
            << cmd::DeleteAllItems << int(Answer::No) << question << QStringList{"A", "B", "C"};
        QTest::newRow("delete all, yes")
            << cmd::DeleteAllItems << int(Answer::Yes) << question << QStringList();
    }
    void deleteVersusDeleteAll() {
        QFETCH(int, command);
        QFETCH(int, answer);
        QFETCH(QStringList, asked);
        QFETCH(QStringList, left);
        DropListsDialog dialog(m_env->context());
        QCOMPARE(rowTexts(dialog.items()), (QStringList{"A", "B", "C", ""}));
        dialog.items()->setCurrentRow(1);
        m_env->ui().queueAnswer(Answer(answer));
        dialog.onCommand(command);
        QCOMPARE(m_env->ui().shownTexts(), asked);
        if (!asked.isEmpty()) {
            QCOMPARE(m_env->ui().shown().first().icon, MessageIcon::Question);
            QCOMPARE(m_env->ui().shown().first().defaultAnswer, Answer::No);
        }
        QCOMPARE(listTexts(ListKind::Phase), left);
        QCOMPARE(rowTexts(dialog.items()), left + QStringList{""});
        QCOMPARE(listTexts(ListKind::Currency), QStringList{"EUR"});
    }

    void deleteNeedsAStoredRow() {
        DropListsDialog dialog(m_env->context());
        QVERIFY(!dialog.bar()->isCommandEnabled(cmd::DeleteItem));
        dialog.items()->setCurrentRow(0);
        QVERIFY(dialog.bar()->isCommandEnabled(cmd::DeleteItem));
        dialog.items()->setCurrentRow(3);  // the empty row
        QVERIFY(!dialog.bar()->isCommandEnabled(cmd::DeleteItem));
    }

    // An edited row with a record renames it; the empty row adds a value.
    // Empty texts and texts the list has already change nothing.
    void editingInPlace_data() {
        QTest::addColumn<int>("row");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QStringList>("stored");
        QTest::newRow("rename") << 1 << "Beta" << QStringList{"A", "Beta", "C"};
        QTest::newRow("rename to empty") << 1 << "" << QStringList{"A", "B", "C"};
        QTest::newRow("rename to another value") << 1 << "C" << QStringList{"A", "B", "C"};
        QTest::newRow("rename in letter case") << 1 << "b" << QStringList{"A", "b", "C"};
        QTest::newRow("add") << 3 << "D" << QStringList{"A", "B", "C", "D"};
        QTest::newRow("add a value it has") << 3 << "A" << QStringList{"A", "B", "C"};
        QTest::newRow("add empty") << 3 << "" << QStringList{"A", "B", "C"};
    }
    void editingInPlace() {
        QFETCH(int, row);
        QFETCH(QString, text);
        QFETCH(QStringList, stored);
        DropListsDialog dialog(m_env->context());
        QListWidget* items = dialog.items();
        items->openPersistentEditor(items->item(row));
        auto* editor = qobject_cast<QLineEdit*>(items->indexWidget(items->model()->index(row, 0)));
        QVERIFY(editor);
        QVERIFY(editor->minimumHeight() >= 20);
        editor->setText(text);
        items->closePersistentEditor(items->item(row));
        items->item(row)->setText(text);  // what the delegate commits
        QTRY_COMPARE(rowTexts(items), stored + QStringList{""});
        QCOMPARE(listTexts(ListKind::Phase), stored);
        QVERIFY(m_env->ui().shownTexts().isEmpty());
    }

    void importAddsNewNamesInFileOrder() {
        const QString path = m_env->filePath(QStringLiteral("list.txt"));
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("Z\r\n\r\nB\r\nY\r\nZ");
        file.close();
        DropListsDialog dialog(m_env->context());
        m_env->ui().queueFile(path);
        dialog.onCommand(cmd::ImportNames);
        QCOMPARE(m_env->ui().fileFilters(), QStringList{resourceString(str::ListFileFilter)});
        QCOMPARE(listTexts(ListKind::Phase), (QStringList{"A", "B", "C", "Z", "Y"}));
        QCOMPARE(rowTexts(dialog.items()), (QStringList{"A", "B", "C", "Z", "Y", ""}));
        QVERIFY(m_env->ui().shownTexts().isEmpty());
    }

    void importOfUnreadableFileSaysSo() {
        DropListsDialog dialog(m_env->context());
        m_env->ui().queueFile(m_env->filePath(QStringLiteral("missing.txt")));
        dialog.onCommand(cmd::ImportNames);
        QCOMPARE(m_env->ui().shownTexts(), QStringList{resourceString(str::UnableToImport)});
        QCOMPARE(listTexts(ListKind::Phase), (QStringList{"A", "B", "C"}));
    }

    void listTypesAndHelp() {
        DropListsDialog dialog(m_env->context());
        auto* type = dialog.findChild<QComboBox*>(QStringLiteral("listType"));
        QStringList names;
        for (int i = 0; i < type->count(); ++i)
            names.append(type->itemText(i));
        QCOMPARE(names, (QStringList{"Phase", "Currency", "Custom 1", "Custom 2", "Custom 3",
                                     "Category", "Description"}));
        type->setCurrentIndex(1);
        QCOMPARE(rowTexts(dialog.items()), (QStringList{"EUR", ""}));
        QCOMPARE(helpTopicOnF1(dialog), QStringLiteral("editlist"));
        ReplaceTextDialog replace(m_env->context());
        QCOMPARE(helpTopicOnF1(replace), QStringLiteral("replace"));
    }

    // OK checks the choices first (181, 182), then asks (180), saying when
    // the new name exists and the two merge; only a Yes replaces, says how
    // many entries changed, and then the dialog closes.
    void replaceMessages_data() {
        QTest::addColumn<int>("find");  // -1: none chosen
        QTest::addColumn<QString>("replacement");
        QTest::addColumn<int>("answer");
        QTest::addColumn<int>("message");
        QTest::addColumn<QStringList>("after");  // the phases, or none when nothing changed
        QTest::newRow("nothing to find")
            << -1 << "X" << int(Answer::Yes) << str::SelectFindText << QStringList();
        QTest::newRow("nothing to replace with")
            << 1 << "" << int(Answer::Yes) << str::EnterReplaceText << QStringList();
        QTest::newRow("asked, no")
            << 1 << "X" << int(Answer::No) << str::ReplaceQuestion << QStringList();
        QTest::newRow("asked, yes")
            << 1 << "X" << int(Answer::Yes) << str::ReplaceQuestion << QStringList{"A", "X", "C"};
        QTest::newRow("merge, yes")
            << 1 << "C" << int(Answer::Yes) << str::ReplaceQuestion << QStringList{"A", "C"};
    }
    void replaceMessages() {
        QFETCH(int, find);
        QFETCH(QString, replacement);
        QFETCH(int, answer);
        QFETCH(int, message);
        QFETCH(QStringList, after);
        const bool replaced = !after.isEmpty();
        TimeEntry entry;
        entry.phase = QStringLiteral("B");
        entry.date = at(2026, 12, 1, 9);
        QCOMPARE(TimeEntries(m_env->store()).add(entry), WriteResult::Written);

        ReplaceTextDialog dialog(m_env->context());
        auto* type = dialog.findChild<QComboBox*>(QStringLiteral("type"));
        type->setCurrentIndex(int(ReplaceField::Phase));
        auto* findList = dialog.findChild<QComboBox*>(QStringLiteral("find"));
        QCOMPARE(findList->currentIndex(), -1);
        findList->setCurrentIndex(find);
        dialog.findChild<QLineEdit*>(QStringLiteral("replaceWith"))->setText(replacement);
        m_env->ui().queueAnswer(Answer(answer));
        dialog.show();
        dialog.accept();
        QString asked = resourceString(message);
        if (replacement == QLatin1String("C"))
            asked += QStringLiteral("\n\n\"C\" exists already: \"B\" will be merged into it.");
        QCOMPARE(m_env->ui().shownTexts(), QStringList{asked});
        QCOMPARE(dialog.isVisible(), !replaced);
        const QStringList untouched{"A", "B", "C"};
        QCOMPARE(listTexts(ListKind::Phase), replaced ? after : untouched);
        QCOMPARE(allEntries().first().phase, replaced ? replacement : QStringLiteral("B"));
        const QStringList notices{
            QStringLiteral("\"B\" replaced by \"%1\" in 1 entry.").arg(replacement)};
        QCOMPARE(m_env->ui().notices(), replaced ? notices : QStringList());
    }
};

TEMPOLATCH_TEST(ListDialogsTest);
#include "ListDialogsTest.moc"
