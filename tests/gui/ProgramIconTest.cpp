// The program icon's sizes for the window system, and the version the about
// box names.
#include <gtest/gtest.h>

#include <QImage>
#include <QLabel>

#include "forms/AbutV310.h"
#include "forms/Icons.h"

namespace vesk::test {
namespace {

TEST(ProgramIconTest, WindowIconHasEverySizeFromTheSameDrawing) {
    const QIcon icon = ProgramWindowIcon();
    const QImage drawn = ProgramIcon().toImage().convertToFormat(QImage::Format_ARGB32);
    ASSERT_EQ(drawn.size(), QSize(32, 32));
    for (const int size : {16, 32, 48, 64, 128, 256}) {
        SCOPED_TRACE(size);
        EXPECT_TRUE(icon.availableSizes().contains(QSize(size, size)));
        const QImage image = icon.pixmap(QSize(size, size)).toImage().convertToFormat(QImage::Format_ARGB32);
        ASSERT_EQ(image.size(), QSize(size, size));  // drawn at that size, not scaled from another
        if (size % 32 != 0) continue;
        // Whole multiples keep the drawing's pixels: a stale file after a change
        // of the drawing shows here.
        const int scale = size / 32;
        for (int y = 0; y < 32; ++y) {
            for (int x = 0; x < 32; ++x) {
                ASSERT_EQ(image.pixel(x * scale + scale / 2, y * scale + scale / 2), drawn.pixel(x, y))
                    << "at " << x << ", " << y;
            }
        }
    }
}

TEST(ProgramIconTest, AboutBoxNamesTheProjectVersion) {
    TAboutBox about;
    EXPECT_EQ(about.Version->text(), QString::fromUtf8("第 3.10 版"));
    EXPECT_FALSE(about.windowIcon().availableSizes().isEmpty());
}

}  // namespace
}  // namespace vesk::test
