#include "app/common/ProgressFollower.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QProgressDialog>

ostiva::WorkProgress FollowedBy(QProgressDialog& box) {
    QElapsedTimer clock;
    clock.start();
    return [&box, clock](std::size_t done, std::size_t) {
        if (box.wasCanceled())
            return false;
        if (int(done) != box.value()) {
            box.setValue(int(done));
        } else {
            // The box shows itself and handles events only when its value moves. While one file
            // takes long (a slow disk, a save under way elsewhere) it must still show when due
            // and answer Cancel.
            if (!box.isVisible() && clock.elapsed() >= box.minimumDuration())
                box.show();
            if (box.isVisible() && box.windowModality() != Qt::NonModal)
                QCoreApplication::processEvents();
        }
        return !box.wasCanceled();
    };
}
