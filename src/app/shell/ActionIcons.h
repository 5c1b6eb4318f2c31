#pragma once
// The command icons, drawn at run time so that the program needs no image files.
#include <QIcon>
#include <QString>

// The icon of the command named `commandName` (for example "actProjectOpen"); a null icon for
// a command without one. Every command has its own picture; menu entry and tool button share it.
QIcon ActionIcon(const QString& commandName);
