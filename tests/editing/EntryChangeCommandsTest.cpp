#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>

#include "common/EnvironmentTest.h"
#include "common/ModalDialog.h"
#include "common/TestDates.h"
#include "common/TestRegistry.h"
#include "editing/CopyEntryDialog.h"
#include "editing/EntryChangeCommands.h"
#include "platform/Clock.h"
#include "platform/ObjectStore.h"
#include "records/EntryCriteria.h"
#include "records/EntryFilter.h"
#include "records/RecordCopies.h"
#include "records/RecordMarking.h"
#include "store/ExpenseEntry.h"
#include "store/Expenses.h"
#include "store/RecordStore.h"
#include "store/StoreTestSupport.h"
#include "store/TimeEntries.h"
#include "views/EntryCriteriaSheet.h"
#include "widgets/HelpWindow.h"

using namespace tempolatch;
using entrymarking::Mark;

Q_DECLARE_METATYPE(tempolatch::entrycopy::Target)
Q_DECLARE_METATYPE(tempolatch::EntryStatus)

namespace {

QString daysText(const QList<QDate>& days) {
    QStringList texts;
    for (const QDate& day : days)
        texts.append(day.toString(QStringLiteral("ddd d")));
    return texts.join(u' ');
}

}  // namespace

class EntryChangeCommandsTest : public test::EnvironmentTest {
    Q_OBJECT

    TimeEntries entries() { return TimeEntries(m_env->store()); }

    quint32 addEntry(platform::FileTime date, EntryStatus status,
                     platform::FileTime paidDate = platform::FileTime{}) {
        TimeEntry e;
        e.client = QStringLiteral("Acme");
        e.task = QStringLiteral("Build");
        e.date = date;
        e.status = status;
        e.paidDate = paidDate;
        e.duration = 100;
        e.modified = test::at(2026, 1, 1);
        auto all = entries();
        all.add(e);
        return e.recordId;
    }

    QList<TimeEntry> allEntries() {
        QList<TimeEntry> list;
        entries().forEach([&](const TimeEntry& e) {
            list.append(e);
            return true;
        });
        return list;
    }

    // The week of 2026-12-07, as the main window would give it.
    static platform::SystemTime weekStart() { return test::localTime(2026, 12, 6); }
    static platform::SystemTime weekEnd() { return test::localTime(2026, 12, 12, 23, 59); }

private Q_SLOTS:
    void init() {
        EnvironmentTest::init();
        QVERIFY(m_env->store().openAll());
    }

    // 2026-12-07 is a Monday.
    void copyDays_data() {
        using entrycopy::Target;
        QTest::addColumn<QDate>("entryDay");
        QTest::addColumn<Target>("target");
        QTest::addColumn<bool>("weekend");
        QTest::addColumn<bool>("monday");
        QTest::addColumn<QDate>("endDate");
        QTest::addColumn<QString>("days");
        const QDate mon(2026, 12, 7);
        const QDate wed(2026, 12, 9);
        const QDate fri(2026, 12, 11);
        const QDate sat(2026, 12, 12);
        const QDate sun(2026, 12, 13);
        QTest::newRow("week, Friday")
            << fri << Target::RestOfWeek << false << false << QDate() << "";
        QTest::newRow("week, Monday") << mon << Target::RestOfWeek << false << false << QDate()
                                      << "Tue 8 Wed 9 Thu 10 Fri 11";
        QTest::newRow("week, Monday, Monday weeks")
            << mon << Target::RestOfWeek << false << true << QDate() << "Tue 8 Wed 9 Thu 10 Fri 11";
        QTest::newRow("week+weekend, Wednesday, Sunday weeks")
            << wed << Target::RestOfWeek << true << false << QDate() << "Thu 10 Fri 11 Sat 12";
        QTest::newRow("week+weekend, Wednesday, Monday weeks")
            << wed << Target::RestOfWeek << true << true << QDate()
            << "Thu 10 Fri 11 Sat 12 Sun 13";
        QTest::newRow("week+weekend, Saturday, Sunday weeks")
            << sat << Target::RestOfWeek << true << false << QDate() << "";
        QTest::newRow("week+weekend, Sunday, Monday weeks")
            << sun << Target::RestOfWeek << true << true << QDate() << "";
        // Without the weekend a copy never lands on a Sunday nor in the next week.
        QTest::newRow("week, Saturday")
            << sat << Target::RestOfWeek << false << false << QDate() << "";
        QTest::newRow("week, Saturday, Monday weeks")
            << sat << Target::RestOfWeek << false << true << QDate() << "";
        QTest::newRow("week, Sunday, Sunday weeks")
            << sun << Target::RestOfWeek << false << false << QDate()
            << "Mon 14 Tue 15 Wed 16 Thu 17 Fri 18";
        QTest::newRow("end date, own day") << mon << Target::EndDate << true << false << mon << "";
        QTest::newRow("end date, day before")
            << mon << Target::EndDate << true << false << mon.addDays(-1) << "";
        QTest::newRow("end date, next day")
            << mon << Target::EndDate << false << false << mon.addDays(1) << "Tue 8";
        QTest::newRow("end date over a weekend")
            << fri << Target::EndDate << false << false << QDate(2026, 12, 15) << "Mon 14 Tue 15";
        QTest::newRow("end date over a weekend, included")
            << fri << Target::EndDate << true << false << QDate(2026, 12, 15)
            << "Sat 12 Sun 13 Mon 14 Tue 15";
        QTest::newRow("date") << fri << Target::Date << false << false << QDate() << "Sat 12";
    }
    void copyDays() {
        QFETCH(QDate, entryDay);
        QFETCH(entrycopy::Target, target);
        QFETCH(bool, weekend);
        QFETCH(bool, monday);
        QFETCH(QDate, endDate);
        QFETCH(QString, days);
        entrycopy::Choice choice;
        choice.target = target;
        choice.date = QDate(2026, 12, 12);
        choice.endDate = endDate;
        choice.includeWeekend = weekend;
        QCOMPARE(daysText(entrycopy::copyDays(entryDay, choice, monday)), days);
    }

