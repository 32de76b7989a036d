// Starts the real program with an empty HOME, waits until its main window is
// on the X display, closes it as a window manager would (WM_DELETE_WINDOW)
// and requires the program to end by itself with exit status 0.
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <thread>

#include <signal.h>
#include <stdlib.h>
#include <sys/wait.h>
#include <unistd.h>

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>

namespace {

using Clock = std::chrono::steady_clock;
constexpr auto kTimeout = std::chrono::seconds(20);
const char* const kTitle = "Torvane Studio";

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

Window findWindow(Display* display, Window parent)
{
    Window root = 0;
    Window parentOut = 0;
    Window* children = nullptr;
    unsigned int count = 0;
    if (!XQueryTree(display, parent, &root, &parentOut, &children, &count))
        return 0;
    Window found = 0;
    for (unsigned int i = 0; i < count && !found; ++i) {
        if (windowTitle(display, children[i]) == kTitle && viewable(display, children[i]))
            found = children[i];
        else
            found = findWindow(display, children[i]);
    }
    if (children)
        XFree(children);
    return found;
}

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

// The close of a first run writes the main window's place, and only that.
bool settingsWrittenOnClose(const std::string& home, std::string& failure)
{
    std::ifstream in(home + "/.TorvaneStudio");
    const std::string text{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
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

bool runSmokeTest(const char* program, const std::string& home, std::string& failure)
{
    Display* display = XOpenDisplay(nullptr);
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
        std::this_thread::sleep_for(std::chrono::milliseconds(500));
        closeWindow(display, window);
        exited = waitForExit(child, status, kTimeout);
        if (!exited)
            failure = "the program did not end within 20 s of the close request";
        else if (!WIFEXITED(status))
            failure = "the program was ended by signal " + std::to_string(WTERMSIG(status));
        else if (WEXITSTATUS(status) != 0)
            failure = "the program ended with exit status " + std::to_string(WEXITSTATUS(status));
        else
            ok = settingsWrittenOnClose(home, failure);
    }
    if (!exited) {
        kill(child, SIGKILL);
        waitpid(child, &status, 0);
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

    std::printf("[ RUN      ] Smoke.StartsAndClosesOnWindowManagerRequest\n");
    std::fflush(stdout);
    std::string failure;
    const bool ok = runSmokeTest(argv[1], home, failure);
    if (ok) {
        std::printf("[       OK ] Smoke.StartsAndClosesOnWindowManagerRequest\n");
    } else {
        std::printf("%s\n[  FAILED  ] Smoke.StartsAndClosesOnWindowManagerRequest\n", failure.c_str());
    }
    std::printf("%d passed, %d failed\n", ok ? 1 : 0, ok ? 0 : 1);

    std::error_code ec;
    std::filesystem::remove_all(home, ec);
    return ok ? 0 : 1;
}
