#include "timers/TimersDialog.h"

#include <QAction>
#include <QBoxLayout>
#include <QDialogButtonBox>
#include <QFrame>
#include <QHeaderView>
#include <QIcon>
#include <QMenu>
#include <QResizeEvent>
#include <QScreen>
#include <QStyle>
#include <QToolBar>
#include <QToolButton>
#include <QTreeWidget>
#include <algorithm>

#include "notes/InkControl.h"
#include "notes/NoteCommands.h"
#include "notes/NoteMenus.h"
#include "platform/Clock.h"
#include "platform/Locale.h"
#include "platform/StringTable.h"
#include "platform/Ui.h"
#include "settings/Context.h"
#include "settings/Settings.h"
#include "timers/AddTimerDialog.h"
#include "timers/EntryTimer.h"
#include "timers/TimerKeeper.h"
#include "widgets/WindowPlace.h"

namespace tempolatch {

namespace {

constexpr int SlotRole = Qt::UserRole;

// The timers' list asks for the width its columns need, so that beside the
// note it is not cut; a list of very long names scrolls rather than push
// the note off the screen.
class TimerList : public QTreeWidget {
public:
    using QTreeWidget::QTreeWidget;

    QSize sizeHint() const override {
        const QHeaderView* head = header();
        int columns = 0;
        for (int c = 0; c < head->count(); ++c)
            columns += std::max(head->sectionSizeHint(c), sizeHintForColumn(c));
        int width = columns + 2 * frameWidth() +
                    style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, this);
        if (const QScreen* shown = screen())
            width = std::min(width, shown->availableGeometry().width() * 2 / 3);
        return {width, QTreeWidget::sizeHint().height()};
    }
};

QIcon stateIcon(EntryTimer::State state) {
    return QIcon(state == EntryTimer::Paused ? QStringLiteral(":/icons/timer-paused.svg")
                                             : QStringLiteral(":/icons/timer-running.svg"));
}

}  // namespace

TimersDialog::TimersDialog(Context& context, TimerKeeper& keeper, const TimeEntry* templateEntry,
                           bool autoAdd, QWidget* parent)
    : QDialog(parent), m_context(context), m_keeper(keeper), m_autoAdd(autoAdd) {
    setObjectName(QStringLiteral("timersDialog"));
    setWindowTitle(QStringLiteral("Entry Timers"));
    if (templateEntry)
        m_template = *templateEntry;

    m_list = new TimerList(this);
    m_list->setObjectName(QStringLiteral("timerList"));
    m_list->setRootIsDecorated(false);
    m_list->setUniformRowHeights(true);
    m_list->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_list->setSelectionMode(QAbstractItemView::SingleSelection);
    m_list->setAllColumnsShowFocus(true);
    m_list->setHeaderLabels({resourceString(str::DurationColumn), resourceString(str::StartColumn),
                             resourceString(str::ClientColumn), resourceString(str::ProjectColumn),
                             resourceString(str::Phase), resourceString(str::TaskColumn)});
    // The Client column takes whatever width the others leave.
    QHeaderView* header = m_list->header();
    header->setStretchLastSection(false);
    header->setSectionResizeMode(QHeaderView::ResizeToContents);
    header->setSectionResizeMode(ClientColumn, QHeaderView::Stretch);

    m_note = new InkControl(context.ui, this);
    m_note->setObjectName(QStringLiteral("inkControl"));
    m_note->setView(InkControl::View::Typing);
    m_note->setWrapToWindow(true);

    m_divider = new QFrame(this);
    m_divider->setObjectName(QStringLiteral("divider"));
    m_divider->setAutoFillBackground(true);
    QPalette line = m_divider->palette();
    line.setColor(QPalette::Window, line.color(QPalette::Dark));
    m_divider->setPalette(line);

    m_halves = new QBoxLayout(QBoxLayout::LeftToRight);
    m_halves->setSpacing(2);
    // The list as wide as its columns need, the note the rest.
    m_halves->addWidget(m_list, 0);
    m_halves->addWidget(m_divider);
    m_halves->addWidget(m_note, 1);

    const bool softKeys = context.settings.hasFlag(SoftKeyMenus);
    buildBar(softKeys);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
    buttons->setObjectName(QStringLiteral("buttons"));
    connect(buttons, &QDialogButtonBox::accepted, this, &TimersDialog::accept);
    auto* layout = new QVBoxLayout(this);
    if (!softKeys)
        layout->addWidget(m_bar);
    layout->addLayout(m_halves, 1);
    layout->addWidget(buttons);
    if (softKeys)
        layout->addWidget(m_bar);

    connect(&m_keeper, &TimerKeeper::ticked, this, &TimersDialog::updateElapsed);
    connect(m_list, &QTreeWidget::itemSelectionChanged, this, &TimersDialog::rowChosen);
    connect(m_note, &InkControl::commandStatesChanged, this, &TimersDialog::updateStates);
    // A timer paused or resumed from the tray.
    connect(&m_keeper, &TimerKeeper::timersChanged, this, &TimersDialog::updateStates);

    fill();
    if (m_list->topLevelItemCount() > 0)
        showSlot(m_list->topLevelItem(0)->data(0, SlotRole).toInt(), false);
    else
        updateStates();
    resize(std::max(640, m_list->sizeHint().width() + 320), 400);
    keepWindowPlace(this, m_context.registry, QStringLiteral("Timers"));
    arrange();
}