    // Through the dialog: a duration that is no number is refused with
    // message 11; a good one is rounded up to the granularity, and the
    // copies keep the entry's time of day and every other field but their
    // billing (the Paid entry's copies are Billable, without a paid date).
    void copyThroughTheDialog() {
        m_env->settings().setFlag(DurationGranularity, true);
        m_env->settings().minTime = 15;
        const quint32 id =
            addEntry(test::at(2026, 12, 7, 9, 30, 1), EntryStatus::Paid, test::at(2026, 12, 1));
        bool wasOpenAfterBadText = false;
        test::onNextModal([&](QDialog* dialog) {
            auto* duration = dialog->findChild<QComboBox*>(QStringLiteral("duration"));
            QCOMPARE(duration->currentText(), QStringLiteral("1.00"));
            QVERIFY(!dialog->findChild<QDateEdit*>(QStringLiteral("endDate"))->isEnabled());
            dialog->findChild<QRadioButton*>(QStringLiteral("restOfWeek"))->click();
            QVERIFY(!dialog->findChild<QDateEdit*>(QStringLiteral("date"))->isEnabled());
            duration->setEditText(QStringLiteral("abc"));
            dialog->accept();
            wasOpenAfterBadText = dialog->isVisible();
            duration->setEditText(QStringLiteral("1.1"));
            dialog->accept();
        });
        QVERIFY(entrycommands::copyToDays(m_env->context(), nullptr, {id}));
        QVERIFY(wasOpenAfterBadText);
        QCOMPARE(m_env->ui().shownTexts(),
                 QStringList{QStringLiteral("This field accepts numeric values only.")});
        const QList<TimeEntry> all = allEntries();
        QCOMPARE(all.size(), 5);
        QCOMPARE(m_env->ui().notices(), QStringList{QStringLiteral("4 copies made.")});
        const TimeEntry& original = all.first();
        QCOMPARE(original.duration, 100);
        for (int i = 1; i < all.size(); ++i) {
            const TimeEntry& copy = all[i];
            QCOMPARE(copy.date, test::at(2026, 12, 7 + i, 9, 30, 1));
            QCOMPARE(copy.duration, 125);
            QCOMPARE(copy.status, EntryStatus::Billable);
            QCOMPARE(copy.paidDate, platform::FileTime{});
            QCOMPARE(copy.client, original.client);
            QCOMPARE(copy.modified, platform::Clock::nowFileTime());
        }
    }

