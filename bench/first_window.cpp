// Times a program's start to its first window: from just before exec until the X server maps a
// top-level window, on the display in DISPLAY, which should hold no other client that maps
// windows. Prints the milliseconds and kills the program's process group at once.
//
// Usage: bench_first_window [--timeout-ms N] PROGRAM [ARGS...]
// Exit: 0 timed; 1 the program ended or timed out without a window; 2 bad use or no display.
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>
#include <xcb/xcb.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>

namespace {

using Clock = std::chrono::steady_clock;

double msSince(Clock::time_point start) {
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

void endGroup(pid_t pid) {
    ::kill(-pid, SIGKILL);
    ::kill(pid, SIGKILL);
    int status = 0;
    ::waitpid(pid, &status, 0);
}

}  // namespace

int main(int argc, char** argv) {
    int timeoutMs = 60000;
    int first = 1;
    if (argc > 2 && std::strcmp(argv[1], "--timeout-ms") == 0) {
        timeoutMs = std::atoi(argv[2]);
        first = 3;
    }
    if (first >= argc || timeoutMs <= 0) {
        std::fprintf(stderr, "usage: %s [--timeout-ms N] PROGRAM [ARGS...]\n", argv[0]);
        return 2;
    }

    int screenNumber = 0;
    xcb_connection_t* c = xcb_connect(nullptr, &screenNumber);
    if (xcb_connection_has_error(c)) {
        std::fprintf(stderr, "first_window: cannot open the display\n");
        return 2;
    }
    std::unique_ptr<xcb_connection_t, decltype(&xcb_disconnect)> owner(c, xcb_disconnect);
    xcb_screen_iterator_t it = xcb_setup_roots_iterator(xcb_get_setup(c));
    for (int i = 0; i < screenNumber && it.rem; ++i) xcb_screen_next(&it);
    const xcb_window_t root = it.data->root;
    const uint32_t mask = XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY;
    // Checked, so that the selection is in force before the program starts.
    if (std::unique_ptr<xcb_generic_error_t, decltype(&std::free)> error(
            xcb_request_check(c, xcb_change_window_attributes_checked(c, root, XCB_CW_EVENT_MASK, &mask)),
            std::free);
        error) {
        std::fprintf(stderr, "first_window: cannot watch the root window (error %d)\n", error->error_code);
        return 2;
    }
    const int fd = xcb_get_file_descriptor(c);
    ::fcntl(fd, F_SETFD, FD_CLOEXEC);

    const Clock::time_point start = Clock::now();
    const pid_t pid = ::fork();
    if (pid < 0) {
        std::perror("first_window: fork");
        return 2;
    }
    if (pid == 0) {
        // A group of its own, so that helper processes go with it.
        ::setpgid(0, 0);
        ::execvp(argv[first], argv + first);
        std::perror("first_window: exec");
        ::_exit(127);
    }
    ::setpgid(pid, pid);

    while (true) {
        while (std::unique_ptr<xcb_generic_event_t, decltype(&std::free)> event{xcb_poll_for_event(c), std::free}) {
            if ((event->response_type & 0x7f) != XCB_MAP_NOTIFY) continue;
            const auto* map = reinterpret_cast<const xcb_map_notify_event_t*>(event.get());
            // Tool tips and menus are not windows of their own.
            if (map->event != root || map->override_redirect) continue;
            const double ms = msSince(start);
            endGroup(pid);
            std::printf("%.3f\n", ms);
            return 0;
        }
        if (xcb_connection_has_error(c)) {
            std::fprintf(stderr, "first_window: lost the display\n");
            endGroup(pid);
            return 2;
        }
        int status = 0;
        if (::waitpid(pid, &status, WNOHANG) == pid) {
            std::fprintf(stderr, "first_window: %s ended without a window (status %d)\n", argv[first], status);
            ::kill(-pid, SIGKILL);
            return 1;
        }
        if (msSince(start) > timeoutMs) {
            std::fprintf(stderr, "first_window: no window from %s in %d ms\n", argv[first], timeoutMs);
            endGroup(pid);
            return 1;
        }
        pollfd p{fd, POLLIN, 0};
        ::poll(&p, 1, 20);
    }
}
