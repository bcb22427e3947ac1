// Watches where an X11 display's top-level windows stand while they are
// mapped, as the user sees them: every map, and every move after it, of each
// window created after the watch started, with its frame (the window manager's
// _NET_FRAME_EXTENTS) and whether the whole is centred on the work area. Not a
// test: scripts/placement-loop runs it beside the program. One line each,
// "<ms> unmap <window>" or
//
//   <ms> map|move <window> "<name>" client <x>,<y> <w>x<h>
//        frame <l>,<t>,<r>,<b> centred|off <dx>,<dy>
//
// (on one line), where dx and dy are how far the frame's centre lies from the work area's
// (for a window larger than the area: how far its frame's left or top edge
// lies from the area's); centred means no farther than the tolerance, half a
// pixel unless told (a scaled program can stand only on whole multiples of its
// scale). Runs until it is ended.
//   vesk310_placement_watch [TOLERANCE_PIXELS]
#include <xcb/xcb.h>

#include <chrono>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>
#include <memory>
#include <string>
#include <vector>

namespace {

struct FreeReply {
    void operator()(void* reply) const { std::free(reply); }
};
template <typename T>
using Reply = std::unique_ptr<T, FreeReply>;

xcb_connection_t* c = nullptr;
xcb_window_t root = 0;
double tolerance = 0.5;
const auto started = std::chrono::steady_clock::now();

long long Milliseconds() {
    return static_cast<long long>(std::chrono::duration_cast<std::chrono::milliseconds>(
                                      std::chrono::steady_clock::now() - started)
                                      .count());
}

xcb_atom_t Atom(const char* name) {
    Reply<xcb_intern_atom_reply_t> reply(xcb_intern_atom_reply(
        c, xcb_intern_atom(c, 0, static_cast<std::uint16_t>(std::strlen(name)), name), nullptr));
    return reply ? reply->atom : xcb_atom_t{XCB_ATOM_NONE};
}

std::string PropertyText(xcb_window_t window, xcb_atom_t property, xcb_atom_t type) {
    Reply<xcb_get_property_reply_t> reply(xcb_get_property_reply(
        c, xcb_get_property(c, 0, window, property, type, 0, 1024), nullptr));
    if (!reply || reply->type != type) return {};
    const auto* text = static_cast<const char*>(xcb_get_property_value(reply.get()));
    return std::string(text, static_cast<std::size_t>(xcb_get_property_value_length(reply.get())));
}

std::vector<std::uint32_t> Cardinals(xcb_window_t window, xcb_atom_t property,
                                     std::uint32_t count) {
    Reply<xcb_get_property_reply_t> reply(xcb_get_property_reply(
        c, xcb_get_property(c, 0, window, property, XCB_ATOM_CARDINAL, 0, count), nullptr));
    if (!reply || reply->type != XCB_ATOM_CARDINAL || reply->format != 32) return {};
    const auto* values = static_cast<const std::uint32_t*>(xcb_get_property_value(reply.get()));
    return {values, values + xcb_get_property_value_length(reply.get()) / 4};
}

struct Area {
    int x, y, w, h;
};

Area WorkArea() {
    const std::vector<std::uint32_t> area = Cardinals(root, Atom("_NET_WORKAREA"), 4);
    if (area.size() >= 4)
        return {static_cast<int>(area[0]), static_cast<int>(area[1]), static_cast<int>(area[2]),
                static_cast<int>(area[3])};
    Reply<xcb_get_geometry_reply_t> geometry(
        xcb_get_geometry_reply(c, xcb_get_geometry(c, root), nullptr));
    return {0, 0, geometry ? geometry->width : 0, geometry ? geometry->height : 0};
}

// How far a frame edge lies from where centring puts it, on one axis: half
// pixels count as centred by rounding either way.
double Offset(int start, int length, int areaStart, int areaLength) {
    if (length > areaLength) return start - areaStart;
    return (2.0 * (start - areaStart) + length - areaLength) / 2.0;
}

struct Seen {
    int x = -1, y = -1;
    std::vector<std::uint32_t> frame;
};
std::map<xcb_window_t, Seen> windows;

// Prints the window's place unless it is a window manager's frame (which has
// no name) or, with always false, the place is the one printed last. True for
// a named window.
bool Report(const char* what, xcb_window_t window, bool always) {
    Reply<xcb_get_geometry_reply_t> geometry(
        xcb_get_geometry_reply(c, xcb_get_geometry(c, window), nullptr));
    Reply<xcb_translate_coordinates_reply_t> at(xcb_translate_coordinates_reply(
        c, xcb_translate_coordinates(c, window, root, 0, 0), nullptr));
    if (!geometry || !at) return false;
    std::vector<std::uint32_t> frame = Cardinals(window, Atom("_NET_FRAME_EXTENTS"), 4);
    Seen& seen = windows[window];
    if (!always && seen.x == at->dst_x && seen.y == at->dst_y && seen.frame == frame) return true;
    seen = {at->dst_x, at->dst_y, frame};
    if (frame.size() != 4) frame = {0, 0, 0, 0};  // left, right, top, bottom
    std::string name = PropertyText(window, Atom("_NET_WM_NAME"), Atom("UTF8_STRING"));
    if (name.empty()) name = PropertyText(window, XCB_ATOM_WM_NAME, XCB_ATOM_STRING);
    if (name.empty()) return false;  // a window manager's frame
    const int left = at->dst_x - static_cast<int>(frame[0]);
    const int top = at->dst_y - static_cast<int>(frame[2]);
    const int width = geometry->width + static_cast<int>(frame[0] + frame[1]);
    const int height = geometry->height + static_cast<int>(frame[2] + frame[3]);
    const Area area = WorkArea();
    const double dx = Offset(left, width, area.x, area.w);
    const double dy = Offset(top, height, area.y, area.h);
    const bool centred = std::abs(dx) <= tolerance && std::abs(dy) <= tolerance;
    std::printf("%lld %s %u \"%s\" client %d,%d %ux%u frame %u,%u,%u,%u %s %.1f,%.1f\n",
                Milliseconds(), what, window, name.c_str(), at->dst_x, at->dst_y, geometry->width,
                geometry->height, frame[0], frame[2], frame[1], frame[3],
                centred ? "centred" : "off", dx, dy);
    std::fflush(stdout);
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc > 1) tolerance = std::atof(argv[1]);
    c = xcb_connect(nullptr, nullptr);
    if (xcb_connection_has_error(c)) {
        std::fprintf(stderr, "vesk310_placement_watch: no display\n");
        return 1;
    }
    root = xcb_setup_roots_iterator(xcb_get_setup(c)).data->root;
    const std::uint32_t rootMask = XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY;
    xcb_change_window_attributes(c, root, XCB_CW_EVENT_MASK, &rootMask);
    const xcb_atom_t extents = Atom("_NET_FRAME_EXTENTS");
    std::printf("0 watching\n");
    std::fflush(stdout);
    xcb_flush(c);

