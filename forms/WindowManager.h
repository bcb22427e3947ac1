#pragma once
// What the forms ask of an X11 window manager themselves, beyond what Qt asks
// for them: the extents of the frame it puts around a window, also before the
// window is first shown, and a frame with the boxes that the window has and no
// others. On other window systems, and without a window manager, none of it
// does anything.

#include <QMargins>
#include <Qt>
#include <chrono>
#include <cstdint>
#include <optional>

class QWidget;
class QWindow;

namespace vesk {

// The frame extents that the window manager has set on the window (left, top,
// right, bottom) in the window system's pixels; none while it has set none.
std::optional<QMargins> ReportedFrameExtents(const QWindow& window);

// Asks the window manager which frame it will put around the window, which is
// not shown yet, and waits up to `limit` for the answer. None when no window
// manager runs that answers such a request, or when no answer came in time.
std::optional<QMargins> RequestFrameExtents(const QWindow& window, std::chrono::milliseconds limit);

// The window flags of a box (the about box, the splash, the message boxes): a
// dialog of fixed size with a title, a system menu and a close box only.
inline constexpr Qt::WindowFlags kBoxWindowFlags =
    Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
    Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint;

// The boxes of a window's title bar.
enum class FrameBoxes {
    Close,             // a box: the close box alone
    MinimiseAndClose,  // the main dialog: no maximise box
};

// The Motif window manager hints that ask for a fixed frame with a title, a
// system menu and the given boxes: what the user may do with the window and
// what its frame shows.
struct MotifHints {
    std::uint32_t flags;
    std::uint32_t functions;
    std::uint32_t decorations;
};
MotifHints MotifHintsFor(FrameBoxes boxes);

// Asks the window manager for a frame with these boxes: the Motif hints and,
// for a box, the dialog window type. Call it each time before the window is
// shown, since Qt writes hints of its own when it creates the window.
void AskForFrame(QWidget* window, FrameBoxes boxes);

// Makes a box transient for its owner, so that a window manager keeps it over
// the owner and minimises and restores the two together. Without an owner
// that is on the screen the box keeps Qt's default.
void MakeTransientFor(QWidget* box, QWidget* owner);

}  // namespace vesk
