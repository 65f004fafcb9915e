#include <QLabel>
#include <QRegularExpression>
#include <QTreeWidgetItemIterator>

#include "app/MainFrame.h"
#include "common/EnvironmentTest.h"
#include "common/TestDates.h"
#include "common/TestRegistry.h"
#include "platform/Locale.h"
#include "platform/Registry.h"
#include "records/HoursTotal.h"
#include "records/MoneyTotals.h"
#include "settings/Settings.h"
#include "store/RecordStore.h"
#include "store/TimeEntries.h"
#include "store/TimeEntry.h"
#include "views/DefaultEntryList.h"
#include "views/EntryRowModel.h"
#include "views/SimpleEntryList.h"
#include "views/TreeEntryList.h"
#include "widgets/CommandIds.h"

using namespace tempolatch;
using test::at;

namespace {

const QString kKey = QString::fromLatin1(platform::Registry::AppKey);

// Hours and amounts as a total shows them: hours in hundredths (decimal)
// or minutes (h:mm), amounts in cents by currency.
struct Shown {
    qint64 hours = 0;
    QMap<QString, qint64> cents;

    Shown& operator+=(const Shown& other) {
        hours += other.hours;
        for (auto it = other.cents.cbegin(); it != other.cents.cend(); ++it)
            cents[it.key()] += it.value();
        return *this;
    }
    bool operator==(const Shown&) const = default;
};

QDebug operator<<(QDebug debug, const Shown& shown) {
    return debug << shown.hours << shown.cents;
}

// Reads "7.50h, EUR 1,085.12" (a separator or group) and "7.50 h, 5.00 h
// billable, EUR 1,085.12" (the status line) back into numbers; the
// billable hours are left out.
Shown parse(const QString& text) {
    static const QRegularExpression hours(QStringLiteral(R"(^(-?\d+)([.:])(\d\d) ?h?$)"));
    static const QRegularExpression amount(QStringLiteral(R"(^(?:(\S+) )?(-?[\d,]+)\.(\d\d)$)"));
    Shown shown;
    bool hoursRead = false;
    for (const QString& part : text.split(QStringLiteral(", "))) {
        if (part.endsWith(QStringLiteral("billable")))
            continue;
        if (const auto m = hours.match(part); m.hasMatch() && !hoursRead) {
            const qint64 whole = m.captured(1).toLongLong();
            const qint64 fraction = m.captured(3).toLongLong();
            shown.hours = whole * (m.captured(2) == u':' ? 60 : 100) + fraction;
            hoursRead = true;
        } else if (const auto a = amount.match(part); a.hasMatch()) {
            const qint64 units = a.captured(2).remove(u',').toLongLong();
            shown.cents[a.captured(1)] += units * 100 + a.captured(3).toLongLong();
        } else {
            qWarning() << "unreadable total" << part << "in" << text;
        }
    }
    return shown;
}

QString dayLabel(platform::FileTime date) {
    const auto st = platform::toSystemTime(date);
    return platform::Locale::formatDate(*st, QStringLiteral("ddd")) + u' ' +
           platform::Locale::shortDate(*st);
}

}  // namespace

// Every day separator and tree group adds up the records under it, and the
// separators add up to the status line's total of the period, in both
// hours formats and after a delete that takes rows out without a reload.
class ListTotalsTest : public test::EnvironmentTest {
    Q_OBJECT

    std::unique_ptr<MainFrame> m_frame;
    HoursFormat m_format = HoursFormat::Decimal;

    void addEntries() {
        QVERIFY(m_env->store().openAll());
        struct Sample {
            int day;
            qint32 duration;
            EntryStatus status;
            const char* client;
            const char* currency;
            qint32 rate;
        };
        // 0.66 h and 0.67 h both show 0:40; three 0.01 h are three minutes
        // as shown, though 0.03 h is two.
        const Sample samples[] = {
            {1, 66, EntryStatus::Billable, "Acme", "EUR", 7550},
            {1, 67, EntryStatus::Billable, "Acme", "EUR", 7550},
            {1, 150, EntryStatus::NonBillable, "Zeta", "EUR", 9900},
            {3, 1, EntryStatus::Billed, "Beta", "USD", 12345},
            {3, 1, EntryStatus::Billed, "Beta", "USD", 12345},
            {3, 1, EntryStatus::Paid, "Acme", "USD", 12345},
            {3, 425, EntryStatus::Paid, "Acme", "EUR", 6000},
            {9, 800, EntryStatus::Billable, "Beta", "", 10000},
            {31, 33, EntryStatus::Billable, "Zeta", "USD", 5050},
        };
        TimeEntries entries(m_env->store());
        for (const Sample& s : samples) {
            TimeEntry e;
            e.date = at(2026, 12, s.day, 9);
            e.duration = s.duration;
            e.status = s.status;
            e.client = QString::fromLatin1(s.client);
            e.project = QStringLiteral("Website");
            e.task = QStringLiteral("Work");
            e.currency = QString::fromLatin1(s.currency);
            e.rate = s.rate;
            QVERIFY(entries.add(e) == WriteResult::Written);
        }
        // Next month's entry is in no total.
        TimeEntry later;
        later.date = at(2027, 1, 1, 9);
        later.duration = 100;
        QVERIFY(entries.add(later) == WriteResult::Written);
    }

