/** @file Cursor.h A mouse cursor image, and the program's own built-in one. */
#pragma once

#include <utility>

#include "os/window/Bitmap.h"

namespace os::window
{

/// A mouse cursor: a 32-bit image and the hot spot inside it.
class Cursor
{
public:
    Cursor(Bitmap image, int hotX, int hotY) : image_(std::move(image)), hotX_(hotX), hotY_(hotY) {}
    const Bitmap& GetImage() const { return image_; }
    int GetHotX() const { return hotX_; }
    int GetHotY() const { return hotY_; }

private:
    Bitmap image_;
    int hotX_;
    int hotY_;
};

/// The program's arrow cursor (32 x 32, hot spot at the tip), built into the program.
const Cursor* GetProgramCursor();

} // namespace os::window
