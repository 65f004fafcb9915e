#include "clients/ReplaceTextDialog.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLineEdit>
#include <QShortcut>

#include "clients/FieldReplacement.h"
#include "platform/Clock.h"
#include "platform/StringTable.h"
#include "platform/Ui.h"
#include "settings/BackgroundWork.h"
#include "settings/Context.h"
#include "store/RecordStore.h"
#include "store/StoreFailure.h"
#include "store/StoreIds.h"
#include "widgets/HelpWindow.h"
#include "widgets/WindowPlace.h"

namespace tempolatch {

using platform::Answer;
using platform::MessageIcon;
using platform::Ui;

ReplaceTextDialog::ReplaceTextDialog(Context& context, QWidget* parent)
    : QDialog(parent),
      m_context(context),
      m_type(new QComboBox(this)),
      m_find(new QComboBox(this)),
      m_replace(new QLineEdit(this)) {
    setObjectName(QStringLiteral("replaceTextDialog"));
    setWindowTitle(QStringLiteral("Replace Field Text"));
    m_type->setObjectName(QStringLiteral("type"));
    m_find->setObjectName(QStringLiteral("find"));
    m_replace->setObjectName(QStringLiteral("replaceWith"));
    m_replace->setMaxLength(MaxNameLength);
    for (int i = 0; i < ReplaceFieldCount; ++i)
        m_type->addItem(replaceFieldName(ReplaceField(i)), i);

    auto* form = new QFormLayout(this);
    form->addRow(QStringLiteral("&Type:"), m_type);
    form->addRow(QStringLiteral("&Find:"), m_find);
    form->addRow(QStringLiteral("&Replace With:"), m_replace);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->setObjectName(QStringLiteral("buttons"));
    connect(buttons, &QDialogButtonBox::accepted, this, &ReplaceTextDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    form->addRow(buttons);

    auto* help = new QShortcut(QKeySequence(Qt::Key_F1), this);
    connect(help, &QShortcut::activated, this,
            [] { HelpWindow::showTopic(QStringLiteral("replace")); });
    connect(m_type, &QComboBox::currentIndexChanged, this, &ReplaceTextDialog::fillFind);
    fillFind();
    keepWindowPlace(this, m_context.registry, QStringLiteral("ReplaceText"));
}

void ReplaceTextDialog::fillFind() {
    m_find->clear();
    m_find->addItems(existingValues(m_context.store, ReplaceField(m_type->currentData().toInt())));
    // Nothing is chosen until the user chooses.
    m_find->setCurrentIndex(-1);
}

void ReplaceTextDialog::accept() {
    Ui& ui = m_context.ui;
    if (m_find->currentIndex() < 0) {
        ui.message(resourceString(str::SelectFindText), MessageIcon::Warning, this);
        m_find->setFocus();
        return;
    }
    if (m_replace->text().isEmpty()) {
        ui.message(resourceString(str::EnterReplaceText), MessageIcon::Warning, this);
        m_replace->setFocus();
        return;
    }
    RecordStore& store = m_context.store;
    const auto field = ReplaceField(m_type->currentData().toInt());
    const QString find = m_find->currentText();
    const QString replacement = m_replace->text();
    QString question = resourceString(str::ReplaceQuestion);
    // A merge cannot be taken back by replacing again: it is said first.
    if (replacement != find && existingValues(store, field).contains(replacement))
        question += QStringLiteral("\n\n\"%1\" exists already: \"%2\" will be merged into it.")
                        .arg(replacement, find);
    if (ui.ask(question, MessageIcon::Question, Ui::Buttons::YesNo, Answer::No, this) !=
        Answer::Yes)
        return;

    ReplaceOutcome outcome;
    bool cancelled = false;
    runInBackground(
        m_context, this, resourceString(str::UpdatingRecords),
        [&](Context& worker) {
            outcome = replaceFieldText(worker.store, field, find, replacement,
                                       platform::Clock::nowFileTime());
            return outcome.ok;
        },
        &cancelled);
    // Cancelled, nothing was changed and the dialog stays.
    if (cancelled)
        return;
    if (!outcome.ok) {
        // Nothing was changed; the dialog stays for another try.
        ui.message(storeErrorText(outcome.error), MessageIcon::Stop, this);
        return;
    }
    m_entriesChanged = outcome.entriesChanged;
    ui.notice(outcome.entriesChanged == 1
                  ? QStringLiteral("\"%1\" replaced by \"%2\" in 1 entry.").arg(find, replacement)
                  : QStringLiteral("\"%1\" replaced by \"%2\" in %3 entries.")
                        .arg(find, replacement)
                        .arg(outcome.entriesChanged));
    QDialog::accept();
}

bool runReplaceFieldText(Context& context, QWidget* parent) {
    ReplaceTextDialog dialog(context, parent);
    return dialog.exec() == QDialog::Accepted;
}

}  // namespace tempolatch
