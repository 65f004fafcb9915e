#include "editing/EntryEditor.h"

#include <QDialogButtonBox>
#include <QShortcut>
#include <QTabWidget>
#include <QVBoxLayout>

#include "editing/EntryBillingPage.h"
#include "editing/EntryCustomPage.h"
#include "editing/EntryGeneralPage.h"
#include "editing/EntryNotePage.h"
#include "editing/EntrySaver.h"
#include "editing/EntryValues.h"
#include "editing/SaveConflict.h"
#include "platform/Ui.h"
#include "settings/Settings.h"
#include "store/Client.h"
#include "store/ClientStructure.h"
#include "store/RecordStore.h"
#include "store/StoreFailure.h"
#include "store/TimeEntries.h"
#include "widgets/HelpWindow.h"
#include "widgets/WindowPlace.h"

namespace tempolatch {

EntryEditor::EntryEditor(Context& context, const TimeEntry* from, bool keepValues, int firstPage,
                         QWidget* parent)
    : QDialog(parent), m_state(context) {
    setObjectName(QStringLiteral("entryEditor"));
    m_state.entry = entryvalues::openingEntry(from, keepValues, context.settings);
    if (m_state.entry.recordId != 0)
        setWindowTitle(QStringLiteral("Edit Time Entry"));
    else
        setWindowTitle(keepValues ? QStringLiteral("Copy of Time Entry")
                                  : QStringLiteral("New Time Entry"));
    // The Billing page may be shown before General: start from the entry's
    // own client so that its rates are offered.
    RecordStore& store = context.store;
    if (store.isOpen() && m_state.entry.recordId != 0)
        m_asRead = TimeEntries(store).find(m_state.entry.recordId);
    if (store.isOpen() && !m_state.entry.client.isEmpty()) {
        const quint32 id = ClientStructure(store).clientIdOf(m_state.entry.client);
        if (id != NoClientId) {
            m_state.clientId = id;
            m_state.clientName = m_state.entry.client;
        }
    }

    m_tabs = new QTabWidget(this);
    m_tabs->setObjectName(QStringLiteral("pages"));
    m_pages = {new EntryGeneralPage(m_state, this), new EntryBillingPage(m_state, this),
               new EntryCustomPage(m_state, this), new EntryNotePage(m_state, this)};
    const QString titles[] = {QStringLiteral("General"), QStringLiteral("Billing"),
                              QStringLiteral("Custom"), QStringLiteral("Note")};
    for (int i = 0; i < m_pages.size(); ++i)
        m_tabs->addTab(m_pages[i], titles[i]);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->setObjectName(QStringLiteral("buttons"));
    connect(buttons, &QDialogButtonBox::accepted, this, &EntryEditor::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &EntryEditor::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_tabs);
    layout->addWidget(buttons);
    resize(480, 520);
    keepWindowPlace(this, context.registry, QStringLiteral("EntryEditor"));
    auto* help = new QShortcut(QKeySequence(Qt::Key_F1), this);
    connect(help, &QShortcut::activated, this,
            [] { HelpWindow::showTopic(QStringLiteral("addnew")); });

    showPage(qBound(0, firstPage, int(NotePage)));
    connect(m_tabs, &QTabWidget::currentChanged, this, &EntryEditor::pageChanged);
}

void EntryEditor::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    // Not the tab bar: typing goes into the first field at once.
    m_pages[m_current]->focusFirstField();
}

void EntryEditor::showPage(int index) {
    m_switching = true;
    m_tabs->setCurrentIndex(index);
    m_switching = false;
    m_current = index;
    m_pages[index]->activate();
}

void EntryEditor::pageChanged(int index) {
    if (m_switching || index == m_current)
        return;
    if (m_current >= 0 && !m_pages[m_current]->leave()) {
        // The page refused to be left; it has shown why.
        m_switching = true;
        m_tabs->setCurrentIndex(m_current);
        m_switching = false;
        return;
    }
    m_current = index;
    m_pages[index]->activate();
}

void EntryEditor::accept() {
    if (!m_pages[m_current]->leave())
        return;
    for (int i = 0; i < m_pages.size(); ++i) {
        if (!m_pages[i]->wasShown())
            continue;
        if (!m_pages[i]->apply()) {
            if (i != m_current)
                showPage(i);
            return;
        }
    }
    save();
}

void EntryEditor::save() {
    EntrySaver saver(m_state.context.store);
    const SaveTry saved = saveSettlingConflict(
        m_state.context.ui, QStringLiteral("entry"), this,
        [&](bool overwrite) {
            const WriteResult result =
                saver.save(m_state.entry, overwrite ? std::nullopt : m_asRead);
            return SaveTry{result, saver.error()};
        },
        m_reload);
    if (m_reload) {
        QDialog::reject();
        return;
    }
    // Otherwise the editor stays open with what the user typed. An entry
    // that cannot be stored has been explained by its page already, and a
    // conflict by its question.
    if (saved.result != WriteResult::Written && saved.result != WriteResult::NotStorable &&
        !saved.changedElsewhere())
        m_state.context.ui.message(storeErrorText(saved.error), platform::MessageIcon::Stop, this);
    if (saved.result != WriteResult::Written)
        return;
    m_saved = true;
    QDialog::accept();
}

bool EntryEditor::edit(Context& context, QWidget* parent, const TimeEntry* from, bool keepValues,
                       int firstPage, quint32* recordId) {
    std::optional<TimeEntry> reloaded;
    for (;;) {
        EntryEditor editor(context, from, keepValues, firstPage, parent);
        const int ended = editor.exec();
        if (editor.reloadWanted() && context.store.isOpen())
            reloaded = TimeEntries(context.store).find(editor.entry().recordId);
        if (editor.reloadWanted() && reloaded) {
            // Opened again on the entry as it is stored now, at the same page.
            from = &*reloaded;
            keepValues = false;
            firstPage = editor.currentPage();
            continue;
        }
        if (ended != QDialog::Accepted)
            return false;
        if (recordId)
            *recordId = editor.entry().recordId;
        return editor.saved();
    }
}

}  // namespace tempolatch
