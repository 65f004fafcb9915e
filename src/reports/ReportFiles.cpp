#include "reports/ReportFiles.h"

#include <QSaveFile>

#include "platform/Locale.h"
#include "reports/CharsetEncoder.h"
#include "reports/ExportFile.h"
#include "reports/HtmlReport.h"
#include "reports/ReportPdf.h"
#include "reports/XmlExport.h"
#include "store/RecordStore.h"

namespace tempolatch {

bool writeXmlFile(RecordStore& store, const Settings& settings, const EntryFilter& criteria,
                  const QString& path, int* written) {
    ExportFile file;
    if (!file.open(path))
        return false;
    XmlExport xml(settings);
    if (!xml.write(store.entries(), criteria,
                   [&](const QByteArray& bytes) { return file.writeRaw(bytes); })) {
        file.abandon();
        return false;
    }
    if (written)
        *written = xml.written();
    return file.close();
}

bool writeReportFile(RecordStore& store, const Settings& settings, const ReportLayout& layout,
                     const EntryFilter& criteria, const QString& path) {
    const auto report = HtmlReport::make(layout, settings);
    if (!report)
        return false;
    if (isPdfPath(path)) {
        const QString html = report->page(store.entries(), criteria, QStringLiteral("UTF-8"));
        QSaveFile file(path);
        if (!file.open(QIODevice::WriteOnly) || !writeReportPdf(html, file)) {
            file.cancelWriting();
            return false;
        }
        return file.commit();
    }
    // The bytes in the locale's character set, which the page's meta
    // element names; characters it lacks as character references.
    const QByteArray charset = platform::Locale::systemCodeset();
    CharsetEncoder encoder(charset);
    if (!encoder.isValid())
        return false;
    const QString html = report->page(store.entries(), criteria, QString::fromLatin1(charset));
    ExportFile file(charset);
    if (!file.open(path) || !file.writeRaw(encoder.encode(html))) {
        file.abandon();
        return false;
    }
    return file.close();
}

}  // namespace tempolatch
