#include <QCheckBox>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTabWidget>

#include "common/EnvironmentTest.h"
#include "common/ModalDialog.h"
#include "common/TestRegistry.h"
#include "platform/Registry.h"
#include "settings/InvoiceNumbers.h"
#include "settings/OptionsSheet.h"
#include "settings/Settings.h"
#include "store/Lists.h"
#include "store/ListsDatabase.h"
#include "store/RecordStore.h"
#include "widgets/HelpWindow.h"

using namespace tempolatch;

namespace {

QStringList items(const QComboBox* combo) {
    QStringList out;
    for (int i = 0; i < combo->count(); ++i)
        out.append(combo->itemText(i));
    return out;
}

// Every value the sheet shows, as text, to compare settings as a whole.
QStringList describe(const Settings& s) {
    return {QString::number(s.flags, 16),
            QString::number(s.fontSize),
            QString::number(s.timeInterval),
            QString::number(s.askClose),
            s.defaultCurrency,
            QString::number(s.minTime),
            QString::number(s.encoding),
            QString::number(s.breakSub),
            QString::number(s.hourSymbol),
            s.custom1,
            s.custom2,
            s.custom3,
            s.expenseCustom1,
            s.expenseCustom2};
}

QStringList currencies() {
    ListsByKind lists(test::TestEnvironment::current().store().objectStore());
    return lists.open() ? lists.texts(ListKind::Currency) : QStringList{QStringLiteral("<none>")};
}

}  // namespace

class OptionsSheetTest : public test::EnvironmentTest {
    Q_OBJECT

    template <typename T>
    static T* child(QWidget* sheet, const char* name) {
        T* widget = sheet->findChild<T*>(QString::fromLatin1(name));
        if (!widget)
            qWarning("no %s", name);
        return widget;
    }

private Q_SLOTS:
    void init() {
        EnvironmentTest::init();
        QVERIFY(m_env->store().openAll());
    }
    void cleanup() {
        if (HelpWindow* help = HelpWindow::current())
            delete help;
        EnvironmentTest::cleanup();
    }

    void pagesControlsAndTexts() {
        Settings s;
        OptionsSheet sheet(s, {QStringLiteral("EUR")}, m_env->registry());
        QCOMPARE(sheet.windowTitle(), QStringLiteral("Options"));
        QStringList tabs;
        for (int i = 0; i < sheet.pages()->count(); ++i)
            tabs.append(sheet.pages()->tabText(i));
        QCOMPARE(tabs, QStringList({"View", "General", "Defaults", "Export", "Custom Fields 1",
                                    "Custom Fields 2", "Owner", "Invoice", "Store"}));

        QCOMPARE(items(child<QComboBox>(&sheet, "weekStart")), QStringList({"Sunday", "Monday"}));
        QCOMPARE(items(child<QComboBox>(&sheet, "fontSize")), QStringList({"7", "8", "9"}));
        QCOMPARE(items(child<QComboBox>(&sheet, "itemTap")), QStringList({"Edit", "Preview"}));
        QCOMPARE(
            items(child<QComboBox>(&sheet, "durationInterval")),
            QStringList({"10 minutes", "15 minutes", "20 minutes", "30 minutes", "6 minutes"}));
        QCOMPARE(items(child<QComboBox>(&sheet, "minTime")),
                 QStringList({"6", "10", "15", "20", "30", "40", "45", "50"}));
        QCOMPARE(items(child<QComboBox>(&sheet, "encoding")),
                 QStringList({"(Default)", "UTF-8", "UTF-16", "ISO-8859-1", "Big-5", "Shift-JIS"}));
        QCOMPARE(items(child<QComboBox>(&sheet, "breakSub")),
                 QStringList({"1 space", "2 spaces", "~`", "|"}));
        QCOMPARE(items(child<QComboBox>(&sheet, "hourSymbol")), QStringList({"(None)", "h", "hr"}));
        QCOMPARE(items(child<QComboBox>(&sheet, "currency")), QStringList({"EUR"}));
        QCOMPARE(child<QComboBox>(&sheet, "currency")->currentText(), QStringLiteral("USD"));

        QStringList labels;
        for (const QLabel* label : sheet.findChildren<QLabel*>())
            labels.append(label->text());
        for (const char* expected :
             {"Main View Options", "Special Options", "New Entry Defaults",
              "Week start:", "Font size:", "Item tap option:", "Duration interval:", "Currency:",
              "Encoding:", "Replace line break with:", "Hour symbol:",
              "Description for custom field 3:", "Description for expense custom field 2:"}) {
            QVERIFY2(labels.contains(QString::fromLatin1(expected)), expected);
        }

        // The hour symbol is kept but not offered; the soft keys are offered.
        sheet.show();
        for (const char* name : {"hourSymbol", "hourSymbolLabel"}) {
            QWidget* w = child<QWidget>(&sheet, name);
            QVERIFY(!w->isVisibleTo(&sheet));
            QVERIFY(!w->isEnabled());
        }
        sheet.pages()->setCurrentIndex(0);
        QVERIFY(child<QCheckBox>(&sheet, "softKeys")->isVisibleTo(&sheet));
        QVERIFY(child<QCheckBox>(&sheet, "softKeys")->isEnabled());
    }