QAction* TimersDialog::makeCommand(int id, const QString& text) {
    auto* action = new QAction(text, this);
    action->setData(id);
    connect(action, &QAction::triggered, this, [this, id] { execute(id); });
    m_actions.insert(id, action);
    return action;
}

void TimersDialog::buildBar(bool softKeys) {
    m_bar = new QToolBar(this);
    m_bar->setObjectName(QStringLiteral("timerBar"));
    m_bar->setToolButtonStyle(Qt::ToolButtonTextOnly);
    QAction* add = makeCommand(
        AddTimer, softKeys ? QStringLiteral("Add Timer...") : resourceString(str::AddTimerButton));
    QAction* pause = makeCommand(Pause, resourceString(str::PauseButton));
    pause->setCheckable(true);
    QAction* complete =
        makeCommand(CompleteTimer, softKeys ? QStringLiteral("Complete Timer...")
                                            : resourceString(str::TaskCompleteButton));
    QAction* cancel = makeCommand(CancelTimer, resourceString(str::CancelTimerButton));

    // The note commands, as the Note page of the entry editor offers them.
    auto* noteMenu = new QMenu(this);
    noteMenu->setObjectName(QStringLiteral("noteMenu"));
    NoteMenus::fillEditMenu(noteMenu, m_note);
    NoteMenus::fillViewMenu(noteMenu->addMenu(QStringLiteral("View")), m_note);
    auto addPopup = [this](const QString& text, QMenu* menu) {
        menu->setTitle(text);
        m_bar->addAction(menu->menuAction());
        if (auto* button = qobject_cast<QToolButton*>(m_bar->widgetForAction(menu->menuAction())))
            button->setPopupMode(QToolButton::InstantPopup);
    };

    if (softKeys) {
        auto* timerMenu = new QMenu(this);
        timerMenu->setObjectName(QStringLiteral("timerMenu"));
        timerMenu->addActions({add, pause, complete, cancel});
        addPopup(QStringLiteral("Timer"), timerMenu);
        auto* spacer = new QWidget(m_bar);
        spacer->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Preferred);
        m_bar->addWidget(spacer);
        addPopup(QStringLiteral("Menu"), noteMenu);
        return;
    }
    QAction* draw = makeCommand(Draw, resourceString(str::DrawButton));
    draw->setCheckable(true);
    m_bar->addActions({draw, add, pause, complete, cancel});
    m_bar->addSeparator();
    addPopup(QStringLiteral("Note"), noteMenu);
}

