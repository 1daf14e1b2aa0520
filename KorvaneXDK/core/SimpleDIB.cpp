/** @file SimpleDIB.cpp The BMP decoder. */
#include "KorvaneXDK/core/SimpleDIB.h"

#include <cstdlib>
#include <new>
#include <vector>

#include "KorvaneXDK/core/Exception.h"
#include "KorvaneXDK/core/FileStream.h"

namespace korvane
{

namespace
{

constexpr std::int64_t kFileHeaderSize = 14;
constexpr std::int64_t kLargestSide = 16384;
constexpr std::uint32_t kBiRgb = 0;
constexpr std::uint32_t kBiBitFields = 3;
constexpr std::uint32_t kBiAlphaBitFields = 6;

std::uint16_t Le16(const std::uint8_t* p)
{
    return static_cast<std::uint16_t>(p[0] | (p[1] << 8));
}

std::uint32_t Le32(const std::uint8_t* p)
{
    return static_cast<std::uint32_t>(p[0]) | (static_cast<std::uint32_t>(p[1]) << 8) |
           (static_cast<std::uint32_t>(p[2]) << 16) | (static_cast<std::uint32_t>(p[3]) << 24);
}

/// One colour channel described by a bit mask.
struct Channel
{
    std::uint32_t mask = 0;
    int shift = 0;
    std::uint32_t maximum = 0;

