#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QFormLayout>
#include <QLabel>
#include <QLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>
#include <QTimeEdit>
#include <QTreeWidget>

#include "clients/ClientsTestSupport.h"
#include "common/EnvironmentTest.h"
#include "common/ModalDialog.h"
#include "common/TestRegistry.h"
#include "editing/EntryCommands.h"
#include "editing/EntryEditor.h"
#include "editing/EntryNotePage.h"
#include "editing/EntrySummary.h"
#include "editing/StartEndDialog.h"
#include "notes/InkControl.h"
#include "platform/StringTable.h"
#include "settings/Settings.h"
#include "store/StoreTestSupport.h"
#include "store/TimeEntries.h"
#include "widgets/NameInputDialog.h"

using namespace tempolatch;
using namespace tempolatch::test;

namespace {

template <typename T>
T* child(QWidget* parent, const char* name) {
    T* widget = parent->findChild<T*>(QString::fromLatin1(name));
    if (!widget)
        qWarning("no child %s", name);
    return widget;
}

void setText(QWidget* parent, const char* name, const QString& text) {
    child<QComboBox>(parent, name)->setEditText(text);
}

TimeEntry storedEntry(quint32 recordId) {
    return entrycommands::readStoredEntry(TestEnvironment::current().store(), recordId)
        .value_or(TimeEntry());
}

}  // namespace

class EntryEditorTest : public test::EnvironmentTest {
    Q_OBJECT

    QStringList messages() { return m_env->ui().shownTexts(); }

    // A new entry typed on the General page.
    static void typeGeneral(EntryEditor& editor, const QString& client, const QString& task,
                            const QString& duration) {
        setText(&editor, "client", client);
        setText(&editor, "task", task);
        setText(&editor, "duration", duration);
    }

    quint32 addStored(TimeEntry entry) {
        TimeEntries(m_env->store()).add(entry);
        return entry.recordId;
    }

private Q_SLOTS:
    void init() {
        EnvironmentTest::init();
        QVERIFY(m_env->store().openAll());
    }

    // The title says what is being done to the entry.
    void titlesSayWhatIsDone() {
        TimeEntry stored;
        stored.client = "Acme";
        stored.task = "Design";
        const quint32 id = addStored(stored);
        const TimeEntry copy = storedEntry(id);
        QCOMPARE(EntryEditor(m_env->context(), nullptr, false, 0).windowTitle(),
                 QStringLiteral("New Time Entry"));
        QCOMPARE(EntryEditor(m_env->context(), &copy, false, 0).windowTitle(),
                 QStringLiteral("Edit Time Entry"));
        TimeEntry asNew = copy;
        asNew.recordId = 0;
        QCOMPARE(EntryEditor(m_env->context(), &asNew, true, 0).windowTitle(),
                 QStringLiteral("Copy of Time Entry"));
        QCOMPARE(EntrySummary(m_env->context(), copy).windowTitle(),
                 QStringLiteral("Entry Summary"));
        QCOMPARE(NameInputDialog(QStringLiteral("Client Name:")).windowTitle(),
                 QStringLiteral("Client Name"));
    }

    void pagesInOrder() {
        EntryEditor editor(m_env->context(), nullptr, false, EntryEditor::NotePage);
        QTabWidget* tabs = editor.tabs();
        QCOMPARE(tabs->count(), 4);
        QCOMPARE(tabs->tabText(0), "General");
        QCOMPARE(tabs->tabText(1), "Billing");
        QCOMPARE(tabs->tabText(2), "Custom");
        QCOMPARE(tabs->tabText(3), "Note");
        QCOMPARE(tabs->currentIndex(), 3);
        QVERIFY(editor.findChild<InkControl*>());
    }

