// The calendar's widget tests run on Qt's offscreen platform unless another
// one is asked for.
#include <QApplication>

#include <gtest/gtest.h>

#include "calendar/CalendarAccessible.h"

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    ::testing::InitGoogleTest(&argc, argv);
    QApplication application(argc, argv);
    vesk::InstallCalendarAccessibility();
    return RUN_ALL_TESTS();
}
