#include "widgets/DialogBar.h"

#include <QAbstractItemView>
#include <QContextMenuEvent>
#include <QDialog>
#include <QDialogButtonBox>
#include <QMenu>
#include <QShortcut>
#include <QToolButton>
#include <QVBoxLayout>
#include <memory>

#include "widgets/ContextMenuKeys.h"
#include "widgets/HelpWindow.h"
#include "widgets/Mnemonics.h"

namespace tempolatch {

DialogBar::DialogBar(Kind kind, QWidget* parent) : QToolBar(parent), m_kind(kind) {
    setObjectName(kind == Kind::SoftKeys ? QStringLiteral("softKeyBar")
                                         : QStringLiteral("classicBar"));
    setMovable(false);
    setFloatable(false);
    setToolButtonStyle(Qt::ToolButtonTextOnly);
    setContextMenuPolicy(Qt::PreventContextMenu);
}

QMenu* DialogBar::addPopup(const QString& text, const QString& objectName) {
    auto* menu = new QMenu(text, this);
    menu->setObjectName(objectName);
    auto* button = new QToolButton(this);
    button->setObjectName(objectName + QStringLiteral("Button"));
    button->setText(mnemonics::withMnemonic(text, m_mnemonics));
    // Items may be added until it first opens; each gets a letter of its own.
    connect(menu, &QMenu::aboutToShow, menu, [menu] { mnemonics::assign(menu); });
    button->setMenu(menu);
    button->setPopupMode(QToolButton::InstantPopup);
    button->setToolButtonStyle(Qt::ToolButtonTextOnly);
    addWidget(button);
    return menu;
}

QAction* DialogBar::addCommand(QMenu* menu, int id, const QString& text) {
    auto* action = new QAction(text, this);
    action->setObjectName(QStringLiteral("command%1").arg(id));
    action->setData(id);
    connect(action, &QAction::triggered, this, [this, id] { Q_EMIT commandTriggered(id); });
    if (menu) {
        menu->addAction(action);
    } else {
        // A button shows its icon text: Alt and its letter press it.
        action->setIconText(mnemonics::withMnemonic(text, m_mnemonics));
        addAction(action);
    }
    m_commands.insert(id, action);
    return action;
}

void DialogBar::addStretch() {
    auto* spacer = new QWidget(this);
    spacer->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Preferred);
    addWidget(spacer);
}

void DialogBar::frame(QDialog* dialog, QWidget* content, const QString& helpTopic,
                      int deleteCommand) {
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, dialog);
    buttons->setObjectName(QStringLiteral("buttons"));
    connect(buttons, &QDialogButtonBox::accepted, dialog, &QDialog::accept);

    auto* layout = new QVBoxLayout(dialog);
    if (m_kind == Kind::Classic) {
        layout->addWidget(this);
        layout->addWidget(content, 1);
        layout->addWidget(buttons);
    } else {
        layout->addWidget(content, 1);
        auto* bottom = new QHBoxLayout;
        bottom->addWidget(this, 1);
        bottom->addWidget(buttons);
        layout->addLayout(bottom);
    }

    auto* help = new QShortcut(QKeySequence(Qt::Key_F1), dialog);
    connect(help, &QShortcut::activated, dialog, [helpTopic] { HelpWindow::showTopic(helpTopic); });
    if (deleteCommand == 0)
        return;
    auto* del = new QShortcut(QKeySequence::Delete, content, nullptr, nullptr, Qt::WidgetShortcut);
    connect(del, &QShortcut::activated, this,
            [this, deleteCommand] { Q_EMIT commandTriggered(deleteCommand); });
}

void DialogBar::setCommandEnabled(int id, bool enabled) {
    if (QAction* action = command(id))
        action->setEnabled(enabled);
}

bool DialogBar::isCommandEnabled(int id) const {
    QAction* action = command(id);
    return action && action->isEnabled();
}

void DialogBar::addContextMenu(QAbstractItemView* view,
                               const QList<std::pair<int, QString>>& items) {
    m_menuView = view;
    m_menuItems = items;
    // Mouse menus arrive at the viewport, keyboard menus at the view.
    view->viewport()->installEventFilter(this);
    view->installEventFilter(this);
    ContextMenuKeys::install(view);
}

QMenu* DialogBar::createContextMenu(QWidget* parent) const {
    auto* menu = new QMenu(parent);
    menu->setObjectName(QStringLiteral("contextMenu"));
    for (const auto& [id, text] : m_menuItems) {
        if (id == 0) {
            menu->addSeparator();
            continue;
        }
        QAction* item = menu->addAction(text);
        item->setData(id);
        item->setEnabled(isCommandEnabled(id));
    }
    mnemonics::assign(menu);
    return menu;
}

void DialogBar::showContextMenu(const QPoint& globalPos) {
    std::unique_ptr<QMenu> menu(createContextMenu(m_menuView));
    if (const QAction* chosen = menu->exec(globalPos))
        Q_EMIT commandTriggered(chosen->data().toInt());
}

bool DialogBar::eventFilter(QObject* watched, QEvent* event) {
    if (!m_menuView || event->type() != QEvent::ContextMenu)
        return QToolBar::eventFilter(watched, event);
    auto* request = static_cast<QContextMenuEvent*>(event);
    QWidget* viewport = m_menuView->viewport();
    if (watched == viewport && request->reason() != QContextMenuEvent::Keyboard) {
        const QModelIndex under = m_menuView->indexAt(request->pos());
        if (under.isValid())
            m_menuView->setCurrentIndex(under);
        showContextMenu(request->globalPos());
        return true;
    }
    if (watched == m_menuView && request->reason() == QContextMenuEvent::Keyboard) {
        // At the current item, wherever the pointer is.
        const QModelIndex current = m_menuView->currentIndex();
        QPoint at;
        if (current.isValid()) {
            m_menuView->scrollTo(current);
            at = m_menuView->visualRect(current).center();
        }
        showContextMenu(viewport->mapToGlobal(at));
        return true;
    }
    return QToolBar::eventFilter(watched, event);
}

}  // namespace tempolatch
