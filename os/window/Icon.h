/** @file Icon.h Icon and cursor images, and the program's own built-in ones. */
#pragma once

#include "os/window/Bitmap.h"

namespace os::window
{

/// A window icon: a 32-bit image.
class Icon
{
public:
    explicit Icon(Bitmap image) : image_(std::move(image)) {}
    const Bitmap& GetImage() const { return image_; }

private:
    Bitmap image_;
};

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

/// The program's icon (32 x 32), built into the program; lives until exit.
const Icon* GetProgramIcon();
/// The program's arrow cursor (32 x 32, hot spot at the tip), built into the program.
const Cursor* GetProgramCursor();

} // namespace os::window
