// The window icon comes from resources compiled into the program's library: each of the usual
// sizes must be there, drawn (not empty) and exactly that size.
#include "app/common/AppIcon.h"

#include <QImage>
#include <gtest/gtest.h>

TEST(AppIcon, HasEveryUsualSizeDrawn) {
    const QIcon icon = AppIcon();
    ASSERT_FALSE(icon.isNull());
    for (int size : {16, 32, 48, 64, 128, 256}) {
        SCOPED_TRACE(size);
        EXPECT_TRUE(icon.availableSizes().contains(QSize(size, size)));
        const QImage image = icon.pixmap(QSize(size, size), 1.0).toImage();
        ASSERT_EQ(image.size(), QSize(size, size));
        // The centre lies on the rail's web: opaque; the rounded corner is (nearly) clear.
        EXPECT_EQ(qAlpha(image.pixel(size / 2, size / 2)), 255);
        EXPECT_LT(qAlpha(image.pixel(0, 0)), 32);
    }
}
