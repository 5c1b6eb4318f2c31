#include "app/shell/MdiWindows.h"

#include <QAction>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QPointer>

QList<QMdiSubWindow*> OpenSubWindows(const QMdiArea* area) {
    QList<QMdiSubWindow*> windows;
    for (QMdiSubWindow* window : area->subWindowList(QMdiArea::StackingOrder))
        if (!window->isHidden())
            windows.append(window);
    return windows;
}

QMdiSubWindow* TopSubWindow(const QMdiArea* area) {
    QMdiSubWindow* window = area->activeSubWindow();
    if (!window || window->isHidden())
        window = area->currentSubWindow();
    if (!window || window->isHidden()) {
        const QList<QMdiSubWindow*> windows = OpenSubWindows(area);
        window = windows.isEmpty() ? nullptr : windows.last();
    }
    return window;
}

void TileSubWindows(QMdiArea* area, bool stacked) {
    QList<QMdiSubWindow*> windows;
    for (QMdiSubWindow* window : OpenSubWindows(area))
        if (!window->isMinimized())
            windows.prepend(window);
    if (windows.isEmpty())
        return;
    const QRect space = area->viewport()->rect();
    const int count = int(windows.size());
    for (int i = 0; i < count; ++i) {
        QMdiSubWindow* window = windows[i];
        if (window->isMaximized())
            window->showNormal();
        QRect cell;
        if (stacked) {
            const int top = space.top() + space.height() * i / count;
            const int bottom = space.top() + space.height() * (i + 1) / count;
            cell = QRect(space.left(), top, space.width(), bottom - top);
        } else {
            const int left = space.left() + space.width() * i / count;
            const int right = space.left() + space.width() * (i + 1) / count;
            cell = QRect(left, space.top(), right - left, space.height());
        }
        window->setGeometry(cell);
    }
}

void ListSubWindows(QMenu* menu, QMdiArea* area, QList<QAction*>& entries) {
    qDeleteAll(entries);
    entries.clear();
    QMdiSubWindow* current = area->currentSubWindow();
    int number = 0;
    for (QMdiSubWindow* window : area->subWindowList(QMdiArea::CreationOrder)) {
        if (window->isHidden())
            continue;
        if (number == 0)
            entries.append(menu->addSeparator());
        QAction* entry =
            menu->addAction(QString("&%1 %2").arg(++number).arg(window->windowTitle()));
        entry->setCheckable(true);
        entry->setChecked(window == current);
        const QPointer<QMdiSubWindow> target(window);
        QObject::connect(entry, &QAction::triggered, area, [area, target] {
            if (target)
                area->setActiveSubWindow(target);
        });
        entries.append(entry);
    }
}
