#include "forms/WindowManager.h"

#include <QGuiApplication>
#include <QWidget>
#include <QWindow>
#include <algorithm>
#include <thread>

#if defined(VESK310_HAVE_XCB) && QT_CONFIG(xcb)
#include <QtGui/qguiapplication_platform.h>
#include <xcb/xcb.h>

#include <cstdlib>
#include <cstring>
#include <memory>
#include <vector>
#define VESK310_X11 1
#endif

namespace vesk {

namespace {

// The Motif hints' flags and bits, as window managers read them.
constexpr std::uint32_t kMotifFunctions = 1U << 0;
constexpr std::uint32_t kMotifDecorations = 1U << 1;
constexpr std::uint32_t kFunctionMove = 1U << 2;
constexpr std::uint32_t kFunctionMinimise = 1U << 3;
constexpr std::uint32_t kFunctionClose = 1U << 5;
constexpr std::uint32_t kDecorBorder = 1U << 1;
constexpr std::uint32_t kDecorTitle = 1U << 3;
constexpr std::uint32_t kDecorMenu = 1U << 4;
constexpr std::uint32_t kDecorMinimise = 1U << 5;

}  // namespace

MotifHints MotifHintsFor(FrameBoxes boxes) {
    // No resize handles and no resizing: the windows have a fixed size.
    MotifHints hints{kMotifFunctions | kMotifDecorations, kFunctionMove | kFunctionClose,
                     kDecorBorder | kDecorTitle | kDecorMenu};
    if (boxes == FrameBoxes::MinimiseAndClose) {
        hints.functions |= kFunctionMinimise;
        hints.decorations |= kDecorMinimise;
    }
    return hints;
}

void MakeTransientFor(QWidget* box, QWidget* owner) {
    if (!box || !owner || !owner->window()->isVisible() || owner->window() == box) return;
    box->winId();  // the box's window, created now if it was not yet
    if (QWindow* handle = box->windowHandle())
        handle->setTransientParent(owner->window()->windowHandle());
}

#ifdef VESK310_X11

namespace {

struct FreeReply {
    void operator()(void* reply) const { std::free(reply); }
};
template <typename T>
using Reply = std::unique_ptr<T, FreeReply>;

xcb_connection_t* Connection() {
    if (QGuiApplication::platformName() != QStringLiteral("xcb")) return nullptr;
    auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    return x11 ? x11->connection() : nullptr;
}

xcb_atom_t Atom(xcb_connection_t* c, const char* name) {
    const auto length = static_cast<std::uint16_t>(std::strlen(name));
    Reply<xcb_intern_atom_reply_t> reply(
        xcb_intern_atom_reply(c, xcb_intern_atom(c, 0, length, name), nullptr));
    return reply ? reply->atom : xcb_atom_t{XCB_ATOM_NONE};
}

// The 32-bit values of a property; empty when it is missing or of another type.
std::vector<std::uint32_t> Property(xcb_connection_t* c, xcb_window_t window, xcb_atom_t property,
                                    xcb_atom_t type, std::uint32_t count) {
    Reply<xcb_get_property_reply_t> reply(xcb_get_property_reply(
        c, xcb_get_property(c, 0, window, property, type, 0, count), nullptr));
    if (!reply || reply->type != type || reply->format != 32) return {};
    const auto* values = static_cast<const std::uint32_t*>(xcb_get_property_value(reply.get()));
    const auto length = static_cast<std::size_t>(xcb_get_property_value_length(reply.get())) / 4;
    return std::vector<std::uint32_t>(values, values + length);
}

xcb_window_t RootOf(xcb_connection_t* c, xcb_window_t window) {
    Reply<xcb_get_geometry_reply_t> reply(
        xcb_get_geometry_reply(c, xcb_get_geometry(c, window), nullptr));
    return reply ? reply->root : xcb_window_t{XCB_WINDOW_NONE};
}

// True when a window manager runs (its check window names itself, as EWMH
// has it) and says that it supports the hint.
bool WindowManagerSupports(xcb_connection_t* c, xcb_window_t root, const char* hint) {
    const xcb_atom_t check = Atom(c, "_NET_SUPPORTING_WM_CHECK");
    const std::vector<std::uint32_t> child = Property(c, root, check, XCB_ATOM_WINDOW, 1);
    if (child.size() != 1 || Property(c, child[0], check, XCB_ATOM_WINDOW, 1) != child)
        return false;
    const xcb_atom_t wanted = Atom(c, hint);
    const std::vector<std::uint32_t> supported =
        Property(c, root, Atom(c, "_NET_SUPPORTED"), XCB_ATOM_ATOM, 4096);
    return std::find(supported.begin(), supported.end(), wanted) != supported.end();
}

std::optional<QMargins> Extents(xcb_connection_t* c, xcb_window_t window) {
    // Left, right, top, bottom, as EWMH orders them.
    const std::vector<std::uint32_t> values =
        Property(c, window, Atom(c, "_NET_FRAME_EXTENTS"), XCB_ATOM_CARDINAL, 4);
    if (values.size() != 4) return std::nullopt;
    return QMargins(static_cast<int>(values[0]), static_cast<int>(values[2]),
                    static_cast<int>(values[1]), static_cast<int>(values[3]));
}

}  // namespace

std::optional<QMargins> ReportedFrameExtents(const QWindow& window) {
    xcb_connection_t* c = Connection();
    if (!c || !window.handle()) return std::nullopt;
    return Extents(c, static_cast<xcb_window_t>(window.winId()));
}

std::optional<QMargins> RequestFrameExtents(const QWindow& window,
                                            std::chrono::milliseconds limit) {
    xcb_connection_t* c = Connection();
    if (!c || !window.handle()) return std::nullopt;
    const auto id = static_cast<xcb_window_t>(window.winId());
    const xcb_window_t root = RootOf(c, id);
    if (root == XCB_WINDOW_NONE || !WindowManagerSupports(c, root, "_NET_REQUEST_FRAME_EXTENTS"))
        return std::nullopt;

    // An answer to an earlier request must not pass for this one's.
    const xcb_atom_t extents = Atom(c, "_NET_FRAME_EXTENTS");
    xcb_delete_property(c, id, extents);
    xcb_client_message_event_t request{};
    request.response_type = XCB_CLIENT_MESSAGE;
    request.format = 32;
    request.window = id;
    request.type = Atom(c, "_NET_REQUEST_FRAME_EXTENTS");
    xcb_send_event(c, 0, root,
                   XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY | XCB_EVENT_MASK_SUBSTRUCTURE_REDIRECT,
                   reinterpret_cast<const char*>(&request));
    xcb_flush(c);

    // The window manager answers by setting the property. Qt's own thread
    // reads the events, so the property is asked for until it is there.
    const auto deadline = std::chrono::steady_clock::now() + limit;
    for (;;) {
        if (std::optional<QMargins> answer = Extents(c, id)) return answer;
        if (std::chrono::steady_clock::now() >= deadline) return std::nullopt;
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
}

void AskForFrame(QWidget* window, FrameBoxes boxes) {
    xcb_connection_t* c = Connection();
    if (!c || !window->isWindow()) return;
    const auto id = static_cast<xcb_window_t>(window->winId());
    const MotifHints hints = MotifHintsFor(boxes);
    const std::uint32_t motif[5] = {hints.flags, hints.functions, hints.decorations, 0, 0};
    const xcb_atom_t motifAtom = Atom(c, "_MOTIF_WM_HINTS");
    xcb_change_property(c, XCB_PROP_MODE_REPLACE, id, motifAtom, motifAtom, 32, 5, motif);
    if (boxes == FrameBoxes::Close) {
        const xcb_atom_t dialog = Atom(c, "_NET_WM_WINDOW_TYPE_DIALOG");
        xcb_change_property(c, XCB_PROP_MODE_REPLACE, id, Atom(c, "_NET_WM_WINDOW_TYPE"),
                            XCB_ATOM_ATOM, 32, 1, &dialog);
    }
    xcb_flush(c);
}

#else  // no X11

std::optional<QMargins> ReportedFrameExtents(const QWindow&) { return std::nullopt; }

std::optional<QMargins> RequestFrameExtents(const QWindow&, std::chrono::milliseconds) {
    return std::nullopt;
}

void AskForFrame(QWidget*, FrameBoxes) {}

#endif

}  // namespace vesk
