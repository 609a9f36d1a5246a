// Menu bar and popup menus over QMenuBar and QMenu. Items carry their command
// id; check marks are kept by the program, never toggled by Qt on a click.
#include <QAction>
#include <QApplication>
#include <QMenu>
#include <QMenuBar>
#include <QPixmap>
#include <QStyle>
#include <algorithm>
#include <vector>

#include "platform/menus.h"
#include "platform/messages.h"
#include "platform/qt/text.h"
#include "platform/qt/window_qt.h"

struct PlatformMenu {
    bool isBar = false;
    QPointer<QMenuBar> bar;
    QPointer<QMenu> popup;
    PlatformMenu* parent = nullptr;
    std::vector<PlatformMenu*> children;
    PlatformWindow* window = nullptr;  // the window a bar is attached to
};

namespace {

std::vector<PlatformMenu*> liveMenus;
const char* const idProperty = "mjCommand";
const char* const checkedProperty = "mjChecked";

PlatformMenu* liveMenu(MenuHandle menu) {
    if (!menu) return nullptr;
    return std::find(liveMenus.begin(), liveMenus.end(), menu) != liveMenus.end() ? menu : nullptr;
}

QWidget* menuWidget(PlatformMenu* menu) {
    return menu->isBar ? static_cast<QWidget*>(menu->bar.data()) : static_cast<QWidget*>(menu->popup.data());
}

PlatformWindow* ownerWindow(PlatformMenu* menu) {
    while (menu && menu->parent) menu = menu->parent;
    return menu ? menu->window : nullptr;
}

void applyCheck(QAction* action, bool checked) {
    action->setProperty(checkedProperty, checked);
    action->setCheckable(checked);
    action->setChecked(checked);
}

// Calls visit(action) for every item of the widget's menus, depth first.
template <typename Visit>
bool visitItems(QWidget* widget, uint32_t id, Visit visit, int depth = 0) {
    if (!widget || depth > 32) return false;
    bool found = false;
    for (QAction* action : widget->actions()) {
        if (action->menu()) {
            if (visitItems(action->menu(), id, visit, depth + 1)) found = true;
            continue;
        }
        QVariant value = action->property(idProperty);
        if (value.isValid() && value.toUInt() == id) {
            found = true;
            if (!visit(action)) return true;
        }
    }
    return found;
}

void detach(PlatformMenu* menu, bool relayoutNow) {
    PlatformWindow* window = menu->window;
    if (!window) return;
    menu->window = nullptr;
    if (menu->bar) menu->bar->hide();
    if (window->attachedMenu == menu) {
        window->attachedMenu = nullptr;
        window->menuBar = nullptr;
        if (relayoutNow)
            platformLayoutMainWindow(window);
        else  // a new bar usually follows at once; lay out once it is there
            platformRunLater([window] { platformLayoutMainWindow(window); });
    }
}

void destroyTree(PlatformMenu* menu) {
    for (PlatformMenu* child : menu->children) {
        child->parent = nullptr;
        destroyTree(child);
    }
    menu->children.clear();
    liveMenus.erase(std::remove(liveMenus.begin(), liveMenus.end(), menu), liveMenus.end());
    // Later, not now: the menu may be the one whose item is being handled.
    if (QWidget* widget = menuWidget(menu)) {
        widget->hide();
        widget->deleteLater();
    }
    delete menu;
}

PlatformMenu* newMenu(bool bar) {
    PlatformMenu* menu = new PlatformMenu();
    menu->isBar = bar;
    if (bar) {
        menu->bar = new QMenuBar();
        menu->bar->setNativeMenuBar(false);
    } else {
        menu->popup = new QMenu();
    }
    liveMenus.push_back(menu);
    return menu;
}

}  // namespace

MenuHandle platformCreateMenuBar() { return newMenu(true); }
MenuHandle platformCreatePopupMenu() { return newMenu(false); }

bool platformAppendMenuItem(MenuHandle handle, uint32_t id, const char* text) {
    PlatformMenu* menu = liveMenu(handle);
    if (!menu || !text || !menuWidget(menu)) return false;
    QAction* action = new QAction(fromGameText(text), menuWidget(menu));
    action->setProperty(idProperty, (uint)id);
    action->setShortcutContext(Qt::WidgetShortcut);
    action->setMenuRole(QAction::NoRole);
    applyCheck(action, false);
    QObject::connect(action, &QAction::triggered, action, [menu, action, id] {
        applyCheck(action, action->property(checkedProperty).toBool());
        if (std::find(liveMenus.begin(), liveMenus.end(), menu) == liveMenus.end()) return;
        PlatformWindow* window = ownerWindow(menu);
        if (window) platformDeliver(window, WM_COMMAND, id, 0);
    });
    menuWidget(menu)->addAction(action);
    return true;
}