    std::map<xcb_window_t, bool> mapped;  // the named windows that are on the screen
    while (xcb_generic_event_t* raw = xcb_wait_for_event(c)) {
        std::unique_ptr<xcb_generic_event_t, FreeReply> event(raw);
        switch (event->response_type & 0x7f) {
            case XCB_CREATE_NOTIFY: {
                // A new top-level window: its own map, moves and properties.
                const auto* created = reinterpret_cast<xcb_create_notify_event_t*>(raw);
                if (created->parent != root || created->override_redirect) break;
                const std::uint32_t mask =
                    XCB_EVENT_MASK_STRUCTURE_NOTIFY | XCB_EVENT_MASK_PROPERTY_CHANGE;
                xcb_change_window_attributes(c, created->window, XCB_CW_EVENT_MASK, &mask);
                windows[created->window] = {};
                xcb_flush(c);
                break;
            }
            case XCB_MAP_NOTIFY: {
                const auto* map = reinterpret_cast<xcb_map_notify_event_t*>(raw);
                if (!windows.count(map->window)) break;  // a frame, or older than the watch
                mapped[map->window] = Report("map", map->window, true);
                break;
            }
            case XCB_CONFIGURE_NOTIFY: {
                const auto* configure = reinterpret_cast<xcb_configure_notify_event_t*>(raw);
                if (mapped[configure->window]) Report("move", configure->window, false);
                break;
            }
            case XCB_PROPERTY_NOTIFY: {
                const auto* property = reinterpret_cast<xcb_property_notify_event_t*>(raw);
                if (property->atom == extents && mapped[property->window])
                    Report("move", property->window, false);
                break;
            }
            case XCB_UNMAP_NOTIFY: {
                const auto* unmap = reinterpret_cast<xcb_unmap_notify_event_t*>(raw);
                if (mapped[unmap->window])
                    std::printf("%lld unmap %u\n", Milliseconds(), unmap->window);
                std::fflush(stdout);
                mapped[unmap->window] = false;
                break;
            }
            case XCB_DESTROY_NOTIFY: {
                const auto* destroyed = reinterpret_cast<xcb_destroy_notify_event_t*>(raw);
                windows.erase(destroyed->window);
                mapped.erase(destroyed->window);
                break;
            }
            default:
                break;
        }
    }
    return 0;
}
