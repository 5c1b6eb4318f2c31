#include "app/common/ProgressFollower.h"

#include <QProgressDialog>

ostiva::WorkProgress FollowedBy(QProgressDialog& box) {
    return [&box](std::size_t done, std::size_t) {
        if (box.wasCanceled())
            return false;
        box.setValue(int(done));
        return !box.wasCanceled();
    };
}
