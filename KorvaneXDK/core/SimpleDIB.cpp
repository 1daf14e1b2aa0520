/** @file SimpleDIB.cpp Loading a BMP file, read by the platform layer's BMP header reader, into an opaque image. */
#include "KorvaneXDK/core/SimpleDIB.h"

#include <new>
#include <vector>

#include "KorvaneXDK/core/Exception.h"
#include "KorvaneXDK/core/FileStream.h"
#include "os/gfx/BmpHeader.h"
#include "os/system/ByteReader.h"

namespace korvane
{

namespace
{

constexpr std::int32_t kFileHeaderSize = 14;
constexpr std::uint32_t kLargestSide = 16384;

/// Whether the headers fit the file but describe an image the loader cannot make (a header kind,
/// side, plane count, depth, compression or mask it does not take), as opposed to data that is no
/// BMP or sizes and offsets that do not fit the file.
bool DescribesNoImage(os::gfx::BmpHeader::Fault fault)
{
    using enum os::gfx::BmpHeader::Fault;
    switch (fault) {
    case UnknownHeader:
    case SizeOutOfRange:
    case NotOnePlane:
    case UnsupportedDepth:
    case UnsupportedCompression:
    case MasksNotContiguous:
    case MasksOutsidePixel:
        return true;
    default:
        return false;
    }
}

} // namespace

CSimpleDIB::CSimpleDIB() = default;

CSimpleDIB::~CSimpleDIB() = default;

void CSimpleDIB::ThrowFormatError() const
{
    throw EInvalidFileFormat(this, "ビットマップファイルフォーマットが不正です.");
}

void CSimpleDIB::ThrowLoadError() const
{
    throw EReadError(this, "ビットマップをロードできませんでした.");
}

void CSimpleDIB::Load(IKorvaneStream& stream)
{
    Release();
    const std::int64_t start = stream.GetPosition();
    std::uint8_t fileHeader[kFileHeaderSize];
    if (stream.Read(fileHeader, kFileHeaderSize) != kFileHeaderSize)
        ThrowFormatError();
    // The whole file as its header declares it, once that much is there to read.
    const os::system::ByteReader declared(fileHeader, sizeof fileHeader);
    const std::int64_t declaredSize = declared.U32At(2);
    const std::int64_t available = static_cast<std::int64_t>(stream.GetSize()) - start;
    if (declared.U8At(0) != 'B' || declared.U8At(1) != 'M' || declaredSize < kFileHeaderSize ||
        declaredSize > available)
        ThrowFormatError();
    stream.Seek(static_cast<std::int32_t>(start));

    std::vector<std::uint8_t> data;
    os::gfx::BmpHeader header;
    std::unique_ptr<os::window::Bitmap> image;
    try {
        data.resize(static_cast<std::size_t>(declaredSize));
        if (stream.Read(data.data(), static_cast<std::int32_t>(declaredSize)) != declaredSize)
            ThrowFormatError();
        const os::gfx::BmpHeader::Fault fault = header.Read(data.data(), data.size(), kLargestSide, kLargestSide);
        if (DescribesNoImage(fault))
            ThrowLoadError();
        if (fault != os::gfx::BmpHeader::Fault::None)
            ThrowFormatError();
        image = std::make_unique<os::window::Bitmap>(static_cast<int>(header.GetWidth()),
                                                     static_cast<int>(header.GetHeight()));
    } catch (const std::bad_alloc&) {
        ThrowLoadError();
    }
    // The image has no alpha of its own: a bitmap drawn on the window is opaque.
    for (int y = 0; y < image->GetHeight(); ++y) {
        std::uint32_t* row = image->GetRow(y);
        header.ReadRow(static_cast<std::uint32_t>(y), row);
        for (int x = 0; x < image->GetWidth(); ++x)
            row[x] |= 0xFF000000u;
    }

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