    // Several entries are each copied from their own day, in one go; an
    // empty duration keeps each one's own, a typed one sets all of them.
    void copySeveralFromTheirOwnDays_data() {
        QTest::addColumn<QString>("duration");
        QTest::addColumn<QList<int>>("durations");  // Monday's copies, then Wednesday's
        QTest::newRow("own durations") << QString() << QList<int>{100, 100, 100, 100, 250, 250};
        QTest::newRow("typed duration") << "2" << QList<int>{200, 200, 200, 200, 200, 200};
    }
    void copySeveralFromTheirOwnDays() {
        QFETCH(QString, duration);
        QFETCH(QList<int>, durations);
        const quint32 wednesday = addEntry(test::at(2026, 12, 9, 14, 0, 1), EntryStatus::Billable);
        const quint32 monday = addEntry(test::at(2026, 12, 7, 9), EntryStatus::Billable);
        TimeEntries entries(m_env->store());
        TimeEntry longer = *entries.find(wednesday);
        longer.duration = 250;
        QCOMPARE(entries.update(longer), WriteResult::Written);
        test::onNextModal([&](QDialog* dialog) {
            QCOMPARE(dialog->windowTitle(), QStringLiteral("Copy 2 Entries"));
            auto* box = dialog->findChild<QComboBox*>(QStringLiteral("duration"));
            QCOMPARE(box->currentText(), QString());
            box->setEditText(duration);
            dialog->findChild<QRadioButton*>(QStringLiteral("restOfWeek"))->click();
            dialog->accept();
        });
        QVERIFY(entrycommands::copyToDays(m_env->context(), nullptr, {wednesday, monday}));
        QCOMPARE(m_env->ui().notices(), QStringList{QStringLiteral("6 copies made.")});
        QList<TimeEntry> copies = allEntries();
        copies.removeIf(
            [&](const TimeEntry& e) { return e.recordId == monday || e.recordId == wednesday; });
        const QList<platform::FileTime> days = {
            test::at(2026, 12, 8, 9),         test::at(2026, 12, 9, 9),
            test::at(2026, 12, 10, 9),        test::at(2026, 12, 11, 9),
            test::at(2026, 12, 10, 14, 0, 1), test::at(2026, 12, 11, 14, 0, 1)};
        QCOMPARE(copies.size(), days.size());
        std::sort(copies.begin(), copies.end(),
                  [](const TimeEntry& a, const TimeEntry& b) { return a.recordId < b.recordId; });
        for (int i = 0; i < copies.size(); ++i) {
            QCOMPARE(copies[i].date, days[i]);
            QCOMPARE(copies[i].duration, durations[i]);
        }
    }

    // A copy that has no day to go to says so rather than nothing.
    void copyWithoutDaysSaysSo() {
        const quint32 id =
            addEntry(test::at(2026, 12, 12, 9), EntryStatus::Billable);  // a Saturday
        test::onNextModal([](QDialog* dialog) {
            dialog->findChild<QRadioButton*>(QStringLiteral("restOfWeek"))->click();
            dialog->accept();
        });
        QVERIFY(!entrycommands::copyToDays(m_env->context(), nullptr, {id}));
        QCOMPARE(allEntries().size(), 1);
        QCOMPARE(m_env->ui().notices(),
                 QStringList{QStringLiteral("No copies: the rest of the week is empty.")});
    }

