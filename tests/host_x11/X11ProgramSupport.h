/** @file X11ProgramSupport.h Starting the built program on the X server, finding its window, sending it keys
 * and a close request, and reading what it logged: what the window-system tests of the host share. */
#pragma once

#include <gtest/gtest.h>

#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XTest.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <time.h>

#include <chrono>
#include <cstring>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

#include "support/TempDir.h"

extern char** environ;

namespace korvane::test::x11
{

/// The program's window title, by which the tests find its window among the root's children.
inline constexpr const char* kProgramTitle = "VORTHENIX ZAMBRELLIOT  - Vesperanthor -";

/// Polls the other process's state until the condition holds or the time is up; the pause
/// between looks only spares the processor, nothing waits on it.
inline bool WaitFor(const std::function<bool()>& condition, int seconds = 30, long pauseMs = 20)
{
    const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(seconds);
    while (std::chrono::steady_clock::now() < end) {
        if (condition())
            return true;
        const timespec pause{0, pauseMs * 1000 * 1000};
        nanosleep(&pause, nullptr);
    }
    return condition();
}

/// The file's non-empty lines, without the carriage returns of the program's log.
inline std::vector<std::string> ReadLines(const std::string& path)
{
    std::vector<std::string> lines;
    std::ifstream in(path);
    std::string line;
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        if (!line.empty())
            lines.push_back(line);
    }
    return lines;
}

/// Starts the built program with its user data under `dataHome`; posix_spawn's result (0 on success).
inline int SpawnProgram(const std::string& dataHome, pid_t& child)
{
    std::vector<std::string> env;
    for (char** e = environ; *e != nullptr; ++e)
        if (std::strncmp(*e, "XDG_DATA_HOME=", 14) != 0)
            env.emplace_back(*e);
    env.push_back("XDG_DATA_HOME=" + dataHome);
    std::vector<char*> envp;
    for (std::string& e : env)
        envp.push_back(e.data());
    envp.push_back(nullptr);
    std::string program = KORVANE_BINARY_DIR "/bin/vorthenix";
    char* argv[] = {program.data(), nullptr};
    return posix_spawn(&child, program.c_str(), nullptr, nullptr, argv, envp.data());
}

/// The program's mapped top-level window, 0 while there is none.
inline Window FindProgramWindow(Display* display)
{
    Window root = DefaultRootWindow(display), parent = 0, found = 0;
    Window* children = nullptr;
    unsigned int count = 0;
    if (XQueryTree(display, root, &root, &parent, &children, &count) == 0)
        return 0;
    for (unsigned int i = 0; i < count && found == 0; ++i) {
        char* name = nullptr;
        XWindowAttributes attributes;
        if (XFetchName(display, children[i], &name) != 0 && name != nullptr) {
            if (std::string(name) == kProgramTitle && XGetWindowAttributes(display, children[i], &attributes) != 0 &&
                attributes.map_state == IsViewable)
                found = children[i];
            XFree(name);
        }
    }
    if (children != nullptr)
        XFree(children);
    return found;
}

/// Presses and releases a key, held for `holdMs` so that the program's once-a-frame poll sees it.
inline void PressKey(Display* display, KeySym key, long holdMs)
{
    const KeyCode code = XKeysymToKeycode(display, key);
    XTestFakeKeyEvent(display, code, True, CurrentTime);
    XSync(display, False);
    const timespec hold{0, holdMs * 1000 * 1000};
    nanosleep(&hold, nullptr);
    XTestFakeKeyEvent(display, code, False, CurrentTime);
    XSync(display, False);
}

/// Asks the window to close as a window manager would.
inline void RequestClose(Display* display, Window window)
{
    XEvent event{};
    event.xclient.type = ClientMessage;
    event.xclient.window = window;
    event.xclient.message_type = XInternAtom(display, "WM_PROTOCOLS", False);
    event.xclient.format = 32;
    event.xclient.data.l[0] = static_cast<long>(XInternAtom(display, "WM_DELETE_WINDOW", False));
    event.xclient.data.l[1] = CurrentTime;
    XSendEvent(display, window, False, NoEventMask, &event);
    XSync(display, False);
}

/// A connection to the X server (the test is skipped without one) and the program started from the test, killed
/// at the end if it is still running; its user data lives in `data`.
class SpawnedProgramTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        display = XOpenDisplay(nullptr);
        if (display == nullptr)
            GTEST_SKIP() << "no X display";
    }
    void TearDown() override
    {
        if (child > 0) {
            kill(child, SIGKILL);
            waitpid(child, nullptr, 0);
        }
        if (display != nullptr)
            XCloseDisplay(display);
    }

    korvane::test::TempDir data;
    Display* display = nullptr;
    Window window = 0;
    pid_t child = -1;
};

} // namespace korvane::test::x11