    void writesEveryPageBack() {
        Settings s;
        s.flags = 0x4 | OwnerBlockOnInvoices | 0x400;  // bits the sheet does not own
        s.hourSymbol = 2;
        OptionsSheet sheet(s, {}, m_env->registry());

        child<QComboBox>(&sheet, "weekStart")->setCurrentIndex(1);
        child<QComboBox>(&sheet, "fontSize")->setCurrentIndex(2);
        child<QCheckBox>(&sheet, "bold")->setChecked(true);
        child<QComboBox>(&sheet, "itemTap")->setCurrentIndex(1);
        child<QCheckBox>(&sheet, "showWeekNumber")->setChecked(true);
        child<QCheckBox>(&sheet, "softKeys")->setChecked(true);
        child<QCheckBox>(&sheet, "preciseCalculation")->setChecked(true);
        child<QComboBox>(&sheet, "durationInterval")->setCurrentIndex(4);
        child<QCheckBox>(&sheet, "askClose")->setChecked(true);
        child<QCheckBox>(&sheet, "billable")->setChecked(true);
        QLineEdit* currency = child<QComboBox>(&sheet, "currency")->lineEdit();
        currency->clear();
        QTest::keyClicks(currency, QStringLiteral(" Swiss Francs CHF and more"));
        child<QComboBox>(&sheet, "encoding")->setCurrentIndex(5);
        child<QComboBox>(&sheet, "breakSub")->setCurrentIndex(3);
        QVERIFY(child<QCheckBox>(&sheet, "csvFormulaGuard")->isChecked());  // on by default
        child<QCheckBox>(&sheet, "csvFormulaGuard")->setChecked(false);
        QLineEdit* custom1 = child<QLineEdit>(&sheet, "custom1");
        custom1->clear();
        QTest::keyClicks(custom1, QString(70, QLatin1Char('k')));
        child<QLineEdit>(&sheet, "custom3")->setText(QStringLiteral("Site"));
        child<QLineEdit>(&sheet, "expenseCustom2")->setText(QStringLiteral("Vehicle"));
        child<QLineEdit>(&sheet, "ownerName")->setText(QStringLiteral("Ann Smith"));
        child<QPlainTextEdit>(&sheet, "ownerAddress")
            ->setPlainText(QStringLiteral("1 Main St\nSpringfield"));
        child<QLineEdit>(&sheet, "ownerLine2")->setText(QStringLiteral("VAT 1"));
        child<QLineEdit>(&sheet, "invoicePrefix")->setText(QStringLiteral("INV-"));
        child<QSpinBox>(&sheet, "paymentDays")->setValue(14);
        child<QLineEdit>(&sheet, "taxName1")->setText(QStringLiteral(" VAT "));
        child<QDoubleSpinBox>(&sheet, "taxRate1")->setValue(7.7);
        child<QComboBox>(&sheet, "hoursFormat")->setCurrentIndex(1);
        sheet.setLogoChooser([] { return QStringLiteral("/pictures/logo.png"); });
        QTest::mouseClick(child<QPushButton>(&sheet, "browseLogo"), Qt::LeftButton);

        QVERIFY(sheet.softKeysChanged());
        Settings out = s;
        sheet.writeTo(out);
        QCOMPARE(out.flags, quint32(0x4 | 0x400 | OwnerBlockOnInvoices | WeekStartsMonday |
                                    BoldListFont | TapPreviews | ShowWeekNumbers | SoftKeyMenus |
                                    PreciseCalculation | NewEntriesBillable));
        QCOMPARE(out.fontSize, quint16(2));
        QCOMPARE(out.timeInterval, quint16(4));
        QVERIFY(out.askClose);
        // Fifteen characters typed, then the blank in front dropped.
        QCOMPARE(out.defaultCurrency, QStringLiteral("Swiss Francs C"));
        QCOMPARE(out.encoding, quint16(5));
        QCOMPARE(out.breakSub, quint16(3));
        QVERIFY(!out.csvFormulaGuard);
        QCOMPARE(out.hourSymbol, quint16(2));
        QCOMPARE(out.custom1, QString(63, QLatin1Char('k')));
        QCOMPARE(out.custom2, QStringLiteral("Custom 2"));
        QCOMPARE(out.custom3, QStringLiteral("Site"));
        QCOMPARE(out.expenseCustom1, QStringLiteral("Custom 1"));
        QCOMPARE(out.expenseCustom2, QStringLiteral("Vehicle"));
        QCOMPARE(out.owner, (OwnerInfo{QStringLiteral("Ann Smith"), QString(),
                                       QStringLiteral("1 Main St\nSpringfield"), QString(),
                                       QStringLiteral("VAT 1")}));
        QCOMPARE(out.invoice.numberPrefix, QStringLiteral("INV-"));
        QCOMPARE(out.invoice.paymentDays, 14u);
        QCOMPARE(out.invoice.taxes[0], (TaxLine{QStringLiteral("VAT"), 770}));
        QVERIFY(!out.invoice.taxes[1].isSet());
        QCOMPARE(out.hoursFormat, HoursFormat::HoursMinutes);
        QCOMPARE(out.ownerLogo, QStringLiteral("/pictures/logo.png"));
    }