    // A copy is work still to be billed: the copies of a Billed or Paid
    // entry or expense are Billable, and none has a paid date.
    void copiesAreStillToBeBilled_data() {
        QTest::addColumn<bool>("expense");
        QTest::addColumn<EntryStatus>("status");
        QTest::addColumn<EntryStatus>("copied");
        for (const bool expense : {false, true}) {
            const char* kind = expense ? "expense" : "entry";
            QTest::addRow("%s, non billable", kind)
                << expense << EntryStatus::NonBillable << EntryStatus::NonBillable;
            QTest::addRow("%s, billable", kind)
                << expense << EntryStatus::Billable << EntryStatus::Billable;
            QTest::addRow("%s, billed", kind)
                << expense << EntryStatus::Billed << EntryStatus::Billable;
            QTest::addRow("%s, paid", kind)
                << expense << EntryStatus::Paid << EntryStatus::Billable;
        }
    }
    void copiesAreStillToBeBilled() {
        QFETCH(bool, expense);
        QFETCH(EntryStatus, status);
        QFETCH(EntryStatus, copied);
        const QList<QDate> days = {QDate(2026, 12, 8), QDate(2026, 12, 9)};
        const platform::FileTime paid = test::at(2026, 12, 1);
        const platform::FileTime now = platform::Clock::nowFileTime();
        QList<std::pair<EntryStatus, platform::FileTime>> copies;
        if (expense) {
            ExpenseEntry e;
            e.client = QStringLiteral("Acme");
            e.date = test::at(2026, 12, 7);
            e.status = status;
            e.paidDate = paid;
            QCOMPARE(entrycopy::addCopies(m_env->store(), e, days, now), WriteResult::Written);
            Expenses(m_env->store()).forEach([&](const ExpenseEntry& x) {
                if (x.date != e.date)
                    copies.append({x.status, x.paidDate});
                return true;
            });
        } else {
            TimeEntry e;
            e.client = QStringLiteral("Acme");
            e.date = test::at(2026, 12, 7, 9, 0, 1);
            e.duration = 100;
            e.status = status;
            e.paidDate = paid;
            QCOMPARE(entrycopy::addCopies(m_env->store(), e, days, now), WriteResult::Written);
            for (const TimeEntry& x : allEntries())
                copies.append({x.status, x.paidDate});
        }
        QCOMPARE(copies.size(), 2);
        for (const auto& [copyStatus, copyPaid] : copies) {
            QCOMPARE(copyStatus, copied);
            QCOMPARE(copyPaid, platform::FileTime{});
        }
    }

    // Up to a year of copies are made at once; more are asked about first,
    // and No writes nothing and keeps the dialog open on the end date.
    void manyCopiesAskFirst_data() {
        QTest::addColumn<int>("copies");
        QTest::addColumn<bool>("yes");
        QTest::addColumn<int>("written");
        QTest::newRow("366") << 366 << false << 366;
        QTest::newRow("367, no") << 367 << false << 0;
        QTest::newRow("367, yes") << 367 << true << 367;
    }
    void manyCopiesAskFirst() {
        QFETCH(int, copies);
        QFETCH(bool, yes);
        QFETCH(int, written);
        const quint32 id = addEntry(test::at(2026, 1, 1, 9, 0, 1), EntryStatus::Billable);
        m_env->ui().queueAnswer(yes ? platform::Answer::Yes : platform::Answer::No);
        bool openAfterNo = false;
        test::onNextModal([&](QDialog* dialog) {
            dialog->findChild<QRadioButton*>(QStringLiteral("toEndDate"))->click();
            dialog->findChild<QCheckBox*>(QStringLiteral("includeWeekend"))->setChecked(true);
            dialog->findChild<QDateEdit*>(QStringLiteral("endDate"))
                ->setDate(QDate(2026, 1, 1).addDays(copies));
            dialog->accept();
            openAfterNo = dialog->isVisible();
            if (openAfterNo)
                dialog->reject();
        });
        entrycommands::copyToDays(m_env->context(), nullptr, {id});
        QCOMPARE(allEntries().size(), 1 + written);
        const bool asked = copies > 366;
        QCOMPARE(m_env->ui().shown().size(), asked ? 1 : 0);
        if (asked)
            QVERIFY2(m_env->ui().shownTexts().first().startsWith(
                         QStringLiteral("This makes %1 copies").arg(copies)),
                     qPrintable(m_env->ui().shownTexts().first()));
        QCOMPARE(openAfterNo, asked && !yes);
    }

    void markSelected_data() {
        QTest::addColumn<int>("mark");  // 0 billed, 1 paid
        QTest::addColumn<int>("before");
        QTest::addColumn<int>("after");
        QTest::addColumn<bool>("paidNow");  // else the old paid date stays
        QTest::newRow("billed: non billable") << 0 << 0 << 2 << false;
        QTest::newRow("billed: billable") << 0 << 1 << 2 << false;
        QTest::newRow("billed: billed") << 0 << 2 << 1 << false;
        QTest::newRow("billed: paid") << 0 << 3 << 1 << false;
        QTest::newRow("paid: billable") << 1 << 1 << 3 << true;
        QTest::newRow("paid: billed") << 1 << 2 << 3 << true;
        QTest::newRow("paid: paid keeps its date") << 1 << 3 << 2 << false;
    }
    void markSelected() {
        QFETCH(int, mark);
        QFETCH(int, before);
        QFETCH(int, after);
        QFETCH(bool, paidNow);
        const platform::FileTime oldPaid = test::at(2026, 11, 30);
        const quint32 id = addEntry(test::at(2026, 12, 7, 9), EntryStatus(before), oldPaid);
        QVERIFY(entrycommands::markRecord<TimeEntry>(m_env->context(), nullptr, id,
                                                     mark ? Mark::Paid : Mark::Billed));
        const TimeEntry stored = *entries().find(id);
        QCOMPARE(int(stored.status), after);
        QCOMPARE(stored.paidDate, paidNow ? platform::Clock::nowFileTime() : oldPaid);
        QCOMPARE(stored.modified, platform::Clock::nowFileTime());
    }

