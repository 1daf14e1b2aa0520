/** @file Cursor.cpp The program's arrow cursor, drawn in code so that no image file is needed. */
#include "os/window/Cursor.h"

namespace os::window
{

namespace
{

// The usual arrow: white inside a black outline, hot spot at the tip (0, 0).
Bitmap DrawProgramCursor()
{
    constexpr int kSize = 32;
    Bitmap image(kSize, kSize, 0x00000000);
    auto inside = [](int x, int y) {
        if (y < 0 || x < 0)
            return false;
        if (y <= 15)
            return x <= y * 0.66; // the head
        if (y <= 21)
            return x >= 4 && x <= 6 + (y - 16) / 3; // the tail
        return false;
    };
    for (int y = 0; y < kSize; ++y) {
        for (int x = 0; x < kSize; ++x) {
            if (inside(x, y)) {
                const bool edge = !inside(x - 1, y) || !inside(x + 1, y) || !inside(x, y - 1) || !inside(x, y + 1);
                image.SetPixel(x, y, edge ? 0xFF000000 : 0xFFFFFFFF);
            }
        }
    }
    return image;
}

} // namespace

const Cursor* GetProgramCursor()
{
    static const Cursor* cursor = new Cursor(DrawProgramCursor(), 0, 0);
    return cursor;
}

} // namespace os::window
