#include <QByteArray>
#include <QString>
#include <QtGlobal>

#include <cstdio>
#include <cstdlib>
#include <utility>
#include <vector>

#include "app/Application.h"
#include "app/Startup.h"
#include "textconv/FloatEnvironment.h"

namespace {

// Why the window system could not be started, from what was asked of it.
QByteArray PlatformFailure() {
    auto value = [](const char* name) {
        const QByteArray text = qgetenv(name);
        return QByteArray(name) + (text.isEmpty() ? QByteArray(" unset") : "='" + text + "'");
    };
    if (!qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        return "the window system cannot be started (" + value("QT_QPA_PLATFORM") + ")";
    }
    return "no display answers (" + value("DISPLAY") + ", " + value("WAYLAND_DISPLAY") + ")";
}

[[noreturn]] void CannotStart(const QByteArray& reason) {
    std::fprintf(stderr, "vesk310: cannot start: %s\n", reason.constData());
    std::fflush(stderr);
    std::_Exit(1);
}

// While the application object connects to the window system, Qt's messages
// are held back: a platform that cannot be initialised ends the program with
// one line and exit code 1 (Qt itself would abort), and otherwise they are
// passed on afterwards.
std::vector<std::pair<QtMsgType, QString>> heldMessages;

void HoldMessage(QtMsgType type, const QMessageLogContext&, const QString& message) {
    if (type == QtFatalMsg) CannotStart(PlatformFailure());
    heldMessages.emplace_back(type, message);
}

}  // namespace

int main(int argc, char** argv) {
#if defined(Q_OS_UNIX) && !defined(Q_OS_DARWIN)
    // Without a display the X11 and Wayland platforms cannot start at all; a
    // platform asked for by name (offscreen in the tests) needs none.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") && qEnvironmentVariableIsEmpty("DISPLAY") &&
        qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY")) {
        CannotStart("no display (neither DISPLAY nor WAYLAND_DISPLAY is set)");
    }
#endif
    vesk::SetStartupFloatEnvironment();
    const QtMessageHandler previous = qInstallMessageHandler(HoldMessage);
    vesk::TApplication application(argc, argv);
    qInstallMessageHandler(previous);
    for (const auto& [type, message] : std::exchange(heldMessages, {})) previous(type, {}, message);
    return vesk::RunProgram(application);
}
