#include "app/common/AppIcon.h"

QIcon AppIcon() {
    // The resources live in a static library: nothing else makes the linker keep them.
    Q_INIT_RESOURCE(icons);
    // Pixmaps rendered once from data/icons/ostiva.svg: the Qt here has no SVG plugin to draw
    // the drawing itself at run time.
    QIcon icon;
    for (int size : {16, 32, 48, 64, 128, 256})
        icon.addFile(QString(":/icons/ostiva-%1.png").arg(size), QSize(size, size));
    return icon;
}
