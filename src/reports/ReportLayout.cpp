#include "reports/ReportLayout.h"

#include <QtEndian>
#include <algorithm>

#include "platform/Clock.h"
#include "platform/StringTable.h"

namespace tempolatch {

namespace {
constexpr quint32 kDefaultMask = 1599;   // fields 0-5, 9, 10
constexpr quint32 kInvoiceMask = 50045;  // fields 0, 2-6, 8, 9, 14, 15
constexpr quint16 kCurrentVersion = 300;
constexpr int kSummaryTitle = 160;
constexpr int kMileageTitle = 103;
constexpr int kGeneralTitle = 106;
constexpr quint32 kMileageMask = 111027;  // fields 0, 1, 4, 5, 7, 8, 12, 13, 15, 16
constexpr quint32 kGeneralMask = 46531;   // fields 0, 1, 6, 7, 8, 10, 12, 13, 15

const QString kMileageOrder = QStringLiteral("01234g578f9abcdehijklmnopqrst6");
const QString kGeneralOrder = QStringLiteral("0123678f9abcdehijklmnopqrst45g");
}  // namespace

ReportLayout::ReportLayout() = default;

quint16 ReportLayout::u16(int offset) const {
    return qFromLittleEndian<quint16>(m_bytes.data() + offset);
}

quint32 ReportLayout::u32(int offset) const {
    return qFromLittleEndian<quint32>(m_bytes.data() + offset);
}

void ReportLayout::setU16(int offset, quint16 value) {
    qToLittleEndian(value, m_bytes.data() + offset);
}

void ReportLayout::setU32(int offset, quint32 value) {
    qToLittleEndian(value, m_bytes.data() + offset);
}

QString ReportLayout::text(int offset, int units) const {
    QString out;
    for (int i = 0; i < units; ++i) {
        const quint16 unit = u16(offset + 2 * i);
        if (unit == 0)
            break;
        out += QChar(unit);
    }
    return out;
}

void ReportLayout::setText(int offset, int units, const QString& text) {
    std::fill(m_bytes.begin() + offset, m_bytes.begin() + offset + 2 * units, quint8(0));
    const QString kept = text.left(units - 1);
    for (int i = 0; i < kept.size(); ++i)
        setU16(offset + 2 * i, kept.at(i).unicode());
}

platform::SystemTime ReportLayout::invoiceDate() const {
    platform::SystemTime st;
    st.year = u16(256);
    st.month = u16(258);
    st.dayOfWeek = u16(260);
    st.day = u16(262);
    st.hour = u16(264);
    st.minute = u16(266);
    st.second = u16(268);
    st.milliseconds = u16(270);
    return st;
}

void ReportLayout::setInvoiceDate(const platform::SystemTime& st) {
    const quint16 values[] = {st.year, st.month,  st.dayOfWeek, st.day,
                              st.hour, st.minute, st.second,    st.milliseconds};
    for (int i = 0; i < 8; ++i)
        setU16(256 + 2 * i, values[i]);
}

ReportLayout ReportLayout::builtInDefault(int kind) {
    ReportLayout layout;
    if (isExpenseType(kind)) {
        // Only Report Date of the show flags.
        const bool mileage = kind == MileageExpense;
        layout.setVersion(kCurrentVersion);
        layout.setReportType(quint16(kind));
        std::fill(layout.m_bytes.begin() + 152, layout.m_bytes.begin() + 156, quint8(1));
        layout.setTitle(resourceString(mileage ? kMileageTitle : kGeneralTitle));
        layout.setFieldOrder(mileage ? kMileageOrder : kGeneralOrder);
        layout.setFieldMask(mileage ? kMileageMask : kGeneralMask);
        return layout;
    }
    layout.setVersion(kind == Invoice ? 0 : kCurrentVersion);
    layout.setReportType(quint16(kind));
    std::fill(layout.m_bytes.begin() + 140, layout.m_bytes.begin() + 156, quint8(1));
    layout.setFieldOrder(DefaultFieldOrder);
    switch (kind) {
        case GroupBy:
            layout.setDateSelection(Range);
            layout.setGroupBy(GroupByChoices[Client]);
            layout.setFieldMask(kDefaultMask);
            layout.setTitle(resourceString(kSummaryTitle));
            break;
        case Tabular:
            layout.setDateSelection(StartDateOnly);
            layout.setFieldMask(kDefaultMask);
            layout.setTitle(resourceString(kSummaryTitle));
            break;
        default:
            layout.setReportType(Invoice);
            layout.setFieldMask(kInvoiceMask);
            layout.setInvoiceNumber(QStringLiteral("-"));
            layout.setInvoiceDate(platform::Clock::now());
            break;
    }
    return layout;
}

std::optional<ReportLayout> ReportLayout::fromStored(const QByteArray& bytes) {
    ReportLayout layout;
    const auto* in = reinterpret_cast<const quint8*>(bytes.constData());
    if (bytes.size() == Size || bytes.size() == 224) {
        std::copy(in, in + bytes.size(), layout.m_bytes.begin());
    } else if (bytes.size() == 220) {
        // The older form: no version, report type or invoice fields, and
        // hide flags where the show flags are now.
        std::copy(in, in + 128, layout.m_bytes.begin() + 4);
        layout.setDateSelection(qFromLittleEndian<quint16>(in + 130));
        layout.setGroupBy(qFromLittleEndian<quint32>(in + 132));
        const Flag shown[] = {GroupTitle,        GroupTotalHours, TotalBillableHours,
                              TotalUnpaidAmount, TotalPaidAmount, TotalNonBillableHours,
                              ReportDate};
        for (int i = 0; i < 7; ++i)
            layout.setShows(shown[i], qFromLittleEndian<quint16>(in + 136 + 2 * i) == 0);
        std::copy(in + 152, in + 214, layout.m_bytes.begin() + 156);
        layout.setFieldMask(qFromLittleEndian<quint32>(in + 216));
    } else {
        return std::nullopt;
    }
    layout.setVersion(kCurrentVersion);
    // Every stored text ends within its field, whatever the bytes said.
    layout.setTitle(layout.title());
    layout.setFieldOrder(layout.fieldOrder());
    layout.setInvoiceNumber(layout.invoiceNumber());
    return layout;
}

QByteArray ReportLayout::toBytes() const {
    return QByteArray(reinterpret_cast<const char*>(m_bytes.data()), Size);
}

void ReportLayout::completeFieldOrder() {
    QString order = fieldOrder();
    if (!isExpenseType(reportType())) {
        if (order.size() < TimeFieldCount)
            setFieldOrder(order + FieldOrderTail);
        return;
    }
    // Every field of the expense type keeps a place among the codes that
    // count, so that the layout dialog lists each once: the type's codes
    // there keep their order, the missing ones follow, the rest after.
    const int count = fieldCount();
    const QString fields =
        (reportType() == MileageExpense ? kMileageOrder : kGeneralOrder).left(count);
    QString counted;
    for (const QChar code : order.left(count))
        if (fields.contains(code) && !counted.contains(code))
            counted += code;
    if (counted.size() == count)
        return;
    for (const QChar code : fields)
        if (!counted.contains(code))
            counted += code;
    QString rest;
    for (const QChar code : order)
        if (!counted.contains(code) && !rest.contains(code))
            rest += code;
    setFieldOrder(counted + rest);
}

int ReportLayout::fieldCount() const {
    switch (reportType()) {
        case GeneralExpense:
            return GeneralFieldCount;
        case MileageExpense:
            return MileageFieldCount;
        default:
            return TimeFieldCount;
    }
}

QList<int> ReportLayout::orderedFields() const {
    QList<int> fields;
    const int limit = isExpenseType(reportType()) ? ExpenseFields : TimeFieldCount;
    for (const QChar code : fieldOrder().left(fieldCount())) {
        const int field = fieldOfCode(code);
        if (field >= 0 && field < limit)
            fields.append(field);
    }
    return fields;
}

int ReportLayout::groupByIndex() const {
    const auto it = std::find(GroupByChoices.begin(), GroupByChoices.end(), groupBy());
    return it == GroupByChoices.end() ? -1 : int(it - GroupByChoices.begin());
}

QList<int> ReportLayout::columns() const {
    QList<int> columns;
    const quint32 mask = fieldMask();
    for (const int field : orderedFields())
        if (mask & (1u << field))
            columns.append(field);
    return columns;
}

int ReportLayout::fieldOfCode(QChar code) {
    const char16_t c = code.unicode();
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 't')
        return c - 'a' + 10;
    return -1;
}

QChar ReportLayout::codeOfField(int field) {
    if (field >= 0 && field < 10)
        return QChar(char16_t('0' + field));
    if (field >= 10 && field < 30)
        return QChar(char16_t('a' + field - 10));
    return QChar();
}

}  // namespace tempolatch
