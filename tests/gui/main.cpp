// The GUI tests run on one application object of the program's own class, so
// every event goes through its error handling as in the program.
#include <gtest/gtest.h>

#include "app/Application.h"
#include "textconv/FloatEnvironment.h"

int main(int argc, char** argv) {
    vesk::SetStartupFloatEnvironment();
    testing::InitGoogleTest(&argc, argv);
    // Offscreen unless the caller chose a platform (test discovery runs
    // without the tests' environment).
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    vesk::TApplication application(argc, argv);
    return RUN_ALL_TESTS();
}
