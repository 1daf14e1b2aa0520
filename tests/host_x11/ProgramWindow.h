/** @file ProgramWindow.h The built program's window as the X server lists and shows it. */
#pragma once

#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <cstdint>
#include <string>
#include <vector>

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

/// Asks the window to close as a window manager would (the close button of its frame).
inline void SendCloseRequest(Display* display, ::Window window)
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

/// The window's client area as it shows now, 0xRRGGBB row by row from the top, with its size; empty (and 0 x 0)
/// when it cannot be read.
inline std::vector<std::uint32_t> ReadWindowPixels(Display* display, ::Window window, int& width, int& height)
{
    std::vector<std::uint32_t> pixels;
    width = height = 0;
    XWindowAttributes attributes;
    if (XGetWindowAttributes(display, window, &attributes) == 0)
        return pixels;
    XImage* image = XGetImage(display, window, 0, 0, static_cast<unsigned>(attributes.width),
                              static_cast<unsigned>(attributes.height), AllPlanes, ZPixmap);
    if (image == nullptr)
        return pixels;
    width = attributes.width;
    height = attributes.height;
    pixels.reserve(static_cast<std::size_t>(width) * static_cast<std::size_t>(height));
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            pixels.push_back(static_cast<std::uint32_t>(XGetPixel(image, x, y) & 0xFFFFFF));
    XDestroyImage(image);
    return pixels;
}

} // namespace program_test