    void deleteAsksFirst() {
        const quint32 id = addEntry(test::at(2026, 12, 7, 9), EntryStatus::Billable);
        m_env->ui().queueAnswer(platform::Answer::No);
        QVERIFY(!entrycommands::deleteRecord<TimeEntry>(m_env->context(), nullptr, id));
        QVERIFY(entries().find(id));
        const auto& asked = m_env->ui().shown().first();
        QCOMPARE(asked.text, QStringLiteral("Are you sure to permanently delete this item?"));
        QCOMPARE(asked.icon, platform::MessageIcon::Warning);
        QCOMPARE(asked.defaultAnswer, platform::Answer::No);
        m_env->ui().queueAnswer(platform::Answer::Yes);
        QVERIFY(entrycommands::deleteRecord<TimeEntry>(m_env->context(), nullptr, id));
        QVERIFY(!entries().find(id));
    }

    // Marking billed takes Billable entries only; marking paid Billable and
    // Billed ones, all on the one paid date picked. Entries outside the
    // range and those of other statuses stay as they were.
    void bulkMarking_data() {
        QTest::addColumn<int>("mark");
        QTest::addColumn<QString>("after");    // statuses of 0,1,2,3 in range, then 1 outside
        QTest::addColumn<QString>("stamped");  // which were written
        QTest::addColumn<QString>("notice");
        QTest::newRow("billed") << 0 << "02231"
                                << "01000"
                                << "1 entry marked Billed.";
        QTest::newRow("paid") << 1 << "03331"
                              << "01100"
                              << "2 entries marked Paid.";
    }
    void bulkMarking() {
        QFETCH(int, mark);
        QFETCH(QString, after);
        QFETCH(QString, stamped);
        QList<quint32> ids;
        const platform::FileTime oldPaid = test::at(2026, 11, 30);
        for (int status = 0; status <= 3; ++status)
            ids.append(addEntry(test::at(2026, 12, 8 + status, 9), EntryStatus(status), oldPaid));
        ids.append(addEntry(test::at(2026, 12, 13, 0, 0, 1), EntryStatus::Billable));
        const QDate paidDay(2026, 12, 3);
        test::onNextModal([&, mark](QDialog* sheet) {
            if (mark == 1)
                test::onNextModal([&](QDialog* paidDialog) {
                    QCOMPARE(paidDialog->findChild<QLabel*>(QStringLiteral("text"))->text(),
                             QStringLiteral(
                                 "Select a custom paid date if desired. The default is today."));
                    paidDialog->findChild<QDateEdit*>(QStringLiteral("paidDate"))->setDate(paidDay);
                    paidDialog->accept();
                });
            sheet->accept();
        });
        QVERIFY(entrycommands::markEntries(
            m_env->context(), nullptr, mark ? Mark::Paid : Mark::Billed, weekStart(), weekEnd()));
        QString statuses;
        QString written;
        for (int i = 0; i < ids.size(); ++i) {
            const TimeEntry e = *entries().find(ids[i]);
            statuses += QString::number(int(e.status));
            written += e.modified == platform::Clock::nowFileTime() ? u'1' : u'0';
            if (mark == 1 && stamped[i] == u'1')
                QCOMPARE(platform::dateTimeOf(e.paidDate),
                         QDateTime(paidDay, test::TestEnvironment::fixedNow().time()));
            else
                QCOMPARE(e.paidDate, i == ids.size() - 1 ? platform::FileTime{} : oldPaid);
        }
        QCOMPARE(statuses, after);
        QCOMPARE(written, stamped);
        // The status line counts what was written.
        QTEST(m_env->ui().notices().value(0), "notice");
        QCOMPARE(m_env->ui().notices().size(), 1);
    }

