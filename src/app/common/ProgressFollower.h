#pragma once
// Lets a progress box follow the core's work on its workers.
#include "core/WorkerPool.h"

class QProgressDialog;

// Moves `box` on as the work is done; while the count stands still, shows it once its minimum
// duration is over and lets it answer Cancel. False (stop) once the user cancelled it. A
// cancelled box is not given another value: that would show it again.
ostiva::WorkProgress FollowedBy(QProgressDialog& box);
