#include <QAbstractItemView>
#include <QApplication>
#include <QCompleter>
#include <QLabel>
#include <QLineEdit>
#include <QSignalSpy>

#include "app/MainFrame.h"
#include "common/EnvironmentTest.h"
#include "common/ModalDialog.h"
#include "common/TestDates.h"
#include "common/TestRegistry.h"
#include "editing/QuickEntryBar.h"
#include "notes/NoteData.h"
#include "notes/NoteStream.h"
#include "platform/Registry.h"
#include "settings/Settings.h"
#include "store/ClientStructure.h"
#include "store/Rate.h"
#include "store/RecordStore.h"
#include "store/TimeEntries.h"
#include "store/TimeEntry.h"
#include "views/EntryListWidget.h"
#include "views/NavigationBar.h"
#include "views/PeriodView.h"
#include "views/SearchBox.h"
#include "widgets/CommandIds.h"

using namespace tempolatch;
using test::at;

// The quick entry line and the search box above the main window's list,
// used through the keyboard as a user would.
class EntryToolsTest : public test::EnvironmentTest {
    Q_OBJECT

    std::unique_ptr<MainFrame> m_frame;
    QList<quint32> m_ids;

    void addRate(quint32 clientId, qint32 cents) {
        Rate rate;
        rate.clientId = clientId;
        rate.description = QStringLiteral("Hourly");
        rate.rate = cents;
        QCOMPARE(ClientStructure(m_env->store()).rates().add(rate),
                 WriteResult::Written);
    }

    // Acme (Website/Design) at 85.00 and Beta without rates of its own;
    // the default rate 50.00. New entries are billable. Three entries this
    // week, one with a note.
    void addData() {
        QVERIFY(m_env->store().openAll());
        ClientStructure structure(m_env->store());
        for (const char* name : {"Acme", "Beta"}) {
            Client client{0, QString::fromLatin1(name), 0};
            QVERIFY(succeeded(structure.addClient(client)));
            if (client.name == QLatin1String("Acme")) {
                QVERIFY(succeeded(structure.addProjectTask(client.clientId, "Website", "Design")));
                addRate(client.clientId, 8500);
            }
        }
        addRate(0, 5000);
        const char* const notes[] = {"", "Fixed the header", ""};
        for (int i = 0; i < 3; ++i) {
            TimeEntry e;
            e.date = at(2026, 12, 7 + i, 9);
            e.client = i == 2 ? QStringLiteral("Beta") : QStringLiteral("Acme");
            e.task = QStringLiteral("Work");
            e.duration = 100;
            if (*notes[i])
                e.note = NoteData::fromContent(
                             {NoteText::fromPlainText(QString::fromLatin1(notes[i])), {}})
                             .bytes();
            QCOMPARE(TimeEntries(m_env->store()).add(e), WriteResult::Written);
            m_ids.append(e.recordId);
        }
        platform::Registry& reg = m_env->registry();
        const QString key = QString::fromLatin1(platform::Registry::AppKey);
        reg.createKey(key);
        reg.writeNumber(key, QStringLiteral("tlVersion"), Settings::CurrentVersion);
        reg.writeNumber(key, QStringLiteral("DefNewStyles"), NewEntriesBillable);
        reg.writeNumber(key, QStringLiteral("View"), PeriodView::Week);
        reg.writeNumber(key, QStringLiteral("ListStyle"), 1);
    }

    MainFrame& shownFrame() {
        m_frame = std::make_unique<MainFrame>(m_env->context());
        if (!m_frame->create())
            qWarning("the main window could not be created");
        m_frame->show();
        m_frame->activateWindow();
        if (!QTest::qWaitForWindowActive(m_frame.get()))
            qWarning("the main window is not active");
        m_frame->entryList()->widget()->setFocus();
        return *m_frame;
    }

    QList<quint32> shown() const { return m_frame->entryList()->recordIds(); }

    void press(QKeyCombination keys) {
        QTest::keyClick(QApplication::focusWidget(), keys.key(), keys.keyboardModifiers());
    }

    QLineEdit* quickLine() const { return m_frame->quickEntry()->line(); }
    QString quickMessage() const { return m_frame->quickEntry()->message()->text(); }

private Q_SLOTS:
    void init() {
        EnvironmentTest::init();
        m_ids.clear();
        addData();
    }
    void cleanup() {
        m_frame.reset();
        EnvironmentTest::cleanup();
    }