    explicit Channel(std::uint32_t m = 0) : mask(m)
    {
        if (mask == 0)
            return;
        while (((mask >> shift) & 1u) == 0)
            ++shift;
        maximum = mask >> shift;
    }
    std::uint32_t Extract(std::uint32_t pixel) const
    {
        if (maximum == 0)
            return 0;
        const std::uint64_t value = (pixel & mask) >> shift;
        return static_cast<std::uint32_t>((value * 255 + maximum / 2) / maximum);
    }
};

struct Layout
{
    std::int64_t width = 0;
    std::int64_t height = 0; ///< positive
    bool topDown = false;
    int bitsPerPixel = 0;
    std::uint32_t compression = kBiRgb;
    std::uint32_t masks[3] = {0, 0, 0};
    std::vector<std::uint32_t> palette;
    std::int64_t bitsOffset = 0;
    std::int64_t stride = 0;
};

/// Reads and checks the headers; false when anything does not fit the data.
bool ReadLayout(const std::vector<std::uint8_t>& data, Layout& layout)
{
    const std::int64_t size = static_cast<std::int64_t>(data.size());
    const std::uint8_t* bytes = data.data();
    if (size < kFileHeaderSize + 12)
        return false;
    const std::int64_t headerSize = Le32(bytes + kFileHeaderSize);
    if (headerSize < 12 || kFileHeaderSize + headerSize > size)
        return false;
    const std::uint8_t* info = bytes + kFileHeaderSize;
    std::int64_t planes = 0;
    std::int64_t colorsUsed = 0;
    std::int64_t paletteEntrySize = 4;
    std::int64_t maskBytes = 0;
    if (headerSize == 12) {
        layout.width = Le16(info + 4);
        layout.height = Le16(info + 6);
        planes = Le16(info + 8);
        layout.bitsPerPixel = Le16(info + 10);
        paletteEntrySize = 3;
    } else if (headerSize == 40 || headerSize == 52 || headerSize == 56 || headerSize == 108 || headerSize == 124) {
        layout.width = static_cast<std::int32_t>(Le32(info + 4));
        const std::int64_t height = static_cast<std::int32_t>(Le32(info + 8));
        layout.topDown = height < 0;
        layout.height = height < 0 ? -height : height;
        planes = Le16(info + 12);
        layout.bitsPerPixel = Le16(info + 14);
        layout.compression = Le32(info + 16);
        colorsUsed = Le32(info + 32);
        if (layout.compression == kBiBitFields || layout.compression == kBiAlphaBitFields) {
            const std::uint8_t* masks = info + 40;
            if (headerSize == 40) {
                maskBytes = layout.compression == kBiAlphaBitFields ? 16 : 12;
                if (kFileHeaderSize + headerSize + maskBytes > size)
                    return false;
            }
            for (int i = 0; i < 3; ++i)
                layout.masks[i] = Le32(masks + 4 * i);
        }
    } else {
        return false;
    }

    if (layout.width <= 0 || layout.height <= 0 || layout.width > kLargestSide || layout.height > kLargestSide)
        return false;
    if (planes != 1)
        return false;
    switch (layout.bitsPerPixel) {
    case 1:
    case 4:
    case 8:
    case 24:
        if (layout.compression != kBiRgb)
            return false;
        break;
    case 16:
    case 32:
        if (layout.compression != kBiRgb && layout.compression != kBiBitFields &&
            layout.compression != kBiAlphaBitFields)
            return false;
        break;
    default:
        return false;
    }
    if (layout.topDown && layout.compression != kBiRgb && layout.compression != kBiBitFields &&
        layout.compression != kBiAlphaBitFields)
        return false;
    if (layout.compression == kBiRgb) {
        if (layout.bitsPerPixel == 16) {
            layout.masks[0] = 0x7C00;
            layout.masks[1] = 0x03E0;
            layout.masks[2] = 0x001F;
        } else if (layout.bitsPerPixel == 32) {
            layout.masks[0] = 0x00FF0000;
            layout.masks[1] = 0x0000FF00;
            layout.masks[2] = 0x000000FF;
        }
    } else {
        // Each mask must be one run of bits inside the pixel.
        const std::uint64_t pixelMask = (std::uint64_t(1) << layout.bitsPerPixel) - 1;
        for (std::uint32_t mask : layout.masks) {
            if (mask & ~pixelMask)
                return false;
            if (mask != 0) {
                const std::uint32_t run = mask >> Channel(mask).shift;
                if ((run & (run + 1)) != 0)
                    return false;
            }
        }
    }

    if (layout.bitsPerPixel <= 8) {
        const std::int64_t largest = std::int64_t(1) << layout.bitsPerPixel;
        const std::int64_t count = colorsUsed == 0 || colorsUsed > largest ? largest : colorsUsed;
        const std::int64_t paletteOffset = kFileHeaderSize + headerSize + maskBytes;
        if (paletteOffset + count * paletteEntrySize > size)
            return false;
        layout.palette.assign(static_cast<std::size_t>(largest), 0xFF000000u);
        for (std::int64_t i = 0; i < count; ++i) {
            const std::uint8_t* entry = bytes + paletteOffset + i * paletteEntrySize;
            layout.palette[static_cast<std::size_t>(i)] =
                0xFF000000u | (std::uint32_t(entry[2]) << 16) | (std::uint32_t(entry[1]) << 8) | entry[0];
        }
    }

    layout.bitsOffset = Le32(bytes + 10);
    layout.stride = (layout.width * layout.bitsPerPixel + 31) / 32 * 4;
    if (layout.bitsOffset < kFileHeaderSize + headerSize)
        return false;
    if (layout.bitsOffset + layout.stride * layout.height > size)
        return false;
    return true;
}

void Decode(const std::vector<std::uint8_t>& data, const Layout& layout, os::window::Bitmap& image)
{
    const Channel red(layout.masks[0]);
    const Channel green(layout.masks[1]);
    const Channel blue(layout.masks[2]);
    const int width = static_cast<int>(layout.width);
    const int height = static_cast<int>(layout.height);
    for (int y = 0; y < height; ++y) {
        const int sourceRow = layout.topDown ? y : height - 1 - y;
        const std::uint8_t* row = data.data() + layout.bitsOffset + layout.stride * sourceRow;
        std::uint32_t* out = image.GetRow(y);
        for (int x = 0; x < width; ++x) {
            std::uint32_t argb = 0xFF000000u;
            switch (layout.bitsPerPixel) {
            case 1:
                argb = layout.palette[(row[x >> 3] >> (7 - (x & 7))) & 1];
                break;
            case 4:
                argb = layout.palette[(row[x >> 1] >> ((x & 1) ? 0 : 4)) & 0x0F];
                break;
            case 8:
                argb = layout.palette[row[x]];
                break;
            case 24: {
                const std::uint8_t* p = row + 3 * x;
                argb = 0xFF000000u | (std::uint32_t(p[2]) << 16) | (std::uint32_t(p[1]) << 8) | p[0];
                break;
            }
            case 16: {
                const std::uint32_t pixel = Le16(row + 2 * x);
                argb = 0xFF000000u | (red.Extract(pixel) << 16) | (green.Extract(pixel) << 8) | blue.Extract(pixel);
                break;
            }
            default: {
                const std::uint32_t pixel = Le32(row + 4 * x);
                argb = 0xFF000000u | (red.Extract(pixel) << 16) | (green.Extract(pixel) << 8) | blue.Extract(pixel);
                break;
            }
            }
            out[x] = argb;
        }
    }
}

} // namespace

CSimpleDIB::CSimpleDIB() = default;

CSimpleDIB::~CSimpleDIB() = default;

void CSimpleDIB::ThrowFormatError() const
{
    throw EInvalidFileFormat(this, "ビットマップファイルフォーマットが不正です.");
}

void CSimpleDIB::Load(IKorvaneStream& stream)
{
    Release();
    const std::int64_t start = stream.GetPosition();
    std::uint8_t fileHeader[kFileHeaderSize];
    if (stream.Read(fileHeader, kFileHeaderSize) != kFileHeaderSize || fileHeader[0] != 'B' || fileHeader[1] != 'M')
        ThrowFormatError();
    const std::int64_t declaredSize = Le32(fileHeader + 2);
    const std::int64_t available = static_cast<std::int64_t>(stream.GetSize()) - start;
    if (declaredSize < kFileHeaderSize + 12 || declaredSize > available)
        ThrowFormatError();
    stream.Seek(static_cast<std::int32_t>(start));

    std::vector<std::uint8_t> data;
    Layout layout;
    std::unique_ptr<os::window::Bitmap> image;
    try {
        data.resize(static_cast<std::size_t>(declaredSize));
        if (stream.Read(data.data(), static_cast<std::int32_t>(declaredSize)) != declaredSize)
            ThrowFormatError();
        if (!ReadLayout(data, layout))
            ThrowFormatError();
        image = std::make_unique<os::window::Bitmap>(static_cast<int>(layout.width), static_cast<int>(layout.height));
    } catch (const std::bad_alloc&) {
        throw EReadError(this, "ビットマップをロードできませんでした.");
    }
    Decode(data, layout, *image);

    bitmap_ = std::move(image);
    description_.type = 0;
    description_.width = bitmap_->GetWidth();
    description_.height = bitmap_->GetHeight();
    description_.widthBytes = bitmap_->GetWidth() * 4;
    description_.planes = 1;
    description_.bitsPixel = 32;
    description_.bits = bitmap_->GetPixels();
}

void CSimpleDIB::LoadFromFile(const std::string& path)
{
    CFileStream stream(path, 1, 1);
    Load(stream);
}

void CSimpleDIB::Release()
{
    bitmap_.reset();
    description_ = BitmapDescription{};
}

std::int32_t CSimpleDIB::GetWidth() const
{
    return description_.width;
}

std::int32_t CSimpleDIB::GetHeight() const
{
    return description_.height;
}

const os::window::Bitmap* CSimpleDIB::GetHandle() const
{
    return bitmap_.get();
}

void CSimpleDIB::Draw(os::window::PaintSurface* target, std::int32_t x, std::int32_t y, std::int32_t width,
                      std::int32_t height, std::int32_t sourceX, std::int32_t sourceY) const
{
    if (!bitmap_ || !target)
        return;
    target->Blit(*bitmap_, x, y, width, height, sourceX, sourceY);
}

void CSimpleDIB::Draw(os::window::PaintSurface* target, std::int32_t x, std::int32_t y) const
{
    Draw(target, x, y, GetWidth(), GetHeight(), 0, 0);
}

} // namespace korvane
