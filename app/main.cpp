#include "app/Application.h"
#include "app/Startup.h"
#include "textconv/FloatEnvironment.h"

int main(int argc, char** argv) {
    vesk::SetStartupFloatEnvironment();
    vesk::TApplication application(argc, argv);
    return vesk::RunProgram(application);
}
