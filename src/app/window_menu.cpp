#include "app/window_menu.h"

#include <QAction>
#include <QApplication>
#include <QFontMetrics>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QProxyStyle>
#include <QStyleOptionTitleBar>

#include "platform/named_menu.h"

namespace talveron::app {

namespace {

// The application's style, with the title bar's caption of a document window shortened in the
// middle to fit (the style would cut its end).
class MiddleElidedTitle : public QProxyStyle {
  public:
    void drawComplexControl(ComplexControl control, const QStyleOptionComplex* option,
                            QPainter* painter, const QWidget* widget) const override {
        const auto* bar = qstyleoption_cast<const QStyleOptionTitleBar*>(option);
        if (control != CC_TitleBar || !bar || !widget) {
            QProxyStyle::drawComplexControl(control, option, painter, widget);
            return;
        }
        QStyleOptionTitleBar shortened(*bar);
        // Measured in bold, with the margins some styles keep, so the style cuts nothing more.
        QFont font = QApplication::font("QMdiSubWindowTitleBar");
        font.setBold(true);
        const int room = subControlRect(CC_TitleBar, bar, SC_TitleBarLabel, widget).width() - 16;
        shortened.text =
            QFontMetrics(font).elidedText(widget->windowTitle(), Qt::ElideMiddle, room);
        QProxyStyle::drawComplexControl(control, &shortened, painter, widget);
    }
};

}  // namespace

WindowMenu::WindowMenu(QMdiArea* area, QWidget* menuParent) : QObject(menuParent), area_(area) {
    // A fifth cascaded window reaches below the area; it must still be reachable.
    area_->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    area_->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    menu_ = platform::NamedMenu(menuParent, "mnuWindow", tr("&Window"));
    cascade_ = platform::NamedItem(menu_, "mnuWCascade", tr("&Cascade"));
    tile_ = platform::NamedItem(menu_, "mnuWTile", tr("&Tile"));
    listStart_ = menu_->addSeparator();
    titleStyle_ = new MiddleElidedTitle;
    titleStyle_->setParent(this);
    connect(cascade_, &QAction::triggered, this, [this] {
        tiled_ = false;
        Arrange();
    });
    connect(tile_, &QAction::triggered, this, [this] {
        tiled_ = true;
        Arrange();
    });
    connect(menu_, &QMenu::aboutToShow, this, &WindowMenu::Fill);
}

void DocumentSubWindow::KeepSize() {
    size_ = size();
    if (QWidget* document = widget()) document->setMinimumSize(0, 0);
}

QSize DocumentSubWindow::sizeHint() const {
    return size_.isValid() ? size_ : QMdiSubWindow::sizeHint();
}

void WindowMenu::Arrange() {
    if (tiled_)
        area_->tileSubWindows();
    else
        area_->cascadeSubWindows();
}

void WindowMenu::KeepFileNameInView(QMdiSubWindow* window) {
    window->setStyle(titleStyle_);
}

void WindowMenu::Fill() {
    const QList<QAction*> all = menu_->actions();
    for (qsizetype i = all.indexOf(listStart_) + 1; i < all.size(); ++i) {
        menu_->removeAction(all[i]);
        all[i]->deleteLater();
    }
    const QList<QMdiSubWindow*> windows = area_->subWindowList();
    cascade_->setEnabled(!windows.isEmpty());
    tile_->setEnabled(!windows.isEmpty());
    listStart_->setVisible(!windows.isEmpty());
    for (qsizetype i = 0; i < windows.size(); ++i) {
        QMdiSubWindow* window = windows[i];
        QString caption = window->windowTitle();
        caption.replace(QLatin1Char('&'), QLatin1String("&&"));
        // Access keys for the first nine, as MDI programs number them.
        const QString text = i < 9 ? QStringLiteral("&%1 %2").arg(i + 1).arg(caption)
                                   : QStringLiteral("%1 %2").arg(i + 1).arg(caption);
        QAction* entry = menu_->addAction(text);
        entry->setObjectName(QStringLiteral("mnuWindowList%1").arg(i + 1));
        entry->setCheckable(true);
        entry->setChecked(window == area_->activeSubWindow());
        connect(entry, &QAction::triggered, window,
                [this, window] { area_->setActiveSubWindow(window); });
    }
}

}  // namespace talveron::app
