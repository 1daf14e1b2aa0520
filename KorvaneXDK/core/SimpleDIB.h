/** @file SimpleDIB.h Loads a BMP file into a 32-bit pixel image and draws it on the paint surface. */
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "KorvaneXDK/core/KorvaneStream.h"
#include "KorvaneXDK/core/Object.h"
#include "os/window/Bitmap.h"
#include "os/window/PaintSurface.h"

namespace korvane
{

/// The loaded image as the system describes a bitmap. The pixels are always 32-bit 0xAARRGGBB
/// words with an opaque alpha, rows top-down.
struct BitmapDescription
{
    std::int32_t type = 0;
    std::int32_t width = 0;
    std::int32_t height = 0;
    std::int32_t widthBytes = 0;
    std::uint16_t planes = 0;
    std::uint16_t bitsPixel = 0;
    const void* bits = nullptr;
};

/// Reads BMP files (1, 4, 8, 16, 24 and 32 bits per pixel, uncompressed or with bit-field masks,
/// bottom-up or top-down) through the header reader the graphics layer's decoder uses too, so both
/// accept and refuse the same files. The file is read as long as its header declares; every header
/// field, offset and size is checked against it before anything more is allocated or read.
class CSimpleDIB : public virtual CNonCopyable, public virtual CObject
{
public:
    CSimpleDIB();
    ~CSimpleDIB() override;

    /// Reads the BMP that starts at the stream's position. Throws EInvalidFileFormat for data without
    /// "BM" or whose sizes and offsets do not fit the file, and EReadError when the headers describe
    /// an image it cannot make (header kind, sides, planes, depth, compression, masks) or memory runs
    /// out; the object is empty then.
    virtual void Load(IKorvaneStream& stream);
    /// Opens the file for reading (EFileOpenError when it cannot) and loads it.
    virtual void LoadFromFile(const std::string& path);
    virtual void Release();
    virtual std::int32_t GetWidth() const;
    virtual std::int32_t GetHeight() const;
    /// The image, or null when nothing is loaded.
    virtual const os::window::Bitmap* GetHandle() const;
    /// Copies the rectangle (sourceX, sourceY, width, height) to (x, y); nothing without an image.
    virtual void Draw(os::window::PaintSurface* target, std::int32_t x, std::int32_t y, std::int32_t width,
                      std::int32_t height, std::int32_t sourceX, std::int32_t sourceY) const;
    /// The whole image at (x, y).
    virtual void Draw(os::window::PaintSurface* target, std::int32_t x, std::int32_t y) const;

    const BitmapDescription& GetDescription() const { return description_; }

private:
    [[noreturn]] void ThrowFormatError() const;
    [[noreturn]] void ThrowLoadError() const;

    std::unique_ptr<os::window::Bitmap> bitmap_;
    BitmapDescription description_;
};

} // namespace korvane
