/** @file Icon.cpp The program's icon and cursor, drawn in code so that no image file is needed. */
#include "os/window/Icon.h"

#include <cmath>

namespace os::window
{

namespace
{

// A dark disc with a light ring and an upward-pointing ship in the middle.
Bitmap DrawProgramIcon()
{
    constexpr int kSize = 32;
    Bitmap image(kSize, kSize, 0x00000000);
    const double centre = (kSize - 1) / 2.0;
    for (int y = 0; y < kSize; ++y)
    {
        for (int x = 0; x < kSize; ++x)
        {
            const double dx = x - centre;
            const double dy = y - centre;
            const double distance = std::sqrt(dx * dx + dy * dy);
            if (distance > 15.5)
                continue;
            std::uint32_t colour = distance > 13.5 ? 0xFFB8C8E0 : 0xFF182040;
            // The ship: a triangle from (16, 5) widening to the row 25, with a notch at the back.
            const int row = y - 5;
            if (row >= 0 && row <= 20)
            {
                const double halfWidth = row * 0.45;
                const bool inHull = std::fabs(dx) <= halfWidth;
                const bool inNotch = row > 15 && std::fabs(dx) < (row - 15) * 0.8;
                if (inHull && !inNotch)
                    colour = std::fabs(dx) <= 1.0 ? 0xFFFFD040 : 0xFFE8ECF4;
            }
            image.SetPixel(x, y, colour);
        }
    }
    return image;
}

// The usual arrow: white inside a black outline, hot spot at the tip (0, 0).
Bitmap DrawProgramCursor()
{
    constexpr int kSize = 32;
    Bitmap image(kSize, kSize, 0x00000000);
    auto inside = [](int x, int y)
    {
        if (y < 0 || x < 0)
            return false;
        if (y <= 15)
            return x <= y * 0.66; // the head
        if (y <= 21)
            return x >= 4 && x <= 6 + (y - 16) / 3; // the tail
        return false;
    };
    for (int y = 0; y < kSize; ++y)
    {
        for (int x = 0; x < kSize; ++x)
        {
            if (inside(x, y))
            {
                const bool edge =
                    !inside(x - 1, y) || !inside(x + 1, y) || !inside(x, y - 1) || !inside(x, y + 1);
                image.SetPixel(x, y, edge ? 0xFF000000 : 0xFFFFFFFF);
            }
        }
    }
    return image;
}

} // namespace

const Icon* GetProgramIcon()
{
    static const Icon* icon = new Icon(DrawProgramIcon());
    return icon;
}

const Cursor* GetProgramCursor()
{
    static const Cursor* cursor = new Cursor(DrawProgramCursor(), 0, 0);
    return cursor;
}

} // namespace os::window
