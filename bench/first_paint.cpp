// Starts a program on the X display and tells when its window first showed on the screen and
// when it was first painted, without polling: the server reports the window's mapping and,
// through the damage extension, the first drawing into it. Then the program is stopped and
// its peak memory read.
//   first_paint TITLE PROGRAM [ARGUMENT...]
// prints "paint-milliseconds map-milliseconds peak-kibibytes" on one line, the times counted
// from just before the program was started, followed by "step=milliseconds" for each step
// the program marked on the way (see app/startup_marks.h), on the same count.
#include <xcb/damage.h>
#include <xcb/xcb.h>

#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <memory>
#include <string>

namespace {

using Clock = std::chrono::steady_clock;

template <typename Reply> using ReplyPointer = std::unique_ptr<Reply, decltype(&std::free)>;

[[noreturn]] void fail(const char *message)
{
    std::fprintf(stderr, "first_paint: %s\n", message);
    std::exit(2);
}

std::string windowTitle(xcb_connection_t *connection, xcb_window_t window)
{
    const xcb_intern_atom_cookie_t nameCookie = xcb_intern_atom(connection, 0, 12, "_NET_WM_NAME");
    const xcb_intern_atom_cookie_t typeCookie = xcb_intern_atom(connection, 0, 11, "UTF8_STRING");
    ReplyPointer<xcb_intern_atom_reply_t> name(
        xcb_intern_atom_reply(connection, nameCookie, nullptr), &std::free);
    ReplyPointer<xcb_intern_atom_reply_t> type(
        xcb_intern_atom_reply(connection, typeCookie, nullptr), &std::free);
    if (!name || !type)
        return {};
    ReplyPointer<xcb_get_property_reply_t> property(
        xcb_get_property_reply(connection,
                               xcb_get_property(connection, 0, window, name->atom, type->atom, 0,
                                                256),
                               nullptr),
        &std::free);
    if (!property)
        return {};
    return std::string(static_cast<const char *>(xcb_get_property_value(property.get())),
                       static_cast<std::size_t>(xcb_get_property_value_length(property.get())));
}

double millisecondsSince(Clock::time_point start)
{
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

} // namespace

int main(int argc, char *argv[])
{
    if (argc < 3)
        fail("usage: first_paint TITLE PROGRAM [ARGUMENT...]");
    const std::string title = argv[1];

    xcb_connection_t *connection = xcb_connect(nullptr, nullptr);
    if (xcb_connection_has_error(connection))
        fail("no display");
    const xcb_query_extension_reply_t *damage = xcb_get_extension_data(connection, &xcb_damage_id);
    if (!damage || !damage->present)
        fail("the display has no damage extension");
    std::free(xcb_damage_query_version_reply(
        connection, xcb_damage_query_version(connection, 1, 1), nullptr));

    // Every window made on the root from now on is reported, and with it the window's mapping.
    const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(connection)).data->root;
    const std::uint32_t mask = XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY;
    xcb_change_window_attributes(connection, root, XCB_CW_EVENT_MASK, &mask);
    std::free(xcb_get_input_focus_reply(connection, xcb_get_input_focus(connection), nullptr));

    char marksFile[] = "/tmp/first_paint_marks_XXXXXX";
    const int marksDescriptor = mkstemp(marksFile);
    if (marksDescriptor < 0)
        fail("no file for the program's marks");
    close(marksDescriptor);
    setenv("MOPECO_STARTUP_MARKS", marksFile, 1);

    const Clock::time_point start = Clock::now();
    const pid_t child = fork();
    if (child < 0)
        fail("the program could not be started");
    if (child == 0) {
        execvp(argv[2], argv + 2);
        _exit(127);
    }

    xcb_window_t watched = XCB_NONE;
    double mapped = -1;
    double painted = -1;
    while (painted < 0) {
        xcb_generic_event_t *event = xcb_wait_for_event(connection);
        if (!event)
            fail("the display went away");
        const std::uint8_t type = event->response_type & 0x7f;
        if (type == XCB_CREATE_NOTIFY) {
            // The drawing is watched from the window's making on, so no paint can slip by.
            const auto *created = reinterpret_cast<xcb_create_notify_event_t *>(event);
            xcb_damage_create(connection, xcb_generate_id(connection), created->window,
                              XCB_DAMAGE_REPORT_LEVEL_NON_EMPTY);
            xcb_flush(connection);
        } else if (type == XCB_MAP_NOTIFY && watched == XCB_NONE) {
            const auto *map = reinterpret_cast<xcb_map_notify_event_t *>(event);
            if (windowTitle(connection, map->window) == title) {
                watched = map->window;
                mapped = millisecondsSince(start);
            }
        } else if (type == damage->first_event + XCB_DAMAGE_NOTIFY) {
            const auto *notify = reinterpret_cast<xcb_damage_notify_event_t *>(event);
            if (watched != XCB_NONE && notify->drawable == watched)
                painted = millisecondsSince(start);
        }
        std::free(event);
    }

    // Whatever the program does right after its first paint counts towards its peak memory.
    usleep(500 * 1000);
    kill(child, SIGTERM);
    int status = 0;
    rusage usage{};
    wait4(child, &status, 0, &usage);
    xcb_disconnect(connection);
    std::printf("%.1f %.1f %ld", painted, mapped, usage.ru_maxrss);
    // The program's marks are read on the same steady clock as `start`.
    const long long startNanoseconds =
        std::chrono::duration_cast<std::chrono::nanoseconds>(start.time_since_epoch()).count();
    std::ifstream marks(marksFile);
    std::string step;
    long long moment = 0;
    while (marks >> step >> moment)
        std::printf(" %s=%.1f", step.c_str(), (moment - startNanoseconds) / 1e6);
    std::printf("\n");
    unlink(marksFile);
    return 0;
}
