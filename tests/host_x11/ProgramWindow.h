/** @file ProgramWindow.h The built program's window as the X server lists it. */
#pragma once

#include <X11/Xlib.h>

#include <string>

namespace program_test
{

/// The title the program gives its window.
inline constexpr const char* kProgramWindowTitle = "VORTHENIX ZAMBRELLIOT  - Vesperanthor -";

/// The program's mapped top-level window, found by its title; 0 while there is none.
inline ::Window FindProgramWindow(Display* display)
{
    ::Window root = DefaultRootWindow(display), parent = 0, found = 0;
    ::Window* children = nullptr;
    unsigned int count = 0;
    if (XQueryTree(display, root, &root, &parent, &children, &count) == 0)
        return 0;
    for (unsigned int i = 0; i < count && found == 0; ++i) {
        char* name = nullptr;
        XWindowAttributes attributes;
        if (XFetchName(display, children[i], &name) != 0 && name != nullptr) {
            if (std::string(name) == kProgramWindowTitle &&
                XGetWindowAttributes(display, children[i], &attributes) != 0 && attributes.map_state == IsViewable)
                found = children[i];
            XFree(name);
        }
    }
    if (children != nullptr)
        XFree(children);
    return found;
}

} // namespace program_test
