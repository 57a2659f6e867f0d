#include "platform/named_menu.h"

#include <QAction>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QShortcut>

namespace talveron::platform {

QMenu* NamedMenu(QWidget* parent, const char* name, const QString& caption) {
    auto* menu = new QMenu(caption, parent);
    menu->setObjectName(QString::fromLatin1(name));
    menu->menuAction()->setObjectName(QString::fromLatin1(name));
    return menu;
}

QAction* NamedItem(QMenu* menu, const char* name, const QString& caption,
                   const QKeySequence& shortcut) {
    QAction* action = menu->addAction(caption);
    action->setObjectName(QString::fromLatin1(name));
    if (!shortcut.isEmpty()) action->setShortcut(shortcut);
    return action;
}

void OpenMenusWithF10(QMainWindow* window) {
    auto* key = new QShortcut(QKeySequence(Qt::Key_F10), window);
    key->setContext(Qt::WindowShortcut);
    QObject::connect(key, &QShortcut::activated, window, [window] {
        QMenuBar* bar = window->menuBar();
        for (QAction* menu : bar->actions()) {
            if (menu->menu() && menu->isVisible() && menu->isEnabled()) {
                bar->setActiveAction(menu);
                return;
            }
        }
    });
}

}  // namespace talveron::platform