void TimersDialog::fill() {
    m_list->clear();
    const EntryTimerTable& table = m_keeper.table();
    for (int i = 0; i < EntryTimerTable::SlotCount; ++i) {
        if (table.slot(i).inUse())
            setRow(new QTreeWidgetItem(m_list), i);
    }
}

QTreeWidgetItem* TimersDialog::rowOf(int slot) const {
    for (int r = 0; r < m_list->topLevelItemCount(); ++r) {
        QTreeWidgetItem* row = m_list->topLevelItem(r);
        if (row->data(0, SlotRole).toInt() == slot)
            return row;
    }
    return nullptr;
}

void TimersDialog::setRow(QTreeWidgetItem* row, int slot) {
    const EntryTimer& t = m_keeper.table().slot(slot);
    row->setData(0, SlotRole, slot);
    row->setIcon(0, stateIcon(t.state));
    row->setText(DurationColumn, timers::elapsedText(t.elapsedSeconds));
    row->setText(StartColumn, platform::Locale::timeWithoutSeconds(t.start));
    row->setText(ClientColumn, t.client);
    row->setText(ProjectColumn, t.project);
    row->setText(PhaseColumn, t.phase);
    row->setText(TaskColumn, t.task);
}

bool TimersDialog::sideBySide() const {
    return m_halves->direction() == QBoxLayout::LeftToRight;
}

void TimersDialog::arrange() {
    const bool wide = width() > height();
    m_halves->setDirection(wide ? QBoxLayout::LeftToRight : QBoxLayout::TopToBottom);
    if (wide) {
        m_divider->setFixedSize(1, QWIDGETSIZE_MAX);
        m_divider->setMinimumHeight(0);
    } else {
        m_divider->setFixedSize(QWIDGETSIZE_MAX, 1);
        m_divider->setMinimumWidth(0);
    }
}

void TimersDialog::resizeEvent(QResizeEvent* event) {
    QDialog::resizeEvent(event);
    arrange();
}

void TimersDialog::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (!m_autoAdd)
        return;
    m_autoAdd = false;
    // Once the dialog is on screen, so that Add Timer opens over it.
    QMetaObject::invokeMethod(
        this, [this] { addTimer(m_template ? &*m_template : nullptr); }, Qt::QueuedConnection);
}

bool TimersDialog::keepNote() {
    if (m_current < 0)
        return false;
    EntryTimer& t = m_keeper.table().slot(m_current);
    if (!t.inUse() || !m_note->isModified())
        return false;
    t.note = m_note->noteData();
    m_note->setModified(false);
    return true;
}

void TimersDialog::showSlot(int slot, bool keep) {
    if (keep && keepNote())
        m_keeper.changed();
    m_current = slot;
    m_note->clear();
    m_note->setNoteData(m_keeper.table().slot(slot).note);
    if (QTreeWidgetItem* row = rowOf(slot); row && !row->isSelected()) {
        const QSignalBlocker quiet(m_list);
        m_list->setCurrentItem(row);
    }
    m_note->setFocus();
    updateStates();
}

void TimersDialog::rowChosen() {
    const QList<QTreeWidgetItem*> chosen = m_list->selectedItems();
    if (chosen.isEmpty()) {
        // A click beside the rows keeps the current timer chosen.
        if (QTreeWidgetItem* row = rowOf(m_current)) {
            const QSignalBlocker quiet(m_list);
            row->setSelected(true);
        }
        return;
    }
    const int slot = chosen.first()->data(0, SlotRole).toInt();
    if (slot != m_current)
        showSlot(slot, true);
}