bool platformAppendSubmenu(MenuHandle handle, MenuHandle subHandle, const char* text) {
    PlatformMenu* menu = liveMenu(handle);
    PlatformMenu* sub = liveMenu(subHandle);
    if (!menu || !sub || sub == menu || sub->isBar || sub->parent || !text || !sub->popup) return false;
    for (PlatformMenu* up = menu; up; up = up->parent)
        if (up == sub) return false;  // no cycles
    sub->popup->setTitle(fromGameText(text));
    if (menu->isBar)
        menu->bar->addMenu(sub->popup);
    else
        menu->popup->addMenu(sub->popup);
    sub->parent = menu;
    menu->children.push_back(sub);
    return true;
}

bool platformAppendSeparator(MenuHandle handle) {
    PlatformMenu* menu = liveMenu(handle);
    if (!menu || !menuWidget(menu)) return false;
    if (menu->isBar)
        menu->bar->addSeparator();
    else
        menu->popup->addSeparator();
    return true;
}

bool platformAttachMenuBar(WindowHandle handle, MenuHandle barHandle) {
    PlatformWindow* window = platformLiveWindow(handle);
    if (!window || window->kind != WINDOW_KIND_MAIN) return false;
    PlatformMenu* bar = liveMenu(barHandle);
    if (barHandle && (!bar || !bar->isBar || !bar->bar)) return false;
    if (window->attachedMenu == bar && bar) return true;
    if (window->attachedMenu) {
        PlatformMenu* old = window->attachedMenu;
        old->window = nullptr;
        if (old->bar) {
            old->bar->hide();
            old->bar->setParent(nullptr);
        }
        window->attachedMenu = nullptr;
        window->menuBar = nullptr;
    }
    if (bar) {
        if (bar->window) detach(bar, true);
        bar->bar->setParent(window->widget);
        bar->bar->show();
        bar->window = window;
        window->attachedMenu = bar;
        window->menuBar = bar->bar;
    }
    platformLayoutMainWindow(window);
    return true;
}

void platformDestroyMenu(MenuHandle handle) {
    PlatformMenu* menu = liveMenu(handle);
    if (!menu) return;
    detach(menu, false);
    if (menu->parent) {
        auto& siblings = menu->parent->children;
        siblings.erase(std::remove(siblings.begin(), siblings.end(), menu), siblings.end());
        QWidget* parentWidget = menuWidget(menu->parent);
        if (parentWidget && menu->popup) parentWidget->removeAction(menu->popup->menuAction());
        menu->parent = nullptr;
    }
    destroyTree(menu);
}

// The window is going: its bar goes with it.
void platformMenuWindowGone(PlatformWindow* window) {
    if (window->attachedMenu) {
        PlatformMenu* bar = window->attachedMenu;
        bar->window = nullptr;
        window->attachedMenu = nullptr;
        window->menuBar = nullptr;
        destroyTree(bar);
    }
}

bool platformCheckMenuItem(MenuHandle handle, uint32_t id, bool checked) {
    PlatformMenu* menu = liveMenu(handle);
    if (!menu) return false;
    return visitItems(menuWidget(menu), id, [checked](QAction* action) {
        applyCheck(action, checked);
        return true;
    });
}

bool platformIsMenuItemChecked(MenuHandle handle, uint32_t id) {
    PlatformMenu* menu = liveMenu(handle);
    if (!menu) return false;
    bool checked = false;
    visitItems(menuWidget(menu), id, [&checked](QAction* action) {
        checked = action->property(checkedProperty).toBool();
        return false;
    });
    return checked;
}

bool platformSetMenuItemIcon(MenuHandle handle, uint32_t id, const Surface* icon) {
    PlatformMenu* menu = liveMenu(handle);
    if (!menu || !icon || !icon->pixels) return false;
    // The picture has the device pixels of the menu's icon size: shown at that size.
    QImage image = platformSurfaceImage(icon);
    const int shown = QApplication::style()->pixelMetric(QStyle::PM_SmallIconSize);
    if (shown > 0 && icon->width > shown) image.setDevicePixelRatio((double)icon->width / shown);
    QIcon picture(QPixmap::fromImage(image));
    return visitItems(menuWidget(menu), id, [&picture](QAction* action) {
        action->setIcon(picture);
        action->setIconVisibleInMenu(true);
        return false;
    });
}

uint32_t platformMenuBackgroundColour() {
    QColor colour = QApplication::palette("QMenu").color(QPalette::Window);
    return (uint32_t)colour.red() | ((uint32_t)colour.green() << 8) | ((uint32_t)colour.blue() << 16);
}