    // The idle limit and the long-timer hours: off by default, the number
    // offered only while checked, held to its range.
    void timerWatchOptions_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<int>("typed");  // held to the range
        QTest::addColumn<int>("stored");
        QTest::newRow("idle 4 minutes") << "idleLimit" << 4 << 5;
        QTest::newRow("idle 120 minutes") << "idleLimit" << 120 << 120;
        QTest::newRow("idle 121 minutes") << "idleLimit" << 121 << 120;
        QTest::newRow("idle off") << "idleLimit" << 0 << 0;
        QTest::newRow("8 hours") << "longTimer" << 8 << 8;
        QTest::newRow("25 hours") << "longTimer" << 25 << 24;
        QTest::newRow("hours off") << "longTimer" << 0 << 0;
    }
    void timerWatchOptions() {
        QFETCH(QString, name);
        QFETCH(int, typed);
        const Settings s;
        OptionsSheet sheet(s, {}, m_env->registry());
        auto* on = sheet.findChild<QCheckBox*>(name);
        auto* number = sheet.findChild<QSpinBox*>(name + QStringLiteral("Value"));
        QVERIFY(on && number);
        QVERIFY(!on->isChecked() && !number->isEnabled());
        on->setChecked(typed > 0);
        QCOMPARE(number->isEnabled(), typed > 0);
        number->setValue(typed);
        Settings out = s;
        sheet.writeTo(out);
        QTEST(int(name == QLatin1String("idleLimit") ? out.idleMinutes : out.longTimerHours),
              "stored");
    }

    void granularityMinutesFollowTheBox_data() {
        QTest::addColumn<bool>("onAtOpening");
        QTest::addColumn<bool>("onAtOk");
        QTest::addColumn<int>("expected");
        QTest::newRow("on, stays on") << true << true << 45;
        QTest::newRow("off, turned on") << false << true << 45;
        QTest::newRow("on, turned off") << true << false << 20;
        QTest::newRow("off, stays off") << false << false << 20;
    }
    void granularityMinutesFollowTheBox() {
        QFETCH(bool, onAtOpening);
        QFETCH(bool, onAtOk);
        QFETCH(int, expected);
        Settings s;
        s.minTime = 20;
        s.setFlag(DurationGranularity, onAtOpening);
        OptionsSheet sheet(s, {}, m_env->registry());
        QComboBox* minutes = child<QComboBox>(&sheet, "minTime");
        QCOMPARE(minutes->currentText(), QStringLiteral("20"));
        QCOMPARE(minutes->isEnabled(), onAtOpening);
        child<QCheckBox>(&sheet, "granularity")->setChecked(onAtOk);
        QCOMPARE(minutes->isEnabled(), onAtOk);
        if (minutes->isEnabled())
            minutes->setCurrentIndex(6);  // 45
        sheet.writeTo(s);
        QCOMPARE(s.hasFlag(DurationGranularity), onAtOk);
        QCOMPARE(int(s.minTime), expected);
    }

    void acceptedStoresAndCancelledKeeps_data() {
        QTest::addColumn<bool>("accept");
        QTest::addColumn<QString>("currency");
        QTest::addColumn<QStringList>("listAfterOk");
        const QStringList start = {QStringLiteral("EUR"), QStringLiteral("GBP")};
        QTest::newRow("new currency") << true << "CHF" << (QStringList(start) << "CHF");
        QTest::newRow("known currency") << true << "GBP" << start;
        QTest::newRow("empty currency") << true << "" << start;
        QTest::newRow("cancelled") << false << "CHF" << start;
    }
    void acceptedStoresAndCancelledKeeps() {
        QFETCH(bool, accept);
        QFETCH(QString, currency);
        QFETCH(QStringList, listAfterOk);
        QCOMPARE(Lists(m_env->store().objectStore()).add(ListKind::Currency, QStringLiteral("EUR")),
                 WriteResult::Written);
        QCOMPARE(Lists(m_env->store().objectStore()).add(ListKind::Currency, QStringLiteral("GBP")),
                 WriteResult::Written);
        Settings& s = m_env->settings();
        const QStringList before = describe(s);

        test::onNextModal([&](QDialog* dialog) {
            auto* combo = dialog->findChild<QComboBox*>(QStringLiteral("currency"));
            QCOMPARE(items(combo), QStringList({"EUR", "GBP"}));
            combo->setCurrentText(currency);
            dialog->findChild<QCheckBox*>(QStringLiteral("askClose"))->setChecked(true);
            dialog->findChild<QLineEdit*>(QStringLiteral("custom2"))
                ->setText(QStringLiteral("Job"));
            accept ? dialog->accept() : dialog->reject();
        });
        const OptionsOutcome outcome = runOptionsSheet(m_env->context(), nullptr);

        QCOMPARE(outcome.accepted, accept);
        QVERIFY(!outcome.softKeysChanged);
        QCOMPARE(currencies(), listAfterOk);
        if (!accept) {
            QCOMPARE(describe(s), before);
            return;
        }
        QCOMPARE(s.defaultCurrency, currency);
        QVERIFY(s.askClose);
        QCOMPARE(s.custom2, QStringLiteral("Job"));
    }

    // The sheet shows the sequence's number as it is when it opens, and
    // writes it only when changed: a number taken by an invoice written
    // meanwhile is not taken back.
    void nextInvoiceNumberIsWrittenOnlyWhenChanged_data() {
        QTest::addColumn<int>("typed");  // held to the range  // -1: left as shown
        QTest::addColumn<quint32>("after");
        QTest::newRow("changed") << 500 << 500u;
        QTest::newRow("left alone") << -1 << 42u;
    }
    void nextInvoiceNumberIsWrittenOnlyWhenChanged() {
        QFETCH(int, typed);
        QFETCH(quint32, after);
        platform::Registry& registry = m_env->registry();
        QVERIFY(invoicenumbers::setNext(registry, 40));
        m_env->settings().invoice.numberPrefix = QStringLiteral("INV-");
        test::onNextModal([&](QDialog* dialog) {
            auto* next = dialog->findChild<QSpinBox*>(QStringLiteral("nextInvoice"));
            QCOMPARE(next->value(), 40);
            QVERIFY(dialog->findChild<QLabel*>(QStringLiteral("nextInvoiceText"))
                        ->text()
                        .contains(QStringLiteral("INV-40")));
            // Two invoices written by a script while the sheet is open.
            invoicenumbers::take(registry);
            invoicenumbers::take(registry);
            if (typed >= 0)
                next->setValue(typed);
            dialog->accept();
        });
        runOptionsSheet(m_env->context(), nullptr);
        QCOMPARE(invoicenumbers::next(registry), after);
    }

    void f1OpensTheOptionsTopic() {
        Settings s;
        OptionsSheet sheet(s, {}, m_env->registry());
        sheet.show();
        QVERIFY(QTest::qWaitForWindowExposed(&sheet));
        sheet.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&sheet));
        QTest::keyClick(&sheet, Qt::Key_F1);
        QVERIFY(HelpWindow::current());
        QCOMPARE(HelpWindow::current()->topic(), QStringLiteral("options"));
    }
};

TEMPOLATCH_TEST(OptionsSheetTest);
#include "OptionsSheetTest.moc"
