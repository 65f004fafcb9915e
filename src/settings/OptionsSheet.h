#pragma once

#include <QDialog>
#include <QStringList>
#include <functional>

class QCheckBox;
class QDoubleSpinBox;
class QComboBox;
class QLabel;
class QLayout;
class QLineEdit;
class QPlainTextEdit;
class QSpinBox;
class QTabWidget;

namespace tempolatch {

struct Context;

namespace platform {
class Registry;
}
class OptionalNumber;
class Settings;
class StorePage;

// The Options sheet: eight pages ("View", "General", "Defaults", "Export",
// "Custom Fields 1", "Custom Fields 2", "Owner", "Invoice") filled from the
// settings when it opens. OK writes every page back; Cancel writes nothing.
class OptionsSheet : public QDialog {
    Q_OBJECT
public:
    // currencies: the Currency drop list, offered on the Defaults page.
    // registry: the profile's, where the sheet keeps its place.
    OptionsSheet(const Settings& settings, const QStringList& currencies,
                 platform::Registry& registry, QWidget* parent = nullptr);

    // What OK stores: every page into the settings.
    void writeTo(Settings& settings) const;
    // The currency as it will be stored (at most 15 characters).
    QString currency() const;
    // True when the soft-key box now differs from its value at opening.
    bool softKeysChanged() const;
    // The invoice sequence's next number (0: none), kept apart from the
    // settings.
    void setNextInvoiceNumber(quint32 number);
    quint32 nextInvoiceNumber() const;
    // What the logo's Browse button asks for an image file; empty: cancelled.
    void setLogoChooser(std::function<QString()> choose) { m_chooseLogo = std::move(choose); }

    QTabWidget* pages() const { return m_pages; }
    StorePage* storePage() const { return m_storePage; }

private:
    QWidget* buildViewPage(const Settings& s);
    QWidget* buildGeneralPage(const Settings& s);
    QWidget* buildDefaultsPage(const Settings& s, const QStringList& currencies);
    QWidget* buildExportPage(const Settings& s);
    QWidget* buildOwnerPage(const Settings& s);
    QLayout* buildLogoRow(const QString& path);
    QWidget* buildInvoicePage(const Settings& s);
    void showNextInvoice();
    QWidget* buildCustomFieldsPage(const QStringList& labels, const QStringList& values,
                                   QList<QLineEdit*>& edits, const QString& prefix);

    QTabWidget* m_pages;
    bool m_softKeysAtOpening = false;

    QComboBox* m_weekStart = nullptr;
    QComboBox* m_fontSize = nullptr;
    QCheckBox* m_bold = nullptr;
    QComboBox* m_itemTap = nullptr;
    QComboBox* m_timerStripPlace = nullptr;
    QCheckBox* m_weekNumbers = nullptr;
    QCheckBox* m_softKeys = nullptr;
    QCheckBox* m_precise = nullptr;
    QComboBox* m_interval = nullptr;
    QCheckBox* m_askClose = nullptr;
    OptionalNumber* m_idleLimit = nullptr;
    OptionalNumber* m_longTimer = nullptr;
    QCheckBox* m_billable = nullptr;
    QComboBox* m_currency = nullptr;
    QCheckBox* m_granularity = nullptr;
    QComboBox* m_minTime = nullptr;
    QComboBox* m_encoding = nullptr;
    QComboBox* m_breakSub = nullptr;
    QCheckBox* m_csvFormulaGuard = nullptr;
    QLabel* m_hourSymbolLabel = nullptr;
    QComboBox* m_hourSymbol = nullptr;
    QList<QLineEdit*> m_customFields;
    QList<QLineEdit*> m_expenseFields;
    QLineEdit* m_ownerName = nullptr;
    QLineEdit* m_ownerCompany = nullptr;
    QPlainTextEdit* m_ownerAddress = nullptr;
    QLineEdit* m_ownerLine1 = nullptr;
    QLineEdit* m_ownerLine2 = nullptr;
    QLineEdit* m_ownerLogo = nullptr;
    std::function<QString()> m_chooseLogo;
    QComboBox* m_hoursFormat = nullptr;
    QLineEdit* m_invoicePrefix = nullptr;
    QSpinBox* m_nextInvoice = nullptr;
    QSpinBox* m_paymentDays = nullptr;
    QList<std::pair<QLineEdit*, QDoubleSpinBox*>> m_taxes;  // name and rate
    QLineEdit* m_invoiceNote = nullptr;
    QLabel* m_nextInvoiceText = nullptr;
    StorePage* m_storePage = nullptr;
};

struct OptionsOutcome {
    bool accepted = false;
    bool softKeysChanged = false;
    // The profile was connected to another store (a server's, or its file
    // again): the window opens it.
    bool storeChanged = false;
};

// Runs the sheet modally on the context's settings. On OK the pages are written back
// and a currency not yet in the Currency drop list is added to it.
OptionsOutcome runOptionsSheet(Context& context, QWidget* owner);

}  // namespace tempolatch