    Shown expected(const QList<quint32>& ids) {
        TimeEntries entries(m_env->store());
        Shown sum;
        for (const quint32 id : ids) {
            const auto e = entries.find(id);
            if (!e)
                continue;
            sum.hours +=
                m_format == HoursFormat::HoursMinutes ? minutesOf(e->duration) : e->duration;
            if (e->status != EntryStatus::NonBillable)
                sum.cents[e->currency] += centsOf(e->amount(false));
        }
        return sum;
    }

    QString statusLine() const {
        return m_frame->findChild<QLabel*>(QStringLiteral("periodTotals"))->text();
    }

    // Each separator against its rows; their sum.
    Shown checkSeparators(const EntryRowModel& model) {
        TimeEntries entries(m_env->store());
        Shown all;
        int separators = 0;
        for (int row = 0; row < model.rowCount();) {
            if (!model.isSeparator(row)) {
                qWarning("a row before the first separator");
                return {};
            }
            const EntryRow& heading = model.rowAt(row++);
            ++separators;
            QList<quint32> ids;
            for (; row < model.rowCount() && !model.isSeparator(row); ++row) {
                ids.append(model.rowAt(row).recordId);
                if (heading.lines.value(0) != dayLabel(entries.find(ids.last())->date))
                    qWarning() << "row" << ids.last() << "under" << heading.lines;
            }
            if (ids.isEmpty())
                qWarning() << "an empty separator" << heading.lines;
            if (parse(heading.line1Right) != expected(ids))
                qWarning() << heading.line1Right << "is not" << expected(ids);
            all += parse(heading.line1Right);
        }
        return all;
    }

    QList<quint32> recordsUnder(QTreeWidgetItem* group) {
        QList<quint32> ids;
        for (int i = 0; i < group->childCount(); ++i) {
            QTreeWidgetItem* child = group->child(i);
            if (const quint32 id = child->data(0, TreeEntryList::RecordIdRole).toUInt())
                ids.append(id);
            else
                ids << recordsUnder(child);
        }
        return ids;
    }

    // Every group node against its records; the date nodes' sum.
    Shown checkGroups(TreeEntryList& tree) {
        Shown all;
        for (QTreeWidgetItemIterator it(&tree); *it; ++it) {
            QTreeWidgetItem* item = *it;
            const QString own = item->data(0, TreeEntryList::GroupTextRole).toString();
            if (own.isEmpty())
                continue;
            const QString text = item->text(0);
            if (!text.startsWith(own + QStringLiteral("  (")) || !text.endsWith(u')')) {
                qWarning() << "no totals in" << text;
                continue;
            }
            const Shown shown = parse(text.mid(own.size() + 3).chopped(1));
            if (shown != expected(recordsUnder(item)))
                qWarning() << text << "is not" << expected(recordsUnder(item));
            if (!item->parent())
                all += shown;
        }
        return all;
    }

    Shown checkList() {
        EntryList* list = m_frame->entryList();
        if (auto* tree = dynamic_cast<TreeEntryList*>(list))
            return checkGroups(*tree);
        return checkSeparators(dynamic_cast<RowEntryList*>(list)->rowModel());
    }

