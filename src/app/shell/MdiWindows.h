#pragma once
// The Window menu's work on the child windows of the main window's MDI area.
#include <QList>

class QAction;
class QMdiArea;
class QMdiSubWindow;
class QMenu;

// The open child windows, bottom of the stack first; a closed window may linger until its
// deletion runs and is left out.
QList<QMdiSubWindow*> OpenSubWindows(const QMdiArea* area);
// The active child window, else the current one, else the top open one; nullptr when none is
// open.
QMdiSubWindow* TopSubWindow(const QMdiArea* area);
// Stacked: one above the other; otherwise side by side. The window on top gets the first cell;
// minimised windows stay where they are.
void TileSubWindows(QMdiArea* area, bool stacked);
// Replaces `entries` at the end of `menu` by a line and a numbered entry per open child window
// that activates it; the current one is checked.
void ListSubWindows(QMenu* menu, QMdiArea* area, QList<QAction*>& entries);
