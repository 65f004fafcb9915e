#include "reports/ReportFiles.h"

#include <QSaveFile>

#include "reports/HtmlReport.h"
#include "reports/ReportPdf.h"
#include "reports/XmlExport.h"
#include "store/RecordStore.h"

namespace tempolatch {

namespace {

// The file takes the target's name only when every byte was written.
bool written(QSaveFile& file, bool ok) {
    if (!ok) {
        file.cancelWriting();
        return false;
    }
    return file.commit();
}

}  // namespace

bool writeXmlFile(RecordStore& store, const Settings& settings, const EntryFilter& criteria,
                  const QString& path) {
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    XmlExport xml(settings);
    return written(file, xml.write(store.entries(), criteria, [&](const QByteArray& bytes) {
        return file.write(bytes) == bytes.size();
    }));
}

bool writeReportFile(RecordStore& store, const Settings& settings, const ReportLayout& layout,
                     const EntryFilter& criteria, const QString& path) {
    const auto report = HtmlReport::make(layout, settings);
    if (!report)
        return false;
    // UTF-8, which the page's meta element names: every name shows in
    // every browser, whatever the locale.
    const QString html = report->page(store.entries(), criteria, QStringLiteral("UTF-8"));
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    if (isPdfPath(path))
        return written(file, writeReportPdf(html, file));
    const QByteArray bytes = html.toUtf8();
    return written(file, file.write(bytes) == bytes.size());
}

}  // namespace tempolatch
