// Starts the real program with an empty HOME, waits until its main window is
// on the X display, closes it as a window manager would (WM_DELETE_WINDOW)
// and requires the program to end by itself with exit status 0. Then, under
// real window managers (jwm, openbox), restarts it with remembered window places and
// requires each run to save exactly the places it was given, from a first
// run's own as well, also after the About box came and went.
//
// It runs its own X server on a display number the server picks itself, so
// that other test runs on a busy machine never take the same number, and
// tries again when the server or the first connection to it fails.
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <string>
#include <thread>

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <stdlib.h>
#include <sys/wait.h>
#include <unistd.h>

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/keysym.h>

namespace {

using Clock = std::chrono::steady_clock;
constexpr auto kTimeout = std::chrono::seconds(20);
const char* const kTitle = "Torvane Studio";
const char* const kAboutTitle = "About Torvane Studio";

// Windows come and go while the tree is walked: ignore errors about them.
int ignoreXErrors(Display*, XErrorEvent*)
{
    return 0;
}

std::string windowTitle(Display* display, Window window)
{
    Atom netWmName = XInternAtom(display, "_NET_WM_NAME", False);
    Atom utf8String = XInternAtom(display, "UTF8_STRING", False);
    Atom type = None;
    int format = 0;
    unsigned long count = 0;
    unsigned long after = 0;
    unsigned char* data = nullptr;
    std::string title;
    if (XGetWindowProperty(display, window, netWmName, 0, 1024, False, utf8String, &type, &format, &count,
                           &after, &data) == Success &&
        data) {
        if (type == utf8String && format == 8)
            title.assign(reinterpret_cast<const char*>(data), count);
        XFree(data);
    }
    if (title.empty()) {
        char* name = nullptr;
        if (XFetchName(display, window, &name) && name) {
            title = name;
            XFree(name);
        }
    }
    return title;
}

bool viewable(Display* display, Window window)
{
    XWindowAttributes attributes;
    return XGetWindowAttributes(display, window, &attributes) && attributes.map_state == IsViewable;
}

Window findWindow(Display* display, Window parent, const char* title = kTitle)
{
    Window root = 0;
    Window parentOut = 0;
    Window* children = nullptr;
    unsigned int count = 0;
    if (!XQueryTree(display, parent, &root, &parentOut, &children, &count))
        return 0;
    Window found = 0;
    for (unsigned int i = 0; i < count && !found; ++i) {
        if (windowTitle(display, children[i]) == title && viewable(display, children[i]))
            found = children[i];
        else
            found = findWindow(display, children[i], title);
    }
    if (children)
        XFree(children);
    return found;
}

// A display that has just started, or a busy machine, may refuse the first
// connections: retry for a while.
Display* openDisplay()
{
    const auto deadline = Clock::now() + std::chrono::seconds(10);
    for (;;) {
        if (Display* display = XOpenDisplay(nullptr))
            return display;
        if (Clock::now() >= deadline)
            return nullptr;
        std::this_thread::sleep_for(std::chrono::milliseconds(200));
    }
}

// Our own X server (Xvfb), on the display number it reports as free once it
// accepts connections; DISPLAY names it for this process and the programs it starts.
class XServer {
public:
    ~XServer() { stop(); }

    bool start(std::string& failure)
    {
        for (int attempt = 1; attempt <= 3; ++attempt) {
            if (startOnce(failure))
                return true;
            stop();
            std::fprintf(stderr, "X server start %d failed: %s\n", attempt, failure.c_str());
        }
        return false;
    }

private:
    bool startOnce(std::string& failure)
    {
        int fds[2];
        if (pipe(fds) != 0) {
            failure = "pipe failed";
            return false;
        }
        m_pid = fork();
        if (m_pid == 0) {
            close(fds[0]);
            const int null = open("/dev/null", O_WRONLY);
            dup2(null, STDOUT_FILENO);
            dup2(null, STDERR_FILENO);
            const std::string fd = std::to_string(fds[1]);
            execlp("Xvfb", "Xvfb", "-displayfd", fd.c_str(), "-screen", "0", "1600x1200x24", "-nolisten", "tcp",
                   static_cast<char*>(nullptr));
            _exit(127);
        }
        close(fds[1]);
        if (m_pid < 0) {
            close(fds[0]);
            failure = "fork failed";
            return false;
        }
        // The server writes its number followed by a newline once it is ready.
        std::string number;
        const auto deadline = Clock::now() + kTimeout;
        while (number.find('\n') == std::string::npos && Clock::now() < deadline) {
            pollfd ready{fds[0], POLLIN, 0};
            if (poll(&ready, 1, 200) <= 0)
                continue;
            char buffer[16];
            const ssize_t n = read(fds[0], buffer, sizeof buffer);
            if (n <= 0)
                break;   // the server ended
            number.append(buffer, static_cast<std::size_t>(n));
        }
        close(fds[0]);
        if (number.find('\n') == std::string::npos) {
            failure = "Xvfb did not report a display";
            return false;
        }
        const std::string display = ":" + number.substr(0, number.find('\n'));
        setenv("DISPLAY", display.c_str(), 1);
        Display* connection = openDisplay();
        if (!connection) {
            failure = "cannot open the X display " + display;
            return false;
        }
        XCloseDisplay(connection);
        return true;
    }

