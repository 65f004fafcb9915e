#include "app/AboutDialog.h"

#include <QDialogButtonBox>
#include <QIcon>
#include <QLabel>
#include <QVBoxLayout>

#include "platform/StringTable.h"
#include "settings/SettingsFonts.h"

#ifndef TEMPOLATCH_VERSION
#define TEMPOLATCH_VERSION "unknown"
#endif

namespace tempolatch {

QString AboutDialog::versionLine() {
    return QStringLiteral("Version %1").arg(QString::fromLatin1(TEMPOLATCH_VERSION));
}

AboutDialog::AboutDialog(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("aboutDialog"));
    setWindowTitle(QStringLiteral("About %1").arg(resourceString(str::AppName)));

    auto* icon = new QLabel;
    icon->setPixmap(QIcon(QStringLiteral(":/icons/tempolatch.svg")).pixmap(48, 48));
    icon->setAlignment(Qt::AlignHCenter);
    auto* name = new QLabel(resourceString(str::AppName));
    name->setObjectName(QStringLiteral("name"));
    name->setFont(createFont(QStringLiteral("Tahoma"), 120, true, false));
    name->setAlignment(Qt::AlignHCenter);
    auto* version = new QLabel(versionLine());
    version->setObjectName(QStringLiteral("version"));
    version->setAlignment(Qt::AlignHCenter);
    auto* purpose = new QLabel(QStringLiteral("Time and expense billing"));
    purpose->setAlignment(Qt::AlignHCenter);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(icon);
    layout->addWidget(name);
    layout->addWidget(version);
    layout->addWidget(purpose);
    layout->addWidget(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

}  // namespace tempolatch
