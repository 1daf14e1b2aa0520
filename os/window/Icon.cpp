/** @file Icon.cpp The program's icon, drawn in code so that no image file is needed. */
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
    for (int y = 0; y < kSize; ++y) {
        for (int x = 0; x < kSize; ++x) {
            const double dx = x - centre;
            const double dy = y - centre;
            const double distance = std::sqrt(dx * dx + dy * dy);
            if (distance > 15.5)
                continue;
            std::uint32_t colour = distance > 13.5 ? 0xFFB8C8E0 : 0xFF182040;
            // The ship: a triangle from (16, 5) widening to the row 25, with a notch at the back.
            const int row = y - 5;
            if (row >= 0 && row <= 20) {
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

} // namespace

const Icon* GetProgramIcon()
{
    static const Icon* icon = new Icon(DrawProgramIcon());
    return icon;
}

} // namespace os::window
