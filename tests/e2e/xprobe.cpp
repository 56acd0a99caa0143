// xprobe: watches and inspects top-level X11 windows for the end-to-end test, the
// screenshot script and the start-up measurement. It waits on X events wherever X
// reports what we wait for (a window mapped, unmapped, destroyed), so a wait costs
// nothing and ends the moment the event arrives. Only pixel changes have no event
// without extra extensions; `grab` polls for those, always under a timeout.
//
//   xprobe launch NAME TIMEOUT_MS PROGRAM [ARG...]
//       starts PROGRAM, prints "WIN PID MS" when its top-level window titled NAME is
//       mapped (MS: from just before the fork; PROGRAM's own output goes to stderr),
//       then waits for PROGRAM and exits with its exit code (128 + signal number when
//       it was killed)
//   xprobe wait-map NAME TIMEOUT_MS [--except WIN] [--since EPOCH_US]
//       prints "WIN MS" once a top-level window titled NAME (other than WIN) is mapped;
//       a window mapped already counts. MS is from EPOCH_US (wall clock, microseconds,
//       e.g. bash's ${EPOCHREALTIME/./}), or from the start of the wait
//   xprobe wait-unmap WIN TIMEOUT_MS
//       returns once WIN is unmapped or destroyed
//   xprobe wait-focus WIN TIMEOUT_MS
//       returns once the keyboard focus is on WIN or inside it (a key sent before
//       that goes to whichever window had it)
//   xprobe geometry WIN
//       prints "X Y W H SCREEN_W SCREEN_H": the client area on the screen
//   xprobe grab WIN X Y W H [--ppm FILE] [--differs-from SUM] [--min-colours N]
//                           [--timeout MS]
//       prints "SUM COLOURS" of the client rectangle: a checksum of its pixels and the
//       number of distinct colours; with a condition, grabs again until it holds
//   xprobe close WIN
//       asks WIN to close as a window manager does (WM_DELETE_WINDOW)
//   xprobe wait-exit PID TIMEOUT_MS
//       returns once process PID has ended (its exit code is its parent's to collect)
//
// Exit codes: 0 done, 1 timed out or condition not met, 2 usage or X error.

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <poll.h>
#include <signal.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <set>
#include <string>
#include <thread>
#include <unordered_set>
#include <vector>

