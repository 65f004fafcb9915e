#pragma once

#include <QDialog>

namespace tempolatch {

// The program's name and version.
class AboutDialog : public QDialog {
    Q_OBJECT
public:
    explicit AboutDialog(QWidget* parent = nullptr);

    static QString versionLine();
};

}  // namespace tempolatch
