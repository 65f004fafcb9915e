#pragma once

#include <QDialog>

#include "transfer/TimeImport.h"

class QPushButton;

namespace tempolatch {

// What an import would do, before anything is written: the counts, the
// clients and projects it creates, the first entries and the rows that
// cannot be read. Import is offered only when every row was read.
class ImportPreviewDialog : public QDialog {
    Q_OBJECT
public:
    ImportPreviewDialog(const ImportPlan& plan, const QString& fileName, QWidget* parent = nullptr);

    // The entries shown; the rest are counted.
    static constexpr int ShownRows = 50;
};

}  // namespace tempolatch
