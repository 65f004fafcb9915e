#include "settings/Settings.h"

#include <QStandardPaths>
#include <QtEndian>

#include "platform/PlatformInfo.h"
#include "platform/Registry.h"
#include "platform/StringTable.h"

namespace tempolatch {

using platform::Registry;

namespace {

const QString kKey = QString::fromLatin1(Registry::AppKey);

// 31 characters and the terminator.
constexpr int kInvoicePrefixBytes = 64;
constexpr quint32 kMostPaymentDays = 365;
constexpr int kTaxNameBytes = 64;
// Each tax's name and rate.
constexpr std::array<std::pair<const char*, const char*>, 2> kTaxValues = {
    {{"Tax1Name", "Tax1Rate"}, {"Tax2Name", "Tax2Rate"}}};
constexpr quint32 kMostTaxRate = 10000;  // 100 %
constexpr int kInvoiceNoteBytes = 512;
constexpr int kOwnerLogoBytes = 520;  // a path, as DbPath

QString name(const char* value) {
    return QString::fromLatin1(value);
}

// A text kept only while it says something: an empty one removes its value.
// `byteSize` as writeString takes it.
void writeTextOrDelete(Registry& reg, const QString& value, const QString& text, int byteSize) {
    if (text.isEmpty())
        reg.deleteValue(kKey, value);
    else
        reg.writeString(kKey, value, text, byteSize);
}

struct OwnerValue {
    const char* value;
    QString* field;
    int maxBytes;
};

// The owner block's values and their sizes in bytes (with the terminator).
std::array<OwnerValue, 5> ownerValues(OwnerInfo& owner) {
    return {{{"OwnerName", &owner.name, 130},
             {"OwnerCompany", &owner.company, 130},
             {"OwnerAddress", &owner.address, 514},
             {"OwnerLine1", &owner.line1, 130},
             {"OwnerLine2", &owner.line2, 130}}};
}

// A number whose value is one of the allowed ones; anything else (a damaged
// or hand-edited registry) falls back to the default.
template <typename T>
T readChoice(const Registry& reg, const char* value, T fallback, quint32 first, quint32 last) {
    const auto v = reg.readNumber(kKey, name(value));
    if (!v || *v < first || *v > last)
        return fallback;
    return T(*v);
}

QString documentsFolder() {
    return QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
}

bool softKeysByDefault() {
    return platform::PlatformMajorVersion >= 5 && platform::SoftKeysByDefault;
}

}  // namespace

Settings::Settings()
    : custom1(resourceString(str::Custom1)),
      custom2(resourceString(str::Custom2)),
      custom3(resourceString(str::Custom3)),
      expenseCustom1(resourceString(str::Custom1)),
      expenseCustom2(resourceString(str::Custom2)) {}

int Settings::timeIntervalMinutes() const {
    return TimeIntervalMinutes[timeInterval < 5 ? timeInterval : 3];
}

void Settings::load(Registry& reg) {
    bool newKey = false;
    if (!reg.keyExists(kKey)) {
        if (!reg.createKey(kKey))
            return;
        newKey = true;
    }
    version = newKey ? CurrentVersion : reg.readNumber(kKey, name("tlVersion")).value_or(250);
    clearType = clearTypeOn(reg);
    loadFlags(reg, newKey);
    loadNumbers(reg);
    loadTexts(reg);
    if (!newKey && version >= 280)
        treeOptions = reg.readNumber(kKey, name("TreeOptions")).value_or(0);
    else
        treeOptions |= 0x1F;
    loadViewCust(reg);
    loadPeriods(reg);
    reg.deleteValue(kKey, name("DefReport"));
}

void Settings::loadFlags(Registry& reg, bool newKey) {
    if (version >= 270) {
        const quint32 stored = reg.readNumber(kKey, name("DefNewStyles")).value_or(0);
        if (!newKey) {
            flags = stored;
        } else {
            setFlag(BoldListFont, true);
            if (softKeysByDefault())
                setFlag(SoftKeyMenus, true);
        }
        return;
    }
    // Older versions kept these options at other bits.
    const quint32 old = reg.readNumber(kKey, name("DefNewStyles")).value_or(16);
    setFlag(BoldListFont, old & 0x10);
    setFlag(TapPreviews, old & 0x2);
    setFlag(NewEntriesBillable, old & 0x1);
    setFlag(ShowWeekNumbers, old & 0x8000);
    setFlag(DurationGranularity, old & 0x4000);
    setFlag(PreciseCalculation, old & 0x2000);
    if (softKeysByDefault())
        setFlag(SoftKeyMenus, true);
}

void Settings::loadNumbers(Registry& reg) {
    fontSize = readChoice<quint16>(reg, "FSize", 1, 0, 2);
    view = readChoice<quint32>(reg, "View", 2, 1, 4);
    expView = readChoice<quint32>(reg, "ExpView", 3, 1, 4);
    listStyle = readChoice<quint32>(reg, "ListStyle", 0, 0, 2);
    expListStyle = readChoice<quint32>(reg, "ExpListStyle", 0, 0, 2);
    encoding = readChoice<quint16>(reg, "Encoding", 0, 0, 5);
    breakSub = readChoice<quint16>(reg, "BreakSub", 0, 0, 3);
    csvFormulaGuard = readChoice<quint16>(reg, "CsvFormulaGuard", 1, 0, 1) != 0;
    const quint16 min = readChoice<quint16>(reg, "MinTime", 15, 6, 50);
    minTime = std::find(std::begin(MinTimeChoices), std::end(MinTimeChoices), min) !=
                      std::end(MinTimeChoices)
                  ? min
                  : 15;
    timeInterval = readChoice<quint16>(reg, "TimeInterval", 3, 0, 4);
    // Off, or a limit in the range offered.
    idleMinutes = readChoice<quint16>(reg, "IdleMinutes", 0, 0, MostIdleMinutes);
    if (idleMinutes < LeastIdleMinutes)
        idleMinutes = 0;
    longTimerHours = readChoice<quint16>(reg, "LongTimerHours", 0, 0, MostLongTimerHours);
    sort = readChoice<quint16>(reg, "Sort", 0, 0, 8);
    expSort = readChoice<quint16>(reg, "ExpSort", 0, 0, 8);
    hourSymbol = readChoice<quint16>(reg, "HourSymbol", 1, 0, 2);
    hoursFormat = HoursFormat(readChoice<quint16>(reg, "HoursFormat", 0, 0, 1));
    timerStripPlace = readChoice<quint16>(reg, "TimerStripPlace", 0, 0, 1);
    askClose = reg.readNumber(kKey, name("AskClose")) == 1u;
}

void Settings::loadTexts(Registry& reg) {
    custom1 = reg.readString(kKey, name("Custom1"), 64).value_or(resourceString(str::Custom1));
    custom2 = reg.readString(kKey, name("Custom2"), 64).value_or(resourceString(str::Custom2));
    custom3 = reg.readString(kKey, name("Custom3"), 64).value_or(resourceString(str::Custom3));
    expenseCustom1 =
        reg.readString(kKey, name("ExpenseCustom1"), 64).value_or(resourceString(str::Custom1));
    expenseCustom2 =
        reg.readString(kKey, name("ExpenseCustom2"), 64).value_or(resourceString(str::Custom2));
    defaultCurrency = reg.readString(kKey, name("DefCurr"), 32).value_or(QStringLiteral("USD"));
    for (int i = 0; i < 5; ++i)
        defaultReports[i] =
            reg.readString(kKey, QStringLiteral("DefReport%1").arg(i), 128).value_or(QString());
    dbPath = reg.readString(kKey, name("DbPath"), 520).value_or(documentsFolder());
    for (auto [value, field, size] : ownerValues(owner))
        *field = reg.readString(kKey, name(value), size).value_or(QString());
    ownerLogo = reg.readString(kKey, name("OwnerLogo"), kOwnerLogoBytes).value_or(QString());
    invoice.numberPrefix =
        reg.readString(kKey, name("InvoicePrefix"), kInvoicePrefixBytes).value_or(QString());
    invoice.paymentDays = readChoice<quint32>(reg, "PaymentDays", 0, 0, kMostPaymentDays);
    for (size_t i = 0; i < kTaxValues.size(); ++i) {
        const auto [nameValue, rateValue] = kTaxValues[i];
        TaxLine& tax = invoice.taxes[i];
        tax.name = reg.readString(kKey, name(nameValue), kTaxNameBytes).value_or(QString());
        tax.rate = readChoice<quint32>(reg, rateValue, 0, 0, kMostTaxRate);
    }
    invoice.note = reg.readString(kKey, name("InvoiceNote"), kInvoiceNoteBytes).value_or(QString());
}

void Settings::loadViewCust(Registry& reg) {
    const auto bytes = reg.readBytes(kKey, name("ViewCust"));
    if (!bytes || (bytes->size() != 20 && bytes->size() != 24))
        return;
    quint32 w[6] = {};
    for (qsizetype i = 0; i < bytes->size() / 4; ++i)
        w[i] = qFromLittleEndian<quint32>(bytes->constData() + 4 * i);
    if (bytes->size() == 20)
        viewCust = {w[0], w[1], w[2], w[3], 0, w[4]};  // the fifth word came later
    else
        viewCust = {w[0], w[1], w[2], w[3], w[4], w[5]};
}

void Settings::loadPeriods(Registry& reg) {
    // A period that names no real day is ignored rather than shown.
    for (auto [value, field] :
         {std::pair{"PeriodStart", &periodStart}, std::pair{"PeriodEnd", &periodEnd}}) {
        const auto bytes = reg.readBytes(kKey, name(value), 16);
        if (!bytes)
            continue;
        const auto st = platform::SystemTime::fromBytes(*bytes);
        if (st && (st->isNull() || platform::toFileTime(*st)))
            *field = *st;
    }
}

bool Settings::save(Registry& reg) const {
    if (!reg.keyExists(kKey) && !reg.createKey(kKey))
        return false;
    if (!reg.beginBatch())
        return false;
    reg.writeNumber(kKey, name("tlVersion"), dataUpgradePending ? version : CurrentVersion);
    reg.writeNumber(kKey, name("View"), view);
    reg.writeNumber(kKey, name("ListStyle"), listStyle);
    reg.writeNumber(kKey, name("ExpView"), expView);
    reg.writeNumber(kKey, name("ExpListStyle"), expListStyle);
    reg.writeNumber(kKey, name("FSize"), fontSize);
    reg.writeNumber(kKey, name("DefNewStyles"), flags);
    reg.writeNumber(kKey, name("AskClose"), askClose ? 1 : 0);
    reg.writeString(kKey, name("Custom1"), custom1, 64);
    reg.writeString(kKey, name("Custom2"), custom2, 64);
    reg.writeString(kKey, name("Custom3"), custom3, 64);
    reg.writeString(kKey, name("ExpenseCustom1"), expenseCustom1, 64);
    reg.writeString(kKey, name("ExpenseCustom2"), expenseCustom2, 64);
    reg.writeString(kKey, name("DefCurr"), defaultCurrency, 32);
    reg.writeNumber(kKey, name("Encoding"), encoding);
    reg.writeNumber(kKey, name("BreakSub"), breakSub);
    reg.writeNumber(kKey, name("CsvFormulaGuard"), csvFormulaGuard ? 1 : 0);
    reg.writeNumber(kKey, name("MinTime"), minTime);
    reg.writeNumber(kKey, name("TimeInterval"), timeInterval);
    reg.writeNumber(kKey, name("IdleMinutes"), idleMinutes);
    reg.writeNumber(kKey, name("LongTimerHours"), longTimerHours);
    QByteArray cust(24, '\0');
    for (int i = 0; i < 6; ++i)
        qToLittleEndian(viewCust[i], cust.data() + 4 * i);
    reg.writeBytes(kKey, name("ViewCust"), cust);
    reg.writeNumber(kKey, name("Sort"), sort);
    reg.writeNumber(kKey, name("ExpSort"), expSort);
    reg.writeNumber(kKey, name("HourSymbol"), hourSymbol);
    reg.writeNumber(kKey, name("HoursFormat"), quint16(hoursFormat));
    reg.writeNumber(kKey, name("TimerStripPlace"), timerStripPlace);
    for (int i = 0; i < 5; ++i) {
        const QString value = QStringLiteral("DefReport%1").arg(i);
        // Readers take at most 63 characters; a longer name would not come back.
        const QString report = defaultReports[i].left(63);
        writeTextOrDelete(reg, value, report, int(report.size() + 1) * 2);
    }
    reg.writeBytes(kKey, name("PeriodStart"), periodStart.toBytes());
    reg.writeBytes(kKey, name("PeriodEnd"), periodEnd.toBytes());
    reg.writeString(kKey, name("DbPath"), dbPath, 520);
    reg.writeNumber(kKey, name("TreeOptions"), treeOptions);
    for (auto [value, field, size] : ownerValues(const_cast<OwnerInfo&>(owner)))
        writeTextOrDelete(reg, name(value), *field, size);
    writeTextOrDelete(reg, name("OwnerLogo"), ownerLogo, kOwnerLogoBytes);
    writeTextOrDelete(reg, name("InvoicePrefix"), invoice.numberPrefix, kInvoicePrefixBytes);
    reg.writeNumber(kKey, name("PaymentDays"), invoice.paymentDays);
    for (size_t i = 0; i < kTaxValues.size(); ++i) {
        const auto [nameValue, rateValue] = kTaxValues[i];
        writeTextOrDelete(reg, name(nameValue), invoice.taxes[i].name, kTaxNameBytes);
        reg.writeNumber(kKey, name(rateValue), invoice.taxes[i].rate);
    }
    writeTextOrDelete(reg, name("InvoiceNote"), invoice.note, kInvoiceNoteBytes);
    return reg.endBatch();
}

bool clearTypeOn(const Registry& registry) {
    return registry.readNumber(QStringLiteral("Software\\Microsoft\\Shell"),
                               QStringLiteral("ClearType")) == 1u;
}

}  // namespace tempolatch
