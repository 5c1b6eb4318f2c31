#pragma once
// The program's icon for its windows: a rail cross-section under a straightedge.
#include <QIcon>

// Every size the desktop asks for (title bar, task bar, window switcher), each drawn for its
// size so that the small ones stay sharp.
QIcon AppIcon();