    // The month of December 2026 in a list of that style, with every tree
    // group and the hours in m_format.
    bool createFrame(int listStyle) {
        platform::Registry& reg = m_env->registry();
        reg.createKey(kKey);
        reg.writeNumber(kKey, QStringLiteral("tlVersion"), Settings::CurrentVersion);
        reg.writeNumber(kKey, QStringLiteral("DefNewStyles"), 0);
        reg.writeNumber(kKey, QStringLiteral("View"), 3);
        reg.writeNumber(kKey, QStringLiteral("ListStyle"), quint32(listStyle));
        reg.writeNumber(kKey, QStringLiteral("TreeOptions"), 0x1f);
        reg.writeNumber(kKey, QStringLiteral("HoursFormat"), quint32(m_format));
        m_frame = std::make_unique<MainFrame>(m_env->context());
        return m_frame->create();
    }

    void select(quint32 id) {
        EntryList* list = m_frame->entryList();
        if (auto* tree = dynamic_cast<TreeEntryList*>(list)) {
            tree->clearSelection();
            tree->setCurrentItem(tree->itemOf(id));
            return;
        }
        auto* rows = dynamic_cast<RowEntryList*>(list);
        auto* view = dynamic_cast<QAbstractItemView*>(rows->widget());
        view->selectionModel()->setCurrentIndex(
            rows->rowModel().index(rows->rowModel().rowOf(id), 0),
            QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    }

private Q_SLOTS:
    void init() {
        EnvironmentTest::init();
        addEntries();
    }
    void cleanup() {
        m_frame.reset();
        EnvironmentTest::cleanup();
    }

    void totalsAddUp_data() {
        QTest::addColumn<int>("listStyle");
        QTest::addColumn<int>("format");
        for (const int style : {0, 1, 2}) {
            for (const HoursFormat format : {HoursFormat::Decimal, HoursFormat::HoursMinutes}) {
                QTest::addRow("style %d, %s", style,
                              format == HoursFormat::Decimal ? "decimal" : "h:mm")
                    << style << int(format);
            }
        }
    }

    void totalsAddUp() {
        QFETCH(int, listStyle);
        QFETCH(int, format);
        m_format = HoursFormat(format);
        QVERIFY(createFrame(listStyle));
        const QList<quint32> shown = m_frame->entryList()->recordIds();
        QCOMPARE(shown.size(), 9);

        QTest::failOnWarning(QRegularExpression(QStringLiteral(".*")));
        const Shown period = parse(statusLine());
        QCOMPARE(period, expected(shown));
        QCOMPARE(checkList(), period);
        if (m_format == HoursFormat::HoursMinutes)
            QVERIFY(statusLine().startsWith(QStringLiteral("15:28 h, ")));

        // The one entry of the 31st, then one of the three of the 1st.
        for (const quint32 id : {shown.last(), shown.first()}) {
            select(id);
            m_env->ui().queueAnswer(platform::Answer::Yes);
            QVERIFY(m_frame->onCommand(cmd::Delete));
            QVERIFY(!m_frame->entryList()->recordIds().contains(id));
            QCOMPARE(checkList(), parse(statusLine()));
        }
        QCOMPARE(parse(statusLine()), expected(m_frame->entryList()->recordIds()));
    }

    // The arrows step from the last entry of a day to the first of the
    // next, over the separator; Ctrl+A selects every entry and no separator.
    void keysPassOverSeparators_data() {
        QTest::addColumn<int>("listStyle");
        QTest::newRow("default") << 0;
        QTest::newRow("simple") << 1;
    }

    void keysPassOverSeparators() {
        QFETCH(int, listStyle);
        m_format = HoursFormat::Decimal;
        QVERIFY(createFrame(listStyle));
        m_frame->show();
        EntryList* list = m_frame->entryList();
        const QList<quint32> shown = list->recordIds();
        select(shown[2]);  // the last of the 1st
        QWidget* widget = dynamic_cast<EntryListWidget*>(list)->widget();
        QTest::keyClick(widget, Qt::Key_Down);
        QCOMPARE(list->selectedRecordIds(), QList<quint32>{shown[3]});
        QTest::keyClick(widget, Qt::Key_Up);
        QCOMPARE(list->selectedRecordIds(), QList<quint32>{shown[2]});
        QTest::keyClick(widget, Qt::Key_Down, Qt::ShiftModifier);
        QCOMPARE(list->selectedRecordIds(), (QList<quint32>{shown[2], shown[3]}));
        QTest::keyClick(widget, Qt::Key_A, Qt::ControlModifier);
        QCOMPARE(list->selectedRecordIds(), shown);
    }
};

TEMPOLATCH_TEST(ListTotalsTest);
#include "ListTotalsTest.moc"