void TimersDialog::updateStates() {
    const int rows = m_list->topLevelItemCount();
    const EntryTimer* t = m_current >= 0 ? &m_keeper.table().slot(m_current) : nullptr;
    const bool pausable = t && (t->state == EntryTimer::Running || t->state == EntryTimer::Paused);
    m_note->setEnabled(rows > 0);
    m_actions[Pause]->setEnabled(pausable);
    m_actions[Pause]->setChecked(pausable && t->state == EntryTimer::Paused);
    m_actions[CompleteTimer]->setEnabled(t && t->inUse());
    m_actions[AddTimer]->setEnabled(rows < EntryTimerTable::SlotCount &&
                                    m_keeper.table().firstFreeSlot() >= 0);
    m_actions[CancelTimer]->setEnabled(rows > 0);
    if (QAction* draw = m_actions.value(Draw)) {
        draw->setEnabled(m_note->isEnabled(NoteCommand::WritingMode));
        draw->setChecked(m_note->isChecked(NoteCommand::WritingMode));
    }
    for (int r = 0; r < rows; ++r) {
        QTreeWidgetItem* row = m_list->topLevelItem(r);
        row->setIcon(0, stateIcon(m_keeper.table().slot(row->data(0, SlotRole).toInt()).state));
    }
}

void TimersDialog::updateElapsed() {
    const EntryTimerTable& table = m_keeper.table();
    for (int r = 0; r < m_list->topLevelItemCount(); ++r) {
        QTreeWidgetItem* row = m_list->topLevelItem(r);
        row->setText(
            DurationColumn,
            timers::elapsedText(table.slot(row->data(0, SlotRole).toInt()).elapsedSeconds));
    }
}

bool TimersDialog::execute(int id) {
    QAction* action = m_actions.value(id);
    if (!action || !action->isEnabled())
        return false;
    switch (id) {
        case AddTimer:
            addTimer(nullptr);
            break;
        case Pause:
            pause();
            break;
        case CancelTimer:
            cancelTimer();
            break;
        case CompleteTimer:
            completeTimer();
            break;
        case Draw:
            m_note->execute(NoteCommand::WritingMode);
            updateStates();
            break;
        default:
            return false;
    }
    return true;
}

void TimersDialog::addTimer(const TimeEntry* from) {
    EntryTimerTable& table = m_keeper.table();
    if (table.firstFreeSlot() < 0)
        return;
    AddTimerDialog dialog(m_context, from, this);
    if (dialog.exec() != QDialog::Accepted)
        return;
    // The template goes with the first timer started from it.
    std::optional<TimeEntry> templateEntry;
    if (from && m_template)
        templateEntry.swap(m_template);
    const int slot = table.start(dialog.result(), std::move(templateEntry), platform::Clock::now());
    if (slot < 0)
        return;
    // Rows stay in slot order.
    int at = 0;
    while (at < m_list->topLevelItemCount() &&
           m_list->topLevelItem(at)->data(0, SlotRole).toInt() < slot)
        ++at;
    auto* row = new QTreeWidgetItem;
    setRow(row, slot);
    {
        const QSignalBlocker quiet(m_list);
        m_list->insertTopLevelItem(at, row);
    }
    m_list->updateGeometry();  // its width follows the new names
    showSlot(slot, true);
    m_keeper.changed();
}

void TimersDialog::pause() {
    m_keeper.togglePause(m_current);
    updateStates();
}

void TimersDialog::cancelTimer() {
    if (!m_context.ui.question(resourceString(str::CancelTimerQuestion), this))
        return;
    const int slot = m_current;
    m_keeper.table().clear(slot);
    m_note->clear();
    {
        const QSignalBlocker quiet(m_list);
        delete rowOf(slot);
    }
    m_current = -1;
    if (m_list->topLevelItemCount() > 0)
        showSlot(m_list->topLevelItem(0)->data(0, SlotRole).toInt(), false);
    else
        updateStates();
    m_keeper.changed();
}

void TimersDialog::completeTimer() {
    keepNote();
    m_keeper.table().slot(m_current).state = EntryTimer::Completed;
    m_completed = m_current;
    m_keeper.changed();
    QDialog::accept();
}

void TimersDialog::accept() {
    keepNote();
    m_keeper.changed();
    QDialog::accept();
}

void TimersDialog::reject() {
    // Closing by Escape or the title bar is closing as OK: the timers and
    // their notes stay.
    accept();
}

}  // namespace tempolatch
