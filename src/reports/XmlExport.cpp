#include "reports/XmlExport.h"

#include "records/EntryCriteria.h"
#include "reports/CharsetEncoder.h"
#include "reports/ExportValues.h"
#include "reports/XmlWriter.h"
#include "settings/Settings.h"
#include "store/TimeEntry.h"

namespace tempolatch {

namespace {

// Blocks of about this many characters go to the file at once.
constexpr qsizetype kBlockChars = 64 * 1024;

QString twoDigits(int n) {
    return QString::number(n).rightJustified(2, QLatin1Char('0'));
}

QString dateText(const platform::SystemTime& st) {
    return QString::number(st.year).rightJustified(4, QLatin1Char('0')) + QLatin1Char('-') +
           twoDigits(st.month) + QLatin1Char('-') + twoDigits(st.day);
}

// 24-hour "HH:mm:00": a 12-hour clock without AM/PM could not be read back.
QString timeText(const platform::SystemTime& st) {
    return twoDigits(st.hour) + QLatin1Char(':') + twoDigits(st.minute) + QLatin1String(":00");
}

}  // namespace

QString XmlExport::encodingName(quint16 encoding) {
    switch (encoding) {
        case Utf8:
            return QStringLiteral("UTF-8");
        case Utf16:
            return QStringLiteral("UTF-16");
        case Latin1:
            return QStringLiteral("ISO-8859-1");
        // The registered names: parsers do not know "Big-5" or "Shift-JIS".
        case Big5:
            return QStringLiteral("Big5");
        case ShiftJis:
            return QStringLiteral("Shift_JIS");
        default:
            return QString();
    }
}

XmlExport::XmlExport(const Settings& settings)
    : m_encoding(settings.encoding < EncodingCount ? settings.encoding : quint16(Default)),
      m_precise(settings.hasFlag(PreciseCalculation)) {
    if (m_encoding == Latin1 || m_encoding == Big5 || m_encoding == ShiftJis)
        m_encoder = std::make_unique<CharsetEncoder>(encodingName(m_encoding).toLatin1());
}

XmlExport::~XmlExport() = default;

QString XmlExport::head() const {
    XmlWriter w;
    w.declaration(encodingName(m_encoding));
    w.openStartTag(QStringLiteral("ITEMS"));
    w.attribute(QStringLiteral("Version"), QStringLiteral("300"));
    w.attribute(QStringLiteral("xmlns"), QStringLiteral("entry-schema"));
    w.closeStartTag();
    return w.text();
}

QString XmlExport::tail() {
    return QStringLiteral("</ITEMS>\r\n");
}

void XmlExport::appendItem(QString& out, const TimeEntry& e) const {
    XmlWriter w;
    std::swap(w.text(), out);
    w.openStartTag(QStringLiteral("ITEM"));
    w.attribute(QStringLiteral("Status"), QString::number(int(e.status)));
    w.closeStartTag();
    const auto date = platform::toSystemTime(e.date);
    w.element(QStringLiteral("DATE"), date ? dateText(*date) : QString(""));
    w.element(QStringLiteral("CLIENT"), e.client);
    w.element(QStringLiteral("PROJECT"), e.project);
    w.element(QStringLiteral("PHASE"), e.phase);
    w.element(QStringLiteral("TASK"), e.task);
    if (e.hasStartTime() && date) {
        w.element(QStringLiteral("START"), timeText(*date));
        w.element(QStringLiteral("BREAKTIME"), hundredthsText(e.breakTime));
        const auto end = platform::toSystemTime(e.endTime());
        w.element(QStringLiteral("END"), end ? timeText(*end) : QString(""));
    }
    w.element(QStringLiteral("DURATION"), hundredthsText(e.duration));
    w.element(QStringLiteral("CURRENCY"), e.currency);
    if (e.rate != 0) {
        w.openStartTag(QStringLiteral("RATE"));
        w.attribute(QStringLiteral("Type"), QString::number(int(e.rateType)));
        w.closeStartTag();
        w.textValue(hundredthsText(e.rate));
        w.endTag(QStringLiteral("RATE"));
    } else {
        w.element(QStringLiteral("RATE"), std::nullopt);
    }
    w.element(QStringLiteral("AMOUNT"), amountText(e.amount(m_precise)));
    w.element(QStringLiteral("BILLTO"), e.billTo);
    w.element(QStringLiteral("CUSTOM1"), e.custom1);
    w.element(QStringLiteral("CUSTOM2"), e.custom2);
    w.element(QStringLiteral("CUSTOM3"), e.custom3);
    if (e.note.isEmpty()) {
        w.element(QStringLiteral("NOTES"), std::nullopt);
    } else if (const QString note = entryNoteText(e); !note.isEmpty()) {
        w.openElement(QStringLiteral("NOTES"));
        w.cdata(note);
        w.endTag(QStringLiteral("NOTES"));
    }
    w.endTag(QStringLiteral("ITEM"));
    std::swap(w.text(), out);
}

QByteArray XmlExport::encode(const QString& text, bool first) {
    switch (m_encoding) {
        case Utf16: {
            QByteArray bytes;
            if (first)
                bytes = QByteArray("\xFF\xFE", 2);
            bytes.reserve(bytes.size() + text.size() * 2);
            for (const QChar c : text) {
                bytes.append(char(c.unicode() & 0xFF));
                bytes.append(char(c.unicode() >> 8));
            }
            return bytes;
        }
        case Latin1:
        case Big5:
        case ShiftJis:
            return m_encoder->encode(text);
        default:
            return text.toUtf8();
    }
}

bool XmlExport::write(RecordStore& db, const EntryFilter& criteria,
                      const std::function<bool(const QByteArray&)>& write) {
    if (m_encoder && !m_encoder->isValid())
        return false;
    if (!write(encode(head(), true)))
        return false;
    QString block;
    block.reserve(kBlockChars + 4096);
    bool ok = true;
    m_written = 0;
    forEachChosenEntry(db, criteria, [&](const TimeEntry& entry) {
        appendItem(block, entry);
        ++m_written;
        if (block.size() >= kBlockChars) {
            ok = write(encode(block, false));
            block.clear();
        }
        return ok;
    });
    block += tail();
    return ok && write(encode(block, false));
}

}  // namespace tempolatch
