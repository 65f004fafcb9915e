#include "clients/DialogBar.h"

#include <QMenu>
#include <QToolButton>

#include "settings/Settings.h"

namespace tempolatch {

DialogBar::Kind DialogBar::configuredKind() {
    return Settings::instance().hasFlag(SoftKeyMenus) ? Kind::SoftKeys : Kind::Classic;
}

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
    button->setText(text);
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
    if (menu)
        menu->addAction(action);
    else
        addAction(action);
    m_commands.insert(id, action);
    return action;
}

void DialogBar::addStretch() {
    auto* spacer = new QWidget(this);
    spacer->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Preferred);
    addWidget(spacer);
}

void DialogBar::setCommandEnabled(int id, bool enabled) {
    if (QAction* action = command(id))
        action->setEnabled(enabled);
}

bool DialogBar::isCommandEnabled(int id) const {
    QAction* action = command(id);
    return action && action->isEnabled();
}

}  // namespace tempolatch