    // Entries of one date-time, more than the walk reads ahead at once: each
    // is written once, none is skipped.
    void bulkMarkingWalksPastItsOwnWrites() {
        for (int i = 0; i < 600; ++i)
            addEntry(test::at(2026, 12, 9, 9), EntryStatus::Billable);
        addEntry(test::at(2026, 12, 10, 9), EntryStatus::Billed);
        int visits = 0;
        const EntryFilter criteria = presetCriteria(CriteriaMode::MarkPaid, weekStart(), weekEnd());
        const auto result = entrymarking::markEntries(
            m_env->store(), criteria, Mark::Paid, test::at(2026, 12, 1),
            platform::Clock::nowFileTime(), [&](const TimeEntry&) { ++visits; });
        QCOMPARE(result.result, WriteResult::Written);
        QCOMPARE(visits, 601);
        QCOMPARE(result.written, 601);
        QCOMPARE(result.changed, 601);
        for (const TimeEntry& e : allEntries())
            QCOMPARE(e.status, EntryStatus::Paid);
    }

    // A write refused part-way takes back every entry marked before it.
    void bulkMarkingIsAllOrNothing() {
        QList<quint32> ids;
        for (int i = 0; i < 40; ++i)
            ids.append(
                addEntry(test::at(2026, 12, 7, 8).addMinutes(i * 30), EntryStatus::Billable));
        const QList<TimeEntry> before = allEntries();
        QVERIFY(test::refuseRewriteOf(*m_env->store().objectStore(), ids[25]));
        test::onNextModal([](QDialog* sheet) { sheet->accept(); });
        QVERIFY(!entrycommands::markEntries(m_env->context(), nullptr, Mark::Billed, weekStart(),
                                            weekEnd()));
        QCOMPARE(m_env->ui().shownTexts().size(), 1);
        QVERIFY(m_env->ui().shownTexts().first().startsWith(QStringLiteral("Error: ")));
        QVERIFY(m_env->ui().shownTexts().first() != QStringLiteral("Error: 0"));
        const QList<TimeEntry> after = allEntries();
        QCOMPARE(after.size(), before.size());
        for (int i = 0; i < after.size(); ++i) {
            QCOMPARE(after[i].status, EntryStatus::Billable);
            QCOMPARE(after[i].modified, before[i].modified);
        }
        // The store is usable afterwards: the batch was closed.
        QCOMPARE(entrymarking::toggleStored<TimeEntry>(m_env->store(), ids[0], Mark::Billed,
                                                       platform::Clock::nowFileTime()),
                 WriteResult::Written);
    }

    void f1OpensTheDialogsTopics() {
        TimeEntry entry;
        entry.date = test::at(2026, 12, 7, 9);
        CopyEntryDialog copy(m_env->context(), entry);
        EntryCriteriaSheet sheet(m_env->context(), CriteriaMode::Any,
                                 presetCriteria(CriteriaMode::Any, weekStart(), weekEnd()));
        const std::pair<QDialog*, QString> dialogs[] = {{&copy, QStringLiteral("copy")},
                                                        {&sheet, QStringLiteral("criteria")}};
        for (const auto& [dialog, topic] : dialogs) {
            dialog->show();
            QVERIFY(QTest::qWaitForWindowExposed(dialog));
            dialog->activateWindow();
            QVERIFY(QTest::qWaitForWindowActive(dialog));
            QTest::keyClick(dialog, Qt::Key_F1);
            QVERIFY(HelpWindow::current());
            QCOMPARE(HelpWindow::current()->topic(), topic);
            HelpWindow::current()->close();
            dialog->hide();
        }
    }

    void cancelledCriteriaMarkNothing() {
        const quint32 id = addEntry(test::at(2026, 12, 8, 9), EntryStatus::Billable);
        test::onNextModal([](QDialog* sheet) { sheet->reject(); });
        QVERIFY(!entrycommands::markEntries(m_env->context(), nullptr, Mark::Paid, weekStart(),
                                            weekEnd()));
        QCOMPARE(entries().find(id)->status, EntryStatus::Billable);
    }
};

TEMPOLATCH_TEST(EntryChangeCommandsTest);
#include "EntryChangeCommandsTest.moc"
