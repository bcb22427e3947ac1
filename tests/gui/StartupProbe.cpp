// Measures the program's start-up: the time from process start to the main
// dialog being on the screen, with the splash's count-down or without it, and the
// resident memory then. Not a test: app/measure-startup runs it under Xvfb.
//
//   vesk310_startup_probe [--no-countdown]
#include <time.h>
#include <unistd.h>

#include <QTimer>
#include <QWindow>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <sstream>
#include <string>

#include "app/Application.h"
#include "app/Startup.h"
#include "forms/CountDown.h"
#include "forms/MainV310.h"
#include "textconv/FloatEnvironment.h"

namespace {

// Milliseconds since this process started, by the kernel's record of it.
double MsSinceProcessStart() {
    std::ifstream stat("/proc/self/stat");
    std::string text((std::istreambuf_iterator<char>(stat)), {});
    std::istringstream fields(text.substr(text.rfind(')') + 2));
    std::string field;
    for (int i = 3; i <= 22; ++i) fields >> field;  // field 22: start time in clock ticks
    const double started = std::stod(field) / static_cast<double>(sysconf(_SC_CLK_TCK));
    timespec now{};
    clock_gettime(CLOCK_BOOTTIME, &now);
    return (static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) / 1e9 - started) * 1000.0;
}

std::string StatusLine(const char* key) {
    std::ifstream status("/proc/self/status");
    for (std::string line; std::getline(status, line);)
        if (line.rfind(key, 0) == 0) return line;
    return {};
}

class FirstExpose : public QObject {
public:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (!done_ && event->type() == QEvent::Expose && vesk::PagesDlg &&
            watched == vesk::PagesDlg->windowHandle() && vesk::PagesDlg->windowHandle()->isExposed()) {
            done_ = true;
            const double ms = MsSinceProcessStart();
            QTimer::singleShot(0, [ms] {
                std::printf("dialog on screen after %.0f ms; %s\n", ms, StatusLine("VmRSS").c_str());
                vesk::PagesDlg->close();
            });
        }
        return false;
    }

private:
    bool done_ = false;
};

}  // namespace

int main(int argc, char** argv) {
    vesk::SetStartupFloatEnvironment();
    const bool countdown = !(argc > 1 && std::strcmp(argv[1], "--no-countdown") == 0);
    vesk::TApplication application(argc, argv);
    FirstExpose probe;
    application.installEventFilter(&probe);
    vesk::PagesDlgOptions options;
    options.splashWait = [countdown] {
        if (countdown) vesk::CountDown(vesk::kSplashSteps);
    };
    return vesk::RunProgram(application, options);
}