    void stop()
    {
        if (m_pid > 0) {
            kill(m_pid, SIGTERM);
            waitpid(m_pid, nullptr, 0);
        }
        m_pid = 0;
    }

    pid_t m_pid = 0;
};

void closeWindow(Display* display, Window window)
{
    XEvent event;
    std::memset(&event, 0, sizeof event);
    event.xclient.type = ClientMessage;
    event.xclient.window = window;
    event.xclient.message_type = XInternAtom(display, "WM_PROTOCOLS", False);
    event.xclient.format = 32;
    event.xclient.data.l[0] = static_cast<long>(XInternAtom(display, "WM_DELETE_WINDOW", False));
    event.xclient.data.l[1] = CurrentTime;
    XSendEvent(display, window, False, NoEventMask, &event);
    XFlush(display);
}

// A key press and release sent to the window (the program takes such sent
// events when started with GDK_CORE_DEVICE_EVENTS=1).
void pressKey(Display* display, Window window, KeySym key)
{
    for (const int type : {KeyPress, KeyRelease}) {
        XEvent event;
        std::memset(&event, 0, sizeof event);
        event.xkey.type = type;
        event.xkey.display = display;
        event.xkey.window = window;
        event.xkey.root = DefaultRootWindow(display);
        event.xkey.time = CurrentTime;
        event.xkey.same_screen = True;
        event.xkey.keycode = XKeysymToKeycode(display, key);
        XSendEvent(display, window, True, type == KeyPress ? KeyPressMask : KeyReleaseMask, &event);
    }
    XFlush(display);
}

// Waits until a window with the title is shown (or gone); false on timeout.
bool waitForWindow(Display* display, const char* title, bool shown)
{
    const auto deadline = Clock::now() + kTimeout;
    while ((findWindow(display, DefaultRootWindow(display), title) != 0) != shown) {
        if (Clock::now() >= deadline)
            return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
    return true;
}

// Waits for the child; false on timeout.
bool waitForExit(pid_t child, int& status, Clock::duration timeout)
{
    const auto deadline = Clock::now() + timeout;
    while (Clock::now() < deadline) {
        if (waitpid(child, &status, WNOHANG) == child)
            return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    return false;
}

std::string settingsText(const std::string& home)
{
    std::ifstream in(home + "/.TorvaneStudio");
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// The close of a first run writes the main window's place, and only that.
bool settingsWrittenOnClose(const std::string& home, std::string& failure)
{
    const std::string text = settingsText(home);
    if (text.find("TorvaneStudioFrameX=") == std::string::npos
        || text.find("TorvaneStudioFrameY=") == std::string::npos) {
        failure = "the close did not remember the window's place in $HOME/.TorvaneStudio";
        return false;
    }
    if (text.find("OpenFiles") != std::string::npos || text.find("MapViewerFrame") != std::string::npos) {
        failure = "a first run remembered more than the window's place:\n" + text;
        return false;
    }
    return true;
}

// Runs the program until its window shows, lets it settle, (opens the About
// box with F1 and closes it,) asks it to close and waits for its exit status 0.
bool runOnce(const char* program, std::string& failure, bool aboutBox = false)
{
    Display* display = openDisplay();
    if (!display) {
        failure = "cannot open the X display";
        return false;
    }
    XSetErrorHandler(ignoreXErrors);

    const pid_t child = fork();
    if (child < 0) {
        failure = "fork failed";
        XCloseDisplay(display);
        return false;
    }
    if (child == 0) {
        setenv("GDK_CORE_DEVICE_EVENTS", "1", 1);
        execl(program, program, static_cast<char*>(nullptr));
        _exit(127);
    }

    Window window = 0;
    int status = 0;
    bool exited = false;
    const auto deadline = Clock::now() + kTimeout;
    while (!window && Clock::now() < deadline) {
        if (waitpid(child, &status, WNOHANG) == child) {
            exited = true;
            break;
        }
        window = findWindow(display, DefaultRootWindow(display));
        if (!window)
            std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }

    bool ok = false;
    if (exited) {
        failure = "the program ended before its window appeared";
    } else if (!window) {
        failure = "no window titled \"Torvane Studio\" within 20 s";
    } else {
        // Let the program finish its start-up before it is asked to close.
        std::this_thread::sleep_for(std::chrono::milliseconds(1000));
        if (aboutBox) {
            pressKey(display, window, XK_F1);
            if (!waitForWindow(display, kAboutTitle, true))
                failure = "F1 showed no About box within 20 s";
            // Framed by the window manager, then closed as a user does.
            std::this_thread::sleep_for(std::chrono::milliseconds(500));
            if (const Window about = findWindow(display, DefaultRootWindow(display), kAboutTitle))
                closeWindow(display, about);
            if (failure.empty() && !waitForWindow(display, kAboutTitle, false))
                failure = "the About box did not close within 20 s";
            std::this_thread::sleep_for(std::chrono::milliseconds(500));
        }
        closeWindow(display, window);
        exited = waitForExit(child, status, kTimeout);
        if (!failure.empty())
            ok = false;   // the About box's failure stands
        else if (!exited)
            failure = "the program did not end within 20 s of the close request";
        else if (!WIFEXITED(status))
            failure = "the program was ended by signal " + std::to_string(WTERMSIG(status));
        else if (WEXITSTATUS(status) != 0)
            failure = "the program ended with exit status " + std::to_string(WEXITSTATUS(status));
        else
            ok = true;
    }
    if (!exited) {
        kill(child, SIGKILL);
        waitpid(child, &status, 0);
    }
    XCloseDisplay(display);
    return ok;
}

bool startsAndCloses(const char* program, const std::string& home, std::string& failure)
{
    return runOnce(program, failure) && settingsWrittenOnClose(home, failure);
}

using Keys = std::map<std::string, std::string>;

// The window places in the settings file.
Keys windowPlaces(const std::string& home)
{
    std::ifstream in(home + "/.TorvaneStudio");
    Keys keys;
    std::string line;
    bool inGroup = false;
    while (std::getline(in, line)) {
        if (!line.empty() && line[0] == '[')
            inGroup = line == "[WindowPositions]";
        else if (const auto eq = line.find('='); inGroup && eq != std::string::npos)
            keys[line.substr(0, eq)] = line.substr(eq + 1);
    }
    return keys;
}

// Starts the window manager on the display and waits until it manages it;
// 0 on failure.
pid_t startWindowManager(Display* display, const char* manager)
{
    const pid_t wm = fork();
    if (wm == 0) {
        const int null = open("/dev/null", O_WRONLY);
        dup2(null, STDOUT_FILENO);
        dup2(null, STDERR_FILENO);
        execlp(manager, manager, static_cast<char*>(nullptr));
        _exit(127);
    }
    const Atom check = XInternAtom(display, "_NET_SUPPORTING_WM_CHECK", False);
    const auto deadline = Clock::now() + std::chrono::seconds(10);
    while (wm > 0 && Clock::now() < deadline && waitpid(wm, nullptr, WNOHANG) == 0) {
        Atom type = None;
        int format = 0;
        unsigned long count = 0, after = 0;
        unsigned char* data = nullptr;
        XGetWindowProperty(display, DefaultRootWindow(display), check, 0, 1, False, AnyPropertyType, &type,
                           &format, &count, &after, &data);
        if (data)
            XFree(data);
        if (type != None)
            return wm;
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    if (wm > 0 && kill(wm, SIGKILL) == 0)
        waitpid(wm, nullptr, 0);
    return 0;
}

// The map viewer opens at start-up (a maps file is remembered) and takes the
// remembered place; the window manager adds its frame. Each close must save
// the very places the start restored: the places a first run saves of its
// own (the viewer's inside as it opens, 183 x 293, whenever the manager
// tells its frame), then places given; the second run of each opens the About
// box first.
bool restartsKeepWindowPlaces(const char* program, const std::string& home, const char* manager,
                              std::string& failure)
{
    const std::string maps = home + "/maps.xts";
    std::ofstream(maps) << "<XTS version=\"1.0\"><TABLE><title>Map</title></TABLE></XTS>\n";
    const auto remember = [&](const Keys& places) {
        std::ofstream settings(home + "/.TorvaneStudio");
        settings << "[OpenFiles]\nMapsPath=" << maps << "\n[WindowPositions]\n";
        for (const auto& [key, value] : places)
            settings << key << "=" << value << "\n";
    };

    Display* display = openDisplay();
    if (!display) {
        failure = "cannot open the X display";
        return false;
    }
    const pid_t wm = startWindowManager(display, manager);
    bool ok = wm != 0;
    if (!ok)
        failure = std::string(manager) + " did not start (scripts/setup installs it)";

    remember({});
    Keys first;
    if (ok && (ok = runOnce(program, failure))) {
        first = windowPlaces(home);
        if (first["MapViewerFrameW"] != "183" || first["MapViewerFrameH"] != "293") {
            failure = "a first run saved another viewer size than the inside it opens with (183 x 293):\n"
                      + settingsText(home);
            ok = false;
        }
    }
    const Keys given = {{"MapViewerFrameH", "325"}, {"MapViewerFrameW", "562"},   {"MapViewerFrameX", "700"},
                        {"MapViewerFrameY", "60"},  {"TorvaneStudioFrameX", "40"}, {"TorvaneStudioFrameY", "30"}};
    for (const Keys* places : std::initializer_list<const Keys*>{&first, &given}) {
        if (ok)
            remember(*places);
        for (int run = 1; ok && run <= 2; ++run) {
            ok = runOnce(program, failure, run == 2);
            if (ok && windowPlaces(home) != *places) {
                failure = "run " + std::to_string(run) + " saved other places:\n" + settingsText(home);
                ok = false;
            }
        }
    }
    if (wm != 0) {
        kill(wm, SIGTERM);
        waitpid(wm, nullptr, 0);
    }
    XCloseDisplay(display);
    return ok;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s <program>\n", argv[0]);
        return 2;
    }

    // A fresh HOME: no remembered files, and the settings written on close
    // never touch the developer's own.
    std::string home = (std::filesystem::temp_directory_path() / "torvane-smoke-XXXXXX").string();
    if (!mkdtemp(home.data())) {
        std::fprintf(stderr, "cannot create a temporary HOME\n");
        return 1;
    }
    setenv("HOME", home.c_str(), 1);

    XServer server;
    std::string serverFailure;
    if (!server.start(serverFailure)) {
        std::printf("%s\n[  FAILED  ] no X server for the smoke tests\n", serverFailure.c_str());
        std::error_code ec;
        std::filesystem::remove_all(home, ec);
        return 1;
    }

    struct Test {
        const char* name;
        bool (*run)(const char* program, const std::string& home, std::string& failure);
    };
    const Test tests[] = {
        {"Smoke.StartsAndClosesOnWindowManagerRequest", startsAndCloses},
        // Each manager frames windows its own way, and tells the frame at its own time.
        {"Smoke.RestartsKeepWindowPlacesUnderJwm",
         [](const char* program, const std::string& home, std::string& failure) {
             return restartsKeepWindowPlaces(program, home, "jwm", failure);
         }},
        {"Smoke.RestartsKeepWindowPlacesUnderOpenbox",
         [](const char* program, const std::string& home, std::string& failure) {
             return restartsKeepWindowPlaces(program, home, "openbox", failure);
         }},
    };
    int passed = 0;
    int failed = 0;
    for (const Test& test : tests) {
        std::printf("[ RUN      ] %s\n", test.name);
        std::fflush(stdout);
        std::string failure;
        if (test.run(argv[1], home, failure)) {
            ++passed;
            std::printf("[       OK ] %s\n", test.name);
        } else {
            ++failed;
            std::printf("%s\n[  FAILED  ] %s\n", failure.c_str(), test.name);
        }
        std::fflush(stdout);
    }
    std::printf("%d passed, %d failed\n", passed, failed);
    const bool ok = failed == 0;

    std::error_code ec;
    std::filesystem::remove_all(home, ec);
    return ok ? 0 : 1;
}
