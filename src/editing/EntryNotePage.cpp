#include "editing/EntryNotePage.h"

#include <QVBoxLayout>

#include "notes/InkControl.h"
#include "notes/NoteData.h"
#include "notes/NoteMenus.h"
#include "platform/StringTable.h"
#include "platform/Ui.h"
#include "settings/BarKind.h"
#include "widgets/DialogBar.h"

namespace tempolatch {

EntryNotePage::EntryNotePage(EntryEditState& state, QWidget* parent) : EntryPage(state, parent) {
    setObjectName(QStringLiteral("notePage"));
}

void EntryNotePage::build() {
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    m_control = new InkControl(context().ui, this);
    m_control->setObjectName(QStringLiteral("inkControl"));
    // The page's bar as the main window has it: above the note, or as soft
    // keys under it.
    m_bar = new DialogBar(dialogBarKind(context().settings), this);
    NoteMenus::fillPageBar(m_bar, m_control);
    const bool softKeys = m_bar->kind() == DialogBar::Kind::SoftKeys;
    if (!softKeys)
        layout->addWidget(m_bar);
    layout->addWidget(m_control, 1);
    if (softKeys)
        layout->addWidget(m_bar);
    m_control->setView(InkControl::View::Typing);
    m_control->setWrapToWindow(true);
    if (!entry().note.isEmpty())
        m_control->setNoteData(entry().note);
    m_control->setModified(false);
}

void EntryNotePage::activated() {
    m_control->setFocus();
}

bool EntryNotePage::apply() {
    if (!m_control->isModified())
        return true;
    const QByteArray data = m_control->noteData();
    if (!acceptNoteSize(context().ui, data, this))
        return false;
    entry().note = data;
    m_changed = true;
    return true;
}

}  // namespace tempolatch
