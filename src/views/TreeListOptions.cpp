#include "views/TreeListOptions.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QVBoxLayout>

#include "settings/Settings.h"

namespace tempolatch {

TreeListOptions::TreeListOptions(Settings& settings, QWidget* parent)
    : QDialog(parent), m_settings(settings) {
    setWindowTitle(tr("Customize Tree List"));
    auto* layout = new QVBoxLayout(this);
    const QString texts[] = {tr("Show client"), tr("Show project"), tr("Show phase"),
                             tr("Show start and end time"), tr("Show amount")};
    static const char* const kNames[] = {"showClient", "showProject", "showPhase", "showTimes",
                                         "showAmount"};
    for (int bit = 0; bit < 5; ++bit) {
        m_boxes[bit] = new QCheckBox(texts[bit], this);
        m_boxes[bit]->setObjectName(QString::fromLatin1(kNames[bit]));
        m_boxes[bit]->setChecked(m_settings.treeOptions & (1u << bit));
        layout->addWidget(m_boxes[bit]);
    }
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);
}

void TreeListOptions::accept() {
    // Bits above the five boxes are kept as they are.
    quint32 options = m_settings.treeOptions & ~0x1Fu;
    for (int bit = 0; bit < 5; ++bit)
        if (m_boxes[bit]->isChecked())
            options |= 1u << bit;
    m_settings.treeOptions = options;
    QDialog::accept();
}

bool TreeListOptions::run(Settings& settings, QWidget* parent) {
    TreeListOptions dialog(settings, parent);
    return dialog.exec() == QDialog::Accepted;
}

}  // namespace tempolatch