    // Ctrl+L, a line, Enter: the entry of the shown day, with the rate of
    // the rates setup, selected in the list; the line is ready for the next.
    void quickEntryWritesOnTheShownDay() {
        MainFrame& frame = shownFrame();
        frame.navigationBar()->runCommand(112);  // next week: it starts on Sunday the 13th
        press(Qt::CTRL | Qt::Key_L);
        QCOMPARE(QApplication::focusWidget(), quickLine());
        QTest::keyClicks(quickLine(), QStringLiteral("1.5h acme/web/design fixing the header"));
        QVERIFY2(quickMessage().contains(QStringLiteral("Acme / Website / Design")),
                 qPrintable(quickMessage()));
        press(Qt::Key_Return);

        const quint32 added = frame.entryList()->selectedRecordId();
        QVERIFY(added != 0 && !m_ids.contains(added));
        const TimeEntry entry = TimeEntries(m_env->store()).find(added).value();
        QCOMPARE(entry.date, at(2026, 12, 13));
        QCOMPARE(entry.duration, 150);
        QCOMPARE(QStringList({entry.client, entry.project, entry.task}),
                 QStringList({"Acme", "Website", "Design"}));
        QCOMPARE(noteToPlainText(entry.note), QStringLiteral("fixing the header"));
        QCOMPARE(entry.status, EntryStatus::Billable);
        QCOMPARE(entry.currency, QStringLiteral("USD"));
        QCOMPARE(entry.rate, 8500);
        QVERIFY(quickLine()->text().isEmpty());
        QCOMPARE(shown(), QList<quint32>{added});

        // A range gives the start time; a client without rates of its own
        // takes the first default rate.
        QTest::keyClicks(quickLine(), QStringLiteral("9:00-9:40 beta call"));
        press(Qt::Key_Return);
        const TimeEntry ranged = TimeEntries(m_env->store())
                                     .find(frame.entryList()->selectedRecordId())
                                     .value();
        QCOMPARE(ranged.date, at(2026, 12, 13, 9, 0, 1));
        QCOMPARE(ranged.duration, 67);
        QCOMPARE(ranged.rate, 5000);
    }

    // A completion picked with the keys goes into the line, and the Enter
    // that picks it writes nothing.
    void quickEntryCompletes() {
        MainFrame& frame = shownFrame();
        press(Qt::CTRL | Qt::Key_L);
        QTest::keyClicks(quickLine(), QStringLiteral("2h acme/"));
        QAbstractItemView* popup = frame.quickEntry()->completer()->popup();
        QTRY_VERIFY(popup->isVisible());
        QCOMPARE(popup->model()->rowCount(), 1);
        QTest::keyClick(popup, Qt::Key_Down);
        QTest::keyClick(popup, Qt::Key_Return);
        QCOMPARE(quickLine()->text(), QStringLiteral("2h acme/Website/"));
        QCoreApplication::processEvents();
        QCOMPARE(m_env->store().entries().recordCount(), 3);
        QTest::keyClicks(quickLine(), QStringLiteral("d"));
        QTRY_VERIFY(popup->isVisible());
        QCOMPARE(popup->model()->index(0, 0).data().toString(),
                 QStringLiteral("2h acme/Website/Design "));
        // Enter with no completion picked writes the line as it stands.
        QTest::keyClick(popup, Qt::Key_Return);
        QCOMPARE(m_env->store().entries().recordCount(), 4);
    }

    // What cannot be read or kept is said under the line, and nothing is written.
    void quickEntrySaysWhatItCannotRead_data() {
        QTest::addColumn<QString>("line");
        QTest::addColumn<QString>("said");
        QTest::newRow("unknown client") << "1h acmee"
                                        << "No client starts with \"acmee\"";
        QTest::newRow("no time") << "acme"
                                 << "Start with the time";
        // Durations are kept in 16 bits.
        QTest::newRow("too long to keep") << "655.36h acme"
                                          << "between 0 and 655.35 hours";
        QTest::newRow("the longest kept") << "655.35h acme"
                                          << "";
    }
    void quickEntrySaysWhatItCannotRead() {
        QFETCH(QString, line);
        QFETCH(QString, said);
        shownFrame();
        press(Qt::CTRL | Qt::Key_L);
        QTest::keyClicks(quickLine(), line);
        press(Qt::Key_Return);
        if (said.isEmpty()) {
            QCOMPARE(m_env->store().entries().recordCount(), 4);
            return;
        }
        QVERIFY2(quickMessage().contains(said), qPrintable(quickMessage()));
        QVERIFY(m_frame->quickEntry()->message()->isVisible());
        QCOMPARE(quickLine()->text(), line);
        QCOMPARE(m_env->store().entries().recordCount(), 3);
    }

    // Ctrl+F: the search box; the list narrows once the typing pauses, to
    // the entries whose texts or note hold every word; Ctrl+Shift+F is the
    // filter sheet, whose Show All leaves the search.
    void searchNarrowsTheList() {
        MainFrame& frame = shownFrame();
        QCOMPARE(shown().size(), 3);
        press(Qt::CTRL | Qt::Key_F);
        SearchBox* box = frame.searchBox();
        QCOMPARE(QApplication::focusWidget(), box);
        QSignalSpy said(box, &SearchBox::searchChanged);
        QTest::keyClicks(box, QStringLiteral("HEADER acme"));
        QTRY_COMPARE(shown(), QList<quint32>{m_ids[1]});
        QCOMPARE(said.size(), 1);  // once for the words, not once a key

        QStringList opened;
        test::onNextModal([&opened](QDialog* sheet) {
            opened << sheet->windowTitle();
            sheet->reject();
        });
        press(Qt::CTRL | Qt::SHIFT | Qt::Key_F);
        QTRY_COMPARE(opened.size(), 1);
        QCOMPARE(opened.first(), QStringLiteral("Filter"));
        frame.onCommand(cmd::FilterShowAll);
        QCOMPARE(shown(), QList<quint32>{m_ids[1]});

        QTest::keyClick(box, Qt::Key_Escape);
        QTRY_COMPARE(shown().size(), 3);
        QTest::keyClicks(box, QStringLiteral("beta"));
        QTRY_COMPARE(shown(), QList<quint32>{m_ids[2]});
    }
};

TEMPOLATCH_TEST(EntryToolsTest);
#include "EntryToolsTest.moc"
