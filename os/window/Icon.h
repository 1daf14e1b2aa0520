/** @file Icon.h A window icon image, and the program's own built-in one. */
#pragma once

#include <utility>

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

/// The program's icon (32 x 32), built into the program; lives until exit.
const Icon* GetProgramIcon();

} // namespace os::window