namespace {

constexpr int kDone = 0;
constexpr int kTimedOut = 1;
constexpr int kFailed = 2;

using Clock = std::chrono::steady_clock;

// X errors are expected here (a window may vanish between an event and a query); they
// are recorded and checked where they matter instead of ending the program.
int g_lastError = 0;
int RecordError(Display*, XErrorEvent* event)
{
    g_lastError = event->error_code;
    return 0;
}

[[noreturn]] void Usage()
{
    std::fputs("usage: xprobe launch NAME TIMEOUT_MS PROGRAM [ARG...]\n"
               "       xprobe wait-map NAME TIMEOUT_MS [--except WIN] [--since EPOCH_US]\n"
               "       xprobe wait-unmap WIN TIMEOUT_MS\n"
               "       xprobe wait-focus WIN TIMEOUT_MS\n"
               "       xprobe geometry WIN\n"
               "       xprobe grab WIN X Y W H [--ppm FILE] [--differs-from SUM]"
               " [--min-colours N] [--timeout MS]\n"
               "       xprobe close WIN\n"
               "       xprobe wait-exit PID TIMEOUT_MS\n",
               stderr);
    std::exit(kFailed);
}

long long Number(const char* text)
{
    char* end = nullptr;
    const long long value = std::strtoll(text, &end, 0);
    if (end == text || *end != '\0')
        Usage();
    return value;
}

Window WindowId(const char* text) { return static_cast<Window>(Number(text)); }

Display* Open()
{
    Display* display = XOpenDisplay(nullptr);
    if (!display) {
        std::fprintf(stderr, "xprobe: cannot open display '%s'\n", XDisplayName(nullptr));
        std::exit(kFailed);
    }
    XSetErrorHandler(RecordError);
    return display;
}

double MillisecondsSince(Clock::time_point start)
{
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

// Waits until the X connection has input or the deadline passes; returns false on timeout.
// `slice` caps one wait so that the caller can look at other things (a child process).
bool WaitForInput(Display* display, Clock::time_point deadline,
                  std::chrono::milliseconds slice = std::chrono::milliseconds(1000))
{
    if (XPending(display) > 0)
        return true;
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
    if (left.count() <= 0)
        return false;
    pollfd fd{ConnectionNumber(display), POLLIN, 0};
    poll(&fd, 1, static_cast<int>(std::min(left, slice).count()) + 1);
    return true;
}

std::string WindowName(Display* display, Window window)
{
    static const Atom netWmName = XInternAtom(display, "_NET_WM_NAME", False);
    static const Atom utf8 = XInternAtom(display, "UTF8_STRING", False);
    Atom type = None;
    int format = 0;
    unsigned long count = 0;
    unsigned long after = 0;
    unsigned char* data = nullptr;
    std::string name;
    if (XGetWindowProperty(display, window, netWmName, 0, 1024, False, utf8, &type, &format,
                           &count, &after, &data) == Success && data && type == utf8) {
        name.assign(reinterpret_cast<const char*>(data), count);
    } else {
        char* legacy = nullptr;
        if (XFetchName(display, window, &legacy) && legacy) {
            name = legacy;
            XFree(legacy);
        }
    }
    if (data)
        XFree(data);
    return name;
}

bool Viewable(Display* display, Window window)
{
    XWindowAttributes attributes;
    g_lastError = 0;
    return XGetWindowAttributes(display, window, &attributes) && g_lastError == 0 &&
           attributes.map_state == IsViewable;
}

// Finds the top-level window titled `name` as it is mapped. Under Xvfb no window manager
// reparents top-level windows, so they are children of the root.
class MapWatch {
public:
    MapWatch(Display* display, std::string name, Window except)
        : display_(display), root_(DefaultRootWindow(display)), name_(std::move(name)),
          except_(except)
    {
        XSelectInput(display_, root_, SubstructureNotifyMask);
        XSync(display_, False);
    }

    // A matching window that is mapped already, if any.
    std::optional<Window> Existing()
    {
        Window rootReturn = 0;
        Window parent = 0;
        Window* children = nullptr;
        unsigned int count = 0;
        std::optional<Window> found;
        if (XQueryTree(display_, root_, &rootReturn, &parent, &children, &count)) {
            for (unsigned int i = 0; i < count && !found; ++i)
                if (Matches(children[i]))
                    found = children[i];
            if (children)
                XFree(children);
        }
        return found;
    }

    // Handles one event; returns the window once a matching one is mapped.
    std::optional<Window> Handle(const XEvent& event)
    {
        if (event.type == MapNotify && event.xmap.event == root_) {
            const Window window = event.xmap.window;
            if (Matches(window))
                return window;
            // Mapped before it got its title: watch the title.
            watched_.insert(window);
            XSelectInput(display_, window, PropertyChangeMask);
        } else if (event.type == PropertyNotify && watched_.count(event.xproperty.window)) {
            if (Matches(event.xproperty.window))
                return event.xproperty.window;
        }
        return std::nullopt;
    }

private:
    bool Matches(Window window)
    {
        return window != except_ && Viewable(display_, window) &&
               WindowName(display_, window) == name_;
    }

    Display* display_;
    Window root_;
    std::string name_;
    Window except_;
    std::set<Window> watched_;
};

int Launch(int argc, char** argv)
{
    if (argc < 5)
        Usage();
    const std::string name = argv[2];
    const auto timeout = std::chrono::milliseconds(Number(argv[3]));
    Display* display = Open();
    MapWatch watch(display, name, None);

    const auto start = Clock::now();
    const pid_t child = fork();
    if (child < 0) {
        std::perror("xprobe: fork");
        return kFailed;
    }
    if (child == 0) {
        close(ConnectionNumber(display));
        dup2(STDERR_FILENO, STDOUT_FILENO); // our output is the report line alone
        execvp(argv[4], argv + 4);
        std::fprintf(stderr, "xprobe: cannot start %s: %s\n", argv[4], std::strerror(errno));
        _exit(127);
    }

    const auto deadline = start + timeout;
    std::optional<Window> window;
    Clock::time_point mapped;
    int status = 0;
    bool exited = false;
    while (!window) {
        if (waitpid(child, &status, WNOHANG) == child) {
            exited = true;
            break;
        }
        if (!WaitForInput(display, deadline, std::chrono::milliseconds(20)))
            break;
        while (!window && XPending(display) > 0) {
            XEvent event;
            XNextEvent(display, &event);
            mapped = Clock::now(); // before the round trips that check the title
            window = watch.Handle(event);
        }
    }
    XCloseDisplay(display);

    if (!window) {
        if (exited) {
            std::fprintf(stderr, "xprobe: %s ended before showing a window titled '%s'\n",
                         argv[4], name.c_str());
            return kFailed;
        }
        std::fprintf(stderr, "xprobe: no window titled '%s' within %lld ms\n", name.c_str(),
                     static_cast<long long>(timeout.count()));
        kill(child, SIGTERM);
        waitpid(child, &status, 0);
        return kTimedOut;
    }
    const double ms = std::chrono::duration<double, std::milli>(mapped - start).count();
    std::printf("0x%lx %d %.1f\n", *window, static_cast<int>(child), ms);
    std::fflush(stdout);

    if (waitpid(child, &status, 0) != child)
        return kFailed;
    if (WIFSIGNALED(status))
        return 128 + WTERMSIG(status);
    return WEXITSTATUS(status);
}

int WaitMap(int argc, char** argv)
{
    if (argc < 4)
        Usage();
    const std::string name = argv[2];
    const auto timeout = std::chrono::milliseconds(Number(argv[3]));
    Window except = None;
    std::optional<long long> sinceUs;
    for (int i = 4; i < argc; ++i) {
        const std::string option = argv[i];
        if (option == "--except" && i + 1 < argc)
            except = WindowId(argv[++i]);
        else if (option == "--since" && i + 1 < argc)
            sinceUs = Number(argv[++i]);
        else
            Usage();
    }

    auto start = Clock::now();
    if (sinceUs) {
        const long long nowUs = std::chrono::duration_cast<std::chrono::microseconds>(
            std::chrono::system_clock::now().time_since_epoch()).count();
        start -= std::chrono::microseconds(nowUs - *sinceUs);
    }
    const auto deadline = Clock::now() + timeout;

    Display* display = Open();
    MapWatch watch(display, name, except);
    std::optional<Window> window = watch.Existing();
    while (!window && WaitForInput(display, deadline)) {
        while (!window && XPending(display) > 0) {
            XEvent event;
            XNextEvent(display, &event);
            window = watch.Handle(event);
        }
    }
    const double ms = MillisecondsSince(start);
    XCloseDisplay(display);
    if (!window) {
        std::fprintf(stderr, "xprobe: no window titled '%s' mapped within %lld ms\n",
                     name.c_str(), static_cast<long long>(timeout.count()));
        return kTimedOut;
    }
    std::printf("0x%lx %.1f\n", *window, ms);
    return kDone;
}

// Waits under the command's timeout until `holds` is true of WIN. Events selected with
// `mask` wake the wait early; the state itself is asked each time, so nothing missed
// between the question and the selection can leave the wait hanging.
int WaitForWindowState(int argc, char** argv, long mask, bool (*holds)(Display*, Window), const char* failure)
{
    if (argc != 4)
        Usage();
    const Window window = WindowId(argv[2]);
    const auto start = Clock::now();
    const auto deadline = start + std::chrono::milliseconds(Number(argv[3]));
    Display* display = Open();
    XSelectInput(display, window, mask);
    XSync(display, False);
    bool done = holds(display, window);
    while (!done && WaitForInput(display, deadline, std::chrono::milliseconds(50))) {
        while (XPending(display) > 0) {
            XEvent event;
            XNextEvent(display, &event);
        }
        done = holds(display, window);
    }
    XCloseDisplay(display);
    if (!done) {
        std::fprintf(stderr, "xprobe: window 0x%lx %s\n", window, failure);
        return kTimedOut;
    }
    std::printf("%.1f\n", MillisecondsSince(start));
    return kDone;
}

// A window that is gone already, unmapped or destroyed, is not viewable.
bool Gone(Display* display, Window window) { return !Viewable(display, window); }

// Whether the X input focus is `window` or one of its descendants.
bool HoldsFocus(Display* display, Window window)
{
    Window focus = 0;
    int revert = 0;
    XGetInputFocus(display, &focus, &revert);
    const Window root = DefaultRootWindow(display);
    while (focus != 0 && focus != PointerRoot && focus != root) {
        if (focus == window)
            return true;
        Window rootReturn = 0;
        Window parent = 0;
        Window* children = nullptr;
        unsigned int count = 0;
        g_lastError = 0;
        if (!XQueryTree(display, focus, &rootReturn, &parent, &children, &count) || g_lastError)
            return false;
        if (children)
            XFree(children);
        focus = parent;
    }
    return false;
}

int WaitUnmap(int argc, char** argv)
{
    return WaitForWindowState(argc, argv, StructureNotifyMask, Gone, "still mapped");
}

// FocusIn arrives on the window when it or a child gets the focus.
int WaitFocus(int argc, char** argv)
{
    return WaitForWindowState(argc, argv, FocusChangeMask, HoldsFocus, "never got the keyboard focus");
}

int Geometry(int argc, char** argv)
{
    if (argc != 3)
        Usage();
    const Window window = WindowId(argv[2]);
    Display* display = Open();
    XWindowAttributes attributes;
    g_lastError = 0;
    if (!XGetWindowAttributes(display, window, &attributes) || g_lastError) {
        std::fprintf(stderr, "xprobe: no window 0x%lx\n", window);
        return kFailed;
    }
    int x = 0;
    int y = 0;
    Window child = 0;
    XTranslateCoordinates(display, window, attributes.root, 0, 0, &x, &y, &child);
    std::printf("%d %d %d %d %d %d\n", x, y, attributes.width, attributes.height,
                WidthOfScreen(attributes.screen), HeightOfScreen(attributes.screen));
    XCloseDisplay(display);
    return kDone;
}

// The pixels of a client rectangle as 8-bit red, green, blue triples, row by row.
struct Pixels {
    int width = 0;
    int height = 0;
    std::vector<unsigned char> rgb;

    std::uint64_t Checksum() const
    {
        std::uint64_t hash = 14695981039346656037ull; // FNV-1a
        for (unsigned char byte : rgb)
            hash = (hash ^ byte) * 1099511628211ull;
        return hash;
    }

    std::size_t Colours() const
    {
        std::unordered_set<std::uint32_t> seen;
        for (std::size_t i = 0; i + 2 < rgb.size(); i += 3)
            seen.insert(static_cast<std::uint32_t>(rgb[i] << 16 | rgb[i + 1] << 8 | rgb[i + 2]));
        return seen.size();
    }

    bool WritePpm(const char* path) const
    {
        FILE* file = std::fopen(path, "wb");
        if (!file)
            return false;
        std::fprintf(file, "P6\n%d %d\n255\n", width, height);
        const bool written = std::fwrite(rgb.data(), 1, rgb.size(), file) == rgb.size();
        return std::fclose(file) == 0 && written;
    }
};

unsigned char Channel(unsigned long pixel, unsigned long mask)
{
    if (mask == 0)
        return 0;
    int shift = 0;
    while (!((mask >> shift) & 1))
        ++shift;
    const unsigned long max = mask >> shift;
    return static_cast<unsigned char>(((pixel & mask) >> shift) * 255 / max);
}

std::optional<Pixels> Grab(Display* display, Window window, int x, int y, int width, int height)
{
    g_lastError = 0;
    XImage* image = XGetImage(display, window, x, y, static_cast<unsigned>(width),
                              static_cast<unsigned>(height), AllPlanes, ZPixmap);
    if (!image || g_lastError)
        return std::nullopt;
    Pixels pixels;
    pixels.width = width;
    pixels.height = height;
    pixels.rgb.reserve(static_cast<std::size_t>(width) * height * 3);
    for (int row = 0; row < height; ++row) {
        for (int column = 0; column < width; ++column) {
            const unsigned long pixel = XGetPixel(image, column, row);
            pixels.rgb.push_back(Channel(pixel, image->red_mask));
            pixels.rgb.push_back(Channel(pixel, image->green_mask));
            pixels.rgb.push_back(Channel(pixel, image->blue_mask));
        }
    }
    XDestroyImage(image);
    return pixels;
}

int GrabCommand(int argc, char** argv)
{
    if (argc < 7)
        Usage();
    const Window window = WindowId(argv[2]);
    const int x = static_cast<int>(Number(argv[3]));
    const int y = static_cast<int>(Number(argv[4]));
    const int width = static_cast<int>(Number(argv[5]));
    const int height = static_cast<int>(Number(argv[6]));
    if (width <= 0 || height <= 0)
        Usage();
    const char* ppm = nullptr;
    std::optional<std::uint64_t> differsFrom;
    std::size_t minColours = 0;
    long long timeoutMs = 2000;
    for (int i = 7; i < argc; ++i) {
        const std::string option = argv[i];
        if (i + 1 >= argc)
            Usage();
        if (option == "--ppm")
            ppm = argv[++i];
        else if (option == "--differs-from")
            differsFrom = std::strtoull(argv[++i], nullptr, 16);
        else if (option == "--min-colours")
            minColours = static_cast<std::size_t>(Number(argv[++i]));
        else if (option == "--timeout")
            timeoutMs = Number(argv[++i]);
        else
            Usage();
    }

    Display* display = Open();
    const auto deadline = Clock::now() + std::chrono::milliseconds(timeoutMs);
    std::optional<Pixels> pixels;
    bool met = false;
    for (;;) {
        pixels = Grab(display, window, x, y, width, height);
        if (!pixels) {
            std::fprintf(stderr, "xprobe: cannot read %dx%d+%d+%d of window 0x%lx\n", width,
                         height, x, y, window);
            return kFailed;
        }
        met = (!differsFrom || pixels->Checksum() != *differsFrom) &&
              pixels->Colours() >= minColours;
        if (met || Clock::now() >= deadline)
            break;
        // Repaints arrive without any event we could wait on: look again shortly.
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    XCloseDisplay(display);

    std::printf("%016llx %zu\n", static_cast<unsigned long long>(pixels->Checksum()),
                pixels->Colours());
    if (ppm && !pixels->WritePpm(ppm)) {
        std::fprintf(stderr, "xprobe: cannot write %s\n", ppm);
        return kFailed;
    }
    return met ? kDone : kTimedOut;
}

int Close(int argc, char** argv)
{
    if (argc != 3)
        Usage();
    const Window window = WindowId(argv[2]);
    Display* display = Open();
    XEvent event{};
    event.xclient.type = ClientMessage;
    event.xclient.window = window;
    event.xclient.message_type = XInternAtom(display, "WM_PROTOCOLS", False);
    event.xclient.format = 32;
    event.xclient.data.l[0] = static_cast<long>(XInternAtom(display, "WM_DELETE_WINDOW", False));
    event.xclient.data.l[1] = CurrentTime;
    g_lastError = 0;
    XSendEvent(display, window, False, NoEventMask, &event);
    XSync(display, False);
    const bool sent = g_lastError == 0;
    XCloseDisplay(display);
    if (!sent) {
        std::fprintf(stderr, "xprobe: cannot send WM_DELETE_WINDOW to 0x%lx\n", window);
        return kFailed;
    }
    return kDone;
}

int WaitExit(int argc, char** argv)
{
    if (argc != 4)
        Usage();
    const auto pid = static_cast<pid_t>(Number(argv[2]));
    const auto timeoutMs = Number(argv[3]);
    const auto start = Clock::now();
    // A pidfd becomes readable when the process ends; a process already gone (or reaped)
    // cannot be opened at all.
    const int fd = static_cast<int>(syscall(SYS_pidfd_open, pid, 0));
    bool ended = false;
    if (fd < 0) {
        ended = errno == ESRCH;
        if (!ended) {
            std::perror("xprobe: pidfd_open");
            return kFailed;
        }
    } else {
        pollfd pollFd{fd, POLLIN, 0};
        ended = poll(&pollFd, 1, static_cast<int>(timeoutMs)) == 1;
        close(fd);
    }
    if (!ended) {
        std::fprintf(stderr, "xprobe: process %d still running after %lld ms\n",
                     static_cast<int>(pid), timeoutMs);
        return kTimedOut;
    }
    std::printf("%.1f\n", MillisecondsSince(start));
    return kDone;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc < 2)
        Usage();
    const std::string command = argv[1];
    if (command == "launch")
        return Launch(argc, argv);
    if (command == "wait-map")
        return WaitMap(argc, argv);
    if (command == "wait-unmap")
        return WaitUnmap(argc, argv);
    if (command == "wait-focus")
        return WaitFocus(argc, argv);
    if (command == "geometry")
        return Geometry(argc, argv);
    if (command == "grab")
        return GrabCommand(argc, argv);
    if (command == "close")
        return Close(argc, argv);
    if (command == "wait-exit")
        return WaitExit(argc, argv);
    Usage();
}