    void newEntrySavedWithGranularity() {
        m_env->settings().setFlag(DurationGranularity, true);
        m_env->settings().minTime = 15;
        EntryEditor editor(m_env->context(), nullptr, false, 0);
        typeGeneral(editor, "Acme", "Design", "1.1");
        editor.accept();
        QVERIFY(messages().isEmpty());
        QVERIFY(editor.saved());
        const TimeEntry saved = storedEntry(editor.entry().recordId);
        QCOMPARE(saved.duration, 125);
        QCOMPARE(saved.client, "Acme");
        QVERIFY(findClientId(structure().clients, "Acme") != NoClientId);
        QCOMPARE(saved.currency, m_env->settings().defaultCurrency);
    }

    // Ctrl+N and type: the focus starts in the first field (the date), one
    // Tab leaves the date box for the client, and typed text lands there.
    void keyboardFromTheFirstField() {
        EntryEditor editor(m_env->context(), nullptr, false, 0);
        editor.show();
        QVERIFY(QTest::qWaitForWindowActive(&editor));
        auto* date = child<QDateEdit>(&editor, "date");
        QTRY_VERIFY(date->hasFocus());
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        auto* client = child<QComboBox>(&editor, "client");
        QVERIFY(client->hasFocus());
        QTest::keyClicks(QApplication::focusWidget(), "Acme");
        QCOMPARE(client->currentText(), QStringLiteral("Acme"));
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backtab);
        QVERIFY(date->hasFocus());
    }

    // Start times typed as people type them.
    void typedStartTimes_data() {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QTime>("start");  // invalid: refused with a message
        QTest::newRow("hour") << "9" << QTime(9, 0);
        QTest::newRow("three digits") << "930" << QTime(9, 30);
        QTest::newRow("four digits") << "1745" << QTime(17, 45);
        QTest::newRow("colon") << "9:30" << QTime(9, 30);
        QTest::newRow("fraction") << "17.5" << QTime(17, 30);
        QTest::newRow("quarter fraction") << "8,25" << QTime(8, 15);
        QTest::newRow("pm") << "5:30 pm" << QTime(17, 30);
        QTest::newRow("12 am is midnight") << "12am" << QTime(0, 0);
        QTest::newRow("12 pm is noon") << "12 PM" << QTime(12, 0);
        QTest::newRow("locale format") << "9:05 AM" << QTime(9, 5);
        QTest::newRow("midnight") << "0" << QTime(0, 0);
        QTest::newRow("last minute") << "23:59" << QTime(23, 59);
        QTest::newRow("hour 24") << "24" << QTime();
        QTest::newRow("minute 60") << "960" << QTime();
        QTest::newRow("three quarters") << "9.75" << QTime(9, 45);
        QTest::newRow("13 pm") << "13pm" << QTime();
        QTest::newRow("five digits") << "09300" << QTime();
        QTest::newRow("words") << "soon" << QTime();
        QTest::newRow("empty") << "" << QTime();
    }
    void typedStartTimes() {
        QFETCH(QString, typed);
        QFETCH(QTime, start);
        EntryEditor editor(m_env->context(), nullptr, false, 0);
        editor.show();
        QVERIFY(QTest::qWaitForWindowActive(&editor));
        typeGeneral(editor, "Acme", "Design", "1");
        child<QCheckBox>(&editor, "startBox")->setChecked(true);
        auto* box = child<QLineEdit>(&editor, "startTime");
        box->clear();
        QTest::keyClicks(box, typed);
        editor.accept();
        QCOMPARE(editor.saved(), start.isValid());
        if (!start.isValid()) {
            QCOMPARE(messages().size(), 1);
            QVERIFY(box->hasFocus());
            return;
        }
        const TimeEntry saved = storedEntry(editor.entry().recordId);
        QVERIFY(saved.hasStartTime());
        const QTime when = platform::dateTimeOf(saved.date).time();
        QCOMPARE(QTime(when.hour(), when.minute()), start);
    }

    // A save the store refuses part-way (here: the drop-list value after the
    // entry and the client) leaves nothing behind, tells the user, and
    // keeps the editor open with what was typed, so OK can be tried again.
    void refusedSaveKeepsEditorOpen() {
        QVERIFY(refuseWrites(*m_env->store().objectStore(), db::ListsName));
        EntryEditor editor(m_env->context(), nullptr, false, 0);
        editor.show();
        QVERIFY(QTest::qWaitForWindowActive(&editor));
        typeGeneral(editor, "Acme", "Design", "1.5");
        editor.accept();
        QCOMPARE(messages(), QStringList{QStringLiteral("Error: 1811")});
        QCOMPARE(m_env->ui().shown().first().icon, platform::MessageIcon::Stop);
        QVERIFY(!editor.saved());
        QVERIFY(editor.isVisible());
        QCOMPARE(editor.result(), int(QDialog::Rejected));
        QCOMPARE(editor.entry().recordId, 0u);
        QCOMPARE(m_env->store().entryCount(), 0);
        QCOMPARE(findClientId(structure().clients, "Acme"), NoClientId);
        QCOMPARE(child<QComboBox>(&editor, "client")->currentText(), "Acme");
        QCOMPARE(child<QComboBox>(&editor, "task")->currentText(), "Design");
        QCOMPARE(child<QComboBox>(&editor, "duration")->currentText(), "1.5");
    }

    void generalPageMessages_data() {
        QTest::addColumn<QString>("client");
        QTest::addColumn<QString>("task");
        QTest::addColumn<QString>("duration");
        QTest::addColumn<int>("message");
        QTest::addColumn<QString>("focus");
        QTest::newRow("no client") << ""
                                   << "T"
                                   << "1" << int(str::ClientRequired) << "client";
        QTest::newRow("no duration") << "C"
                                     << "T"
                                     << "" << int(str::DurationRequired) << "duration";
        QTest::newRow("no task") << "C"
                                 << ""
                                 << "1" << int(str::TaskRequired) << "task";
        QTest::newRow("letters") << "C"
                                 << "T"
                                 << "abc" << int(str::NumericOnly) << "duration";
        QTest::newRow("too long") << "C"
                                  << "T"
                                  << "656" << int(str::DurationOutOfRange) << "duration";
        QTest::newRow("negative") << "C"
                                  << "T"
                                  << "-1" << int(str::DurationOutOfRange) << "duration";
    }
    void generalPageMessages() {
        QFETCH(QString, client);
        QFETCH(QString, task);
        QFETCH(QString, duration);
        QFETCH(int, message);
        QFETCH(QString, focus);
        EntryEditor editor(m_env->context(), nullptr, false, 0);
        editor.show();
        QVERIFY(QTest::qWaitForWindowActive(&editor));
        typeGeneral(editor, client, task, duration);
        editor.accept();
        QCOMPARE(messages(), QStringList{resourceString(message)});
        QVERIFY(!editor.saved());
        QCOMPARE(m_env->store().entryCount(), 0);
        QCOMPARE(editor.tabs()->currentIndex(), 0);
        QVERIFY(QApplication::focusWidget());
        QVERIFY(QApplication::focusWidget() == child<QWidget>(&editor, qPrintable(focus)) ||
                QApplication::focusWidget()->parentWidget() ==
                    child<QWidget>(&editor, qPrintable(focus)));
    }

    void listsFollowClientAndProject() {
        seedClient("Acme", {"Web/Design", "Web/Build"}, {"Support"});
        seedClient("Beta", {"App/Test"});
        EntryEditor editor(m_env->context(), nullptr, false, 0);
        auto* client = child<QComboBox>(&editor, "client");
        auto* project = child<QComboBox>(&editor, "project");
        auto* task = child<QComboBox>(&editor, "task");
        const auto items = [](QComboBox* box) {
            QStringList texts;
            for (int i = 0; i < box->count(); ++i)
                texts.append(box->itemText(i));
            return texts;
        };
        QCOMPARE(items(client), QStringList({"Acme", "Beta"}));
        QVERIFY(items(project).isEmpty());
        task->setEditText("typed");
        client->setCurrentIndex(0);
        Q_EMIT client->activated(0);
        QCOMPARE(items(project), QStringList{"Web"});
        QCOMPARE(items(task), QStringList{"Support"});
        QCOMPARE(task->currentText(), "typed");  // what was typed stays
        project->setCurrentIndex(0);
        Q_EMIT project->activated(0);
        QCOMPARE(items(task), QStringList({"Design", "Build"}));
    }

    void leavingGeneralIsRefused() {
        EntryEditor editor(m_env->context(), nullptr, false, 0);
        editor.tabs()->setCurrentIndex(1);
        QCOMPARE(editor.tabs()->currentIndex(), 0);
        QCOMPARE(messages(), QStringList{resourceString(str::ClientRequired)});
    }

    // The Billing page's fields start at one place, each with its label,
    // whatever the entry's status, currency and bill-to.
    void billingFieldsKeepOneAlignment_data() {
        QTest::addColumn<int>("status");
        QTest::addColumn<QString>("currency");
        QTest::addColumn<QString>("billTo");
        QTest::newRow("non-billable, no currency") << 0 << ""
                                                   << "";
        QTest::newRow("billable, short currency") << 1 << "$"
                                                  << "Ann";
        QTest::newRow("paid, long currency and contact") << 3 << "Swiss francs (CHF)"
                                                         << "Accounts payable department";
    }
    void billingFieldsKeepOneAlignment() {
        QFETCH(int, status);
        QFETCH(QString, currency);
        QFETCH(QString, billTo);
        // The fields' left edges on the Billing page of a stored entry.
        const auto edges = [this](TimeEntry entry) {
            entry.client = "Acme";
            entry.task = "T";
            entry.rate = 12345;
            entry.duration = 100;
            entry.recordId = addStored(entry);
            EntryEditor editor(m_env->context(), &entry, false, 1);
            editor.show();
            QWidget* page = child<QWidget>(&editor, "billingPage");
            if (page->layout())
                page->layout()->activate();
            QList<int> lefts;
            for (const char* name : {"status", "billTo", "currency", "rate", "total"}) {
                auto* field = child<QWidget>(page, name);
                lefts.append(field ? field->mapTo(page, QPoint()).x() : -1);
            }
            QStringList buddies;
            for (QLabel* label : page->findChildren<QLabel*>())
                if (label->buddy())
                    buddies << label->text() + label->buddy()->objectName();
            return std::make_pair(lefts, buddies);
        };
        TimeEntry entry;
        entry.status = EntryStatus(status);
        entry.currency = currency;
        entry.billTo = billTo;
        const auto [lefts, buddies] = edges(entry);
        TimeEntry reference;
        reference.status = EntryStatus::Billable;
        reference.currency = "EUR";
        QCOMPARE(lefts, edges(reference).first);
        QVERIFY(lefts.first() > 0);
        QCOMPARE(lefts, QList<int>(lefts.size(), lefts.first()));
        // The currency and the rate have their labels.
        QVERIFY(buddies.contains(QStringLiteral("Currency:currency")));
        QVERIFY(buddies.contains(QStringLiteral("Rate:rate")));
    }

    void billingFollowsTheClient() {
        const Client acme = seedClient("Acme");
        seedRate(0, "Base", RateType::Normal, 4000);
        seedRate(acme.clientId, "Weekend", RateType::Weekend, 9000);
        seedRate(acme.clientId, "Agreed", RateType::Normal, 4500);
        TimeEntry stored;
        stored.client = "Other";
        stored.task = "T";
        stored.status = EntryStatus::Billable;
        stored.rate = 4000;
        stored.duration = 100;
        stored.currency = "EUR";
        const quint32 id = addStored(stored);
        stored.recordId = id;

        EntryEditor editor(m_env->context(), &stored, false, 0);
        auto* client = child<QComboBox>(&editor, "client");
        client->setCurrentIndex(client->findText("Acme"));
        Q_EMIT client->activated(client->currentIndex());
        // Another client: its rates apply, nothing of the old rate stays.
        QCOMPARE(editor.entry().rate, 0);
        editor.tabs()->setCurrentIndex(1);
        QCOMPARE(editor.tabs()->currentIndex(), 1);
        auto* tree = child<QTreeWidget>(&editor, "rateTree");
        QCOMPARE(tree->topLevelItemCount(), 3);
        QCOMPARE(tree->topLevelItem(2)->text(0), "Acme");
        QCOMPARE(tree->topLevelItem(2)->child(0)->text(0), "Agreed (45.00)");
        QCOMPARE(tree->topLevelItem(2)->child(1)->text(0), "Weekend (90.00)");
        // A stored entry whose rate 0 matches nothing: "(Custom Rate)".
        QCOMPARE(tree->currentItem()->text(0), resourceString(str::CustomRate));
        QVERIFY(child<QCheckBox>(&editor, "fixed")->isEnabled());
        QCOMPARE(child<QComboBox>(&editor, "currency")->currentText(), "EUR");

        tree->setCurrentItem(tree->topLevelItem(2)->child(1));
        QCOMPARE(child<QLineEdit>(&editor, "rate")->text(), "90.00");
        QVERIFY(!child<QCheckBox>(&editor, "fixed")->isEnabled());
        child<QPushButton>(&editor, "calculate")->click();
        QCOMPARE(child<QLineEdit>(&editor, "total")->text(), "EUR90.00");
        editor.accept();
        QVERIFY(editor.saved());
        const TimeEntry saved = storedEntry(id);
        QCOMPARE(saved.client, "Acme");
        QCOMPARE(saved.rate, 9000);
        QCOMPARE(saved.rateType, RateType::Weekend);
    }

    void newEntryTakesFirstRate() {
        m_env->settings().setFlag(NewEntriesBillable, true);
        seedRate(0, "Senior", RateType::Normal, 6000);
        seedRate(0, "Junior", RateType::Normal, 3000);
        EntryEditor editor(m_env->context(), nullptr, false, EntryEditor::BillingPage);
        QCOMPARE(child<QLineEdit>(&editor, "rate")->text(), "30.00");
        QCOMPARE(child<QTreeWidget>(&editor, "rateTree")->currentItem()->text(0), "Junior (30.00)");
        auto* status = child<QComboBox>(&editor, "status");
        QVERIFY(!child<QPushButton>(&editor, "paidDateButton")->isEnabled());
        status->setCurrentIndex(int(EntryStatus::Paid));
        QVERIFY(child<QPushButton>(&editor, "paidDateButton")->isEnabled());
        child<QLineEdit>(&editor, "rate")->setText("3O");
        editor.tabs()->setCurrentIndex(0);
        typeGeneral(editor, "Acme", "Design", "2");
        editor.accept();
        QCOMPARE(messages(), QStringList{resourceString(str::NumericOnly)});
        QCOMPARE(editor.tabs()->currentIndex(), 1);
        child<QLineEdit>(&editor, "rate")->setText("30");
        editor.accept();
        QVERIFY(editor.saved());
        const TimeEntry saved = storedEntry(editor.entry().recordId);
        QCOMPARE(saved.status, EntryStatus::Paid);
        QCOMPARE(saved.paidDate, platform::fileTimeOf(TestEnvironment::fixedNow()));
        QCOMPARE(saved.amount(false), 60.0);
    }

    void paidDateChosenByTheUser_data() {
        QTest::addColumn<bool>("confirm");
        QTest::newRow("picked") << true;
        QTest::newRow("cancelled: stamped as usual") << false;
    }
    void paidDateChosenByTheUser() {
        QFETCH(bool, confirm);
        TimeEntry stored;
        stored.client = "Acme";
        stored.task = "T";
        stored.duration = 100;
        stored.status = EntryStatus::Billed;
        const quint32 id = addStored(stored);
        stored.recordId = id;
        EntryEditor editor(m_env->context(), &stored, false, EntryEditor::BillingPage);
        child<QComboBox>(&editor, "status")->setCurrentIndex(int(EntryStatus::Paid));
        onNextModal([confirm](QDialog* dialog) {
            QCOMPARE(dialog->objectName(), QStringLiteral("paidDateDialog"));
            // Nothing paid yet: the picker shows today.
            QCOMPARE(child<QDateEdit>(dialog, "paidDate")->date(),
                     TestEnvironment::fixedNow().date());
            child<QDateEdit>(dialog, "paidDate")->setDate(QDate(2026, 11, 30));
            if (confirm)
                dialog->accept();
            else
                dialog->reject();
        });
        child<QPushButton>(&editor, "paidDateButton")->click();
        editor.accept();
        QVERIFY(editor.saved());
        const QDate paid = platform::dateTimeOf(storedEntry(id).paidDate).date();
        QCOMPARE(paid, confirm ? QDate(2026, 11, 30) : TestEnvironment::fixedNow().date());
    }

    void copyShowsDefaultCurrency() {
        m_env->settings().defaultCurrency = "CHF";
        TimeEntry stored;
        stored.client = "Acme";
        stored.task = "T";
        stored.duration = 100;
        stored.status = EntryStatus::Billed;
        stored.currency = "GBP";
        stored.rate = 5000;
        const quint32 id = addStored(stored);
        std::optional<quint32> copyId;
        onNextModal([](QDialog* dialog) {
            auto* editor = qobject_cast<EntryEditor*>(dialog);
            QVERIFY(editor);
            editor->tabs()->setCurrentIndex(1);
            QCOMPARE(child<QComboBox>(dialog, "currency")->currentText(), "CHF");
            QCOMPARE(child<QComboBox>(dialog, "status")->currentIndex(), int(EntryStatus::Billed));
            dialog->accept();
        });
        copyId = entrycommands::copyEntry(m_env->context(), nullptr, id);
        QVERIFY(copyId && *copyId != id);
        QCOMPARE(storedEntry(*copyId).currency, "CHF");
        QCOMPARE(storedEntry(id).currency, "GBP");
        QCOMPARE(m_env->store().entryCount(), 2);
    }

    void customPageUsesLabels() {
        m_env->settings().custom2 = "Ticket";
        TimeEntry stored;
        stored.custom2 = "T-17";
        EntryEditor editor(m_env->context(), &stored, true, EntryEditor::CustomPage);
        const QList<QComboBox*> boxes = {child<QComboBox>(&editor, "custom1"),
                                         child<QComboBox>(&editor, "custom2")};
        QCOMPARE(boxes[1]->currentText(), "T-17");
        auto* label = qobject_cast<QLabel*>(
            static_cast<QFormLayout*>(boxes[1]->parentWidget()->layout())->labelForField(boxes[1]));
        QVERIFY(label);
        QCOMPARE(label->text(), "Ticket:");
    }

    void untouchedNoteKeepsItsBytes() {
        TimeEntry stored;
        stored.client = "Acme";
        stored.task = "T";
        stored.note = QByteArray("foreign note bytes\x00\x01", 20);
        const quint32 id = addStored(stored);
        stored.recordId = id;
        EntryEditor editor(m_env->context(), &stored, false, EntryEditor::NotePage);
        editor.tabs()->setCurrentIndex(0);
        setText(&editor, "duration", "1");
        editor.accept();
        QVERIFY(editor.saved());
        QCOMPARE(storedEntry(id).note, stored.note);
    }

    void noteSizeLimit_data() {
        QTest::addColumn<int>("size");
        QTest::addColumn<bool>("accepted");
        QTest::newRow("65000") << 65000 << true;
        QTest::newRow("65001") << 65001 << false;
    }
    void noteSizeLimit() {
        QFETCH(int, size);
        QFETCH(bool, accepted);
        EntryEditState state(m_env->context());
        EntryNotePage page(state);
        page.activate();
        page.control()->setNoteData(QByteArray(size, 'x'));
        page.control()->setModified(true);
        QCOMPARE(page.apply(), accepted);
        QCOMPARE(messages().isEmpty(), accepted);
        QCOMPARE(state.entry.note.size(), accepted ? size : 0);
    }

    void startEndDialog_data() {
        QTest::addColumn<QTime>("start");
        QTest::addColumn<QTime>("end");
        QTest::addColumn<QString>("breakText");
        QTest::addColumn<int>("duration");
        QTest::addColumn<int>("message");
        QTest::newRow("over midnight") << QTime(23, 0) << QTime(1, 0) << "0" << 200 << 0;
        QTest::newRow("with break") << QTime(9, 0) << QTime(17, 30) << "0.50" << 800 << 0;
        QTest::newRow("letters") << QTime(9, 0) << QTime(10, 0) << "x" << 100
                                 << int(str::NumericOnly);
        QTest::newRow("break too long")
            << QTime(9, 0) << QTime(10, 0) << "2" << 100 << int(str::DurationOutOfRange);
    }
    void startEndDialog() {
        QFETCH(QTime, start);
        QFETCH(QTime, end);
        QFETCH(QString, breakText);
        QFETCH(int, duration);
        QFETCH(int, message);
        TimeEntry entry;
        entry.duration = 100;
        StartEndDialog dialog(m_env->context(), entry);
        child<QTimeEdit>(&dialog, "startTime")->setTime(start);
        child<QTimeEdit>(&dialog, "endTime")->setTime(end);
        child<QComboBox>(&dialog, "break")->setEditText(breakText);
        dialog.accept();
        if (message) {
            QCOMPARE(messages(), QStringList{resourceString(message)});
            QCOMPARE(dialog.result(), int(QDialog::Rejected));
            return;
        }
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
        QCOMPARE(dialog.entry().duration, duration);
        QVERIFY(dialog.entry().hasStartTime());
    }

    void minuteButtons() {
        TimeEntry entry;
        entry.duration = 150;
        StartEndDialog dialog(m_env->context(), entry);
        dialog.show();
        QVERIFY(QTest::qWaitForWindowActive(&dialog));
        auto* start = child<QTimeEdit>(&dialog, "startTime");
        auto* end = child<QTimeEdit>(&dialog, "endTime");
        start->setTime(QTime(8, 5));
        end->setFocus();
        child<QPushButton>(&dialog, "minutes45")->click();
        QCOMPARE(end->time().minute(), 45);
        QCOMPARE(start->time(), QTime(8, 5));
        QCOMPARE(QApplication::focusWidget(), end);
        start->setFocus();
        child<QPushButton>(&dialog, "minutes00")->click();
        QCOMPARE(start->time(), QTime(8, 0));
    }

    // Labelled rows; a section without a value to show is left out.
    void summarySections_data() {
        QTest::addColumn<QString>("custom2");
        QTest::addColumn<int>("status");
        QTest::addColumn<QString>("currency");
        QTest::addColumn<QStringList>("rows");
        const QStringList general = {"General", "Date: Monday, December 7, 2026", "Client: Acme",
                                     "Task: Design", "Duration: 1.50h (9:00 AM-10:30 AM)"};
        QTest::newRow("billable, a custom value")
            << "T-17" << 1 << "USD"
            << general + QStringList{"Status: Billable",  "Billing",       "Rate: USD 40.00",
                                     "Amount: USD 60.00", "Custom Fields", "Ticket: T-17"};
        QTest::newRow("no custom value")
            << "" << 1 << "$"
            << general +
                   QStringList{"Status: Billable", "Billing", "Rate: $ 40.00", "Amount: $ 60.00"};
        QTest::newRow("non-billable: no rate")
            << "" << 0 << ""
            << general + QStringList{"Status: Non Billable", "Billing", "Amount: 60.00"};
    }
    void summarySections() {
        QFETCH(QString, custom2);
        QFETCH(int, status);
        QFETCH(QString, currency);
        QFETCH(QStringList, rows);
        TimeEntry entry;
        entry.date = *platform::toFileTime(platform::SystemTime{2026, 12, 1, 7, 9, 0, 1, 0});
        entry.client = "Acme";
        entry.task = "Design";
        entry.duration = 150;
        entry.rate = 4000;
        m_env->settings().custom2 = QStringLiteral("Ticket");
        entry.custom2 = custom2;
        entry.status = EntryStatus(status);
        entry.currency = currency;
        QCOMPARE(EntrySummary::rows(entry, m_env->settings()), rows);
    }

    void summaryEdit() {
        TimeEntry stored;
        stored.client = "Acme";
        const quint32 id = addStored(stored);
        onNextModal([](QDialog* dialog) { child<QPushButton>(dialog, "editButton")->click(); });
        QVERIFY(entrycommands::previewEntry(m_env->context(), nullptr, id));
        QVERIFY(!entrycommands::previewEntry(m_env->context(), nullptr, id + 1000));
    }

    void summaryKeepsAChangedNote() {
        TimeEntry stored;
        stored.client = "Acme";
        stored.note = QByteArray("old");
        const quint32 id = addStored(stored);
        onNextModal([](QDialog* dialog) {
            dialog->findChild<QTabWidget*>()->setCurrentIndex(1);
            InkControl* ink = dialog->findChild<InkControl*>();
            QVERIFY(ink);
            ink->setNoteData(QByteArray("new bytes"));
            ink->setModified(true);
            dialog->reject();
        });
        QVERIFY(!entrycommands::previewEntry(m_env->context(), nullptr, id));
        const TimeEntry after = storedEntry(id);
        QCOMPARE(after.note, QByteArray("new bytes"));
        QCOMPARE(after.modified, platform::fileTimeOf(TestEnvironment::fixedNow()));
    }

    // A note the store refuses is not lost silently: the summary says so and
    // stays open with it; closing once more gives it up.
    void summaryStaysOpenWhenTheNoteIsRefused() {
        TimeEntry stored;
        stored.client = "Acme";
        stored.note = QByteArray("old");
        const quint32 id = addStored(stored);
        QVERIFY(refuseWrites(*m_env->store().objectStore(), db::EntriesName, true));
        EntrySummary summary(m_env->context(), storedEntry(id));
        summary.show();
        summary.findChild<QTabWidget*>()->setCurrentIndex(1);
        InkControl* ink = summary.findChild<InkControl*>();
        QVERIFY(ink);
        ink->setNoteData(QByteArray("new bytes"));
        ink->setModified(true);
        summary.reject();
        QCOMPARE(messages(), QStringList{QStringLiteral("Error: 1811")});
        QVERIFY(summary.isVisible());
        QCOMPARE(ink->noteData(), QByteArray("new bytes"));
        summary.reject();
        QVERIFY(!summary.isVisible());
        QCOMPARE(messages().size(), 1);
        QCOMPARE(storedEntry(id).note, QByteArray("old"));
    }

    void recordIds_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<qint64>("id");  // -1: refused
        QTest::newRow("hex") << "1A2b" << qint64(0x1A2B);
        QTest::newRow("prefix") << " 0x10 " << qint64(16);
        QTest::newRow("not hex") << "xyz" << qint64(-1);
        QTest::newRow("zero") << "0" << qint64(-1);
        QTest::newRow("too big") << "123456789" << qint64(-1);
    }
    void recordIds() {
        QFETCH(QString, text);
        QFETCH(qint64, id);
        const std::optional<quint32> parsed = entrycommands::parseRecordId(text);
        QCOMPARE(parsed ? qint64(*parsed) : qint64(-1), id);
    }
};

TEMPOLATCH_TEST(EntryEditorTest);
#include "EntryEditorTest.moc"
