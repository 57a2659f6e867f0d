// Menus and menu entries carrying their control names (mnuFile, mnuFOpen, ...) as object
// names, so the program and its tests find an entry by the name the menu tables give it.
#pragma once

#include <QKeySequence>
#include <QString>

class QAction;
class QMainWindow;
class QMenu;
class QWidget;

namespace talveron::platform {

// A top-level menu owned by parent; its menu-bar action carries the same name.
QMenu* NamedMenu(QWidget* parent, const char* name, const QString& caption);

// An entry appended to menu, with an optional shortcut.
QAction* NamedItem(QMenu* menu, const char* name, const QString& caption,
                   const QKeySequence& shortcut = {});

// F10 in window opens the first menu its menu bar shows at that moment, as on Windows.
void OpenMenusWithF10(QMainWindow* window);

}  // namespace talveron::platform
