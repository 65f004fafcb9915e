#include "notes/NoteMenus.h"

#include <QActionGroup>
#include <QMenu>

#include "notes/InkControl.h"
#include "notes/NoteCommands.h"
#include "platform/StringTable.h"
#include "widgets/DialogBar.h"

namespace tempolatch {

void NoteMenus::addCommands(QMenu* menu, InkControl* control, const QList<int>& ids) {
    QActionGroup* zoomGroup = nullptr;
    for (const int id : ids) {
        if (id == 0) {
            menu->addSeparator();
            continue;
        }
        QAction* action = menu->addAction(noteCommandText(id));
        action->setData(id);
        action->setCheckable(isNoteCheckableCommand(id));
        if (isNoteRadioCommand(id)) {
            if (!zoomGroup)
                zoomGroup = new QActionGroup(menu);
            zoomGroup->addAction(action);
        }
        QObject::connect(action, &QAction::triggered, control,
                         [control, id] { control->execute(id); });
    }
    // Connected once per menu, however many times commands are added.
    if (menu->property("noteStates").toBool())
        return;
    menu->setProperty("noteStates", true);
    QObject::connect(menu, &QMenu::aboutToShow, control, [menu, control] {
        for (QAction* action : menu->actions()) {
            const int id = action->data().toInt();
            if (id == 0)
                continue;
            action->setEnabled(control->isEnabled(id));
            action->setChecked(control->isChecked(id));
        }
    });
}

void NoteMenus::fillViewMenu(QMenu* menu, InkControl* control) {
    addCommands(
        menu, control,
        {NoteCommand::Zoom75, NoteCommand::Zoom100, NoteCommand::Zoom150, NoteCommand::Zoom200, 0,
         NoteCommand::WrapToWindow, 0, NoteCommand::RecordingToolbar});
}

void NoteMenus::fillEditMenu(QMenu* menu, InkControl* control) {
    addCommands(menu, control,
                {NoteCommand::Undo, NoteCommand::Redo, 0, NoteCommand::Cut, NoteCommand::Copy,
                 NoteCommand::Paste});
    addCommands(menu->addMenu(QStringLiteral("Edit")), control,
                {NoteCommand::SelectAll, NoteCommand::Delete, NoteCommand::ClearAll});
    menu->addSeparator();
    addCommands(menu, control, {NoteCommand::WritingMode, NoteCommand::EditInWord});
    addCommands(menu->addMenu(QStringLiteral("Tools")), control,
                {NoteCommand::Import, NoteCommand::Export});
}

void NoteMenus::fillClassicEditMenu(QMenu* menu, InkControl* control) {
    addCommands(menu, control,
                {NoteCommand::Undo, NoteCommand::Redo, 0, NoteCommand::Cut, NoteCommand::Copy,
                 NoteCommand::Paste, NoteCommand::Delete, 0, NoteCommand::SelectAll,
                 NoteCommand::ClearAll, 0, NoteCommand::Import, NoteCommand::Export});
}

void NoteMenus::fillPageBar(DialogBar* bar, InkControl* control) {
    QObject::connect(bar, &DialogBar::commandTriggered, control,
                     [control](int id) { control->execute(id); });
    if (bar->kind() == DialogBar::Kind::SoftKeys) {
        fillViewMenu(bar->addPopup(QStringLiteral("View"), QStringLiteral("noteViewMenu")),
                     control);
        bar->addStretch();
        fillEditMenu(bar->addPopup(QStringLiteral("Menu"), QStringLiteral("noteMenu")), control);
        return;
    }
    fillClassicEditMenu(bar->addPopup(QStringLiteral("Edit"), QStringLiteral("noteEditMenu")),
                        control);
    fillViewMenu(bar->addPopup(QStringLiteral("View"), QStringLiteral("noteViewMenu")), control);
    bar->addSeparator();
    bar->addCommand(nullptr, NoteCommand::WritingMode, resourceString(str::DrawButton))
        ->setCheckable(true);
    bar->addCommand(nullptr, NoteCommand::EditInWord, resourceString(str::EditInWordButton));
    // Buttons have no menu that opens: they follow the control as it changes.
    auto follow = [bar, control] {
        for (const int id : {NoteCommand::WritingMode, NoteCommand::EditInWord}) {
            QAction* action = bar->command(id);
            action->setEnabled(control->isEnabled(id));
            action->setChecked(control->isChecked(id));
        }
    };
    QObject::connect(control, &InkControl::commandStatesChanged, bar, follow);
    follow();
}

}  // namespace tempolatch
