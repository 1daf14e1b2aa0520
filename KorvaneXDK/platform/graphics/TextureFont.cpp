/** @file TextureFont.cpp Reading glyph tables, looking glyphs up, measuring, and drawing text as textured quads. */
#include "KorvaneXDK/platform/graphics/TextureFont.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <stdexcept>

#include "KorvaneXDK/core/DataLoader.h"
#include "KorvaneXDK/core/Exception.h"
#include "KorvaneXDK/core/FilePath.h"
#include "KorvaneXDK/core/KorvaneStream.h"
#include "KorvaneXDK/core/Properties.h"
#include "KorvaneXDK/core/RIFFReader.h"
#include "KorvaneXDK/core/StringUtility.h"
#include "KorvaneXDK/platform/graphics/DirectXError.h"
#include "KorvaneXDK/platform/graphics/DriverAccess.h"
#include "KorvaneXDK/platform/graphics/ShaderEnvironment.h"
#include "KorvaneXDK/platform/graphics/Texture.h"
#include "KorvaneXDK/platform/graphics/VertexDeclaration.h"
#include "os/gfx/Device.h"
#include "os/gfx/ResultCodes.h"
#include "os/system/ByteReader.h"

namespace korvane
{

namespace
{

/// The source name in this file's error lines.
constexpr const char* kSourceFile = "TextureFont";

/// Marks a unit that can have no glyph of its own (a code point past U+FFFF, a malformed byte).
constexpr std::uint32_t kNoUnit = 0xFFFFFFFFu;
constexpr std::uint16_t kGetaMark = 0x3013;
constexpr std::uint16_t kQuestionMark = 0x3F;
constexpr std::uint16_t kFullStop = 0x2E;
constexpr std::size_t kRecordSize = 16;
constexpr std::int32_t kRevision = 256;
constexpr const char* kTableError = "loading KVF: Failed to load font-table";

/// Reads the items of one chunk through the bounded reader; every read past the chunk's end is a table error.
class ChunkCursor
{
public:
    ChunkCursor(const CObject* sender, const std::vector<std::uint8_t>& data)
        : sender_(sender), reader_(data.data(), data.size())
    {}

    std::size_t Remaining() const { return reader_.Remaining(); }

    std::uint16_t ReadUInt16()
    {
        return Checked([this] { return reader_.ReadU16(); });
    }

    std::int16_t ReadInt16() { return static_cast<std::int16_t>(ReadUInt16()); }

    std::int32_t ReadInt32()
    {
        return Checked([this] { return reader_.ReadI32(); });
    }

    /// A key: its 32-bit length and bytes must be exactly `key`.
    void ExpectKey(const char* key)
    {
        const std::size_t length = std::strlen(key);
        const std::int32_t stored = ReadInt32();
        if (stored < 0 || static_cast<std::size_t>(stored) != length) {
            throw EInvalidFileFormat(sender_, kTableError);
        }
        Checked([&] { reader_.Expect(key, length); });
    }

    void ExpectRevision()
    {
        ExpectKey("Revision");
        if (ReadInt32() != kRevision) {
            throw EInvalidFileFormat(sender_, kTableError);
        }
    }

private:
    /// The reader's own failure (the chunk ends, the bytes differ) as the table error.
    template <class Read>
    auto Checked(Read read) -> decltype(read())
    {
        try {
            return read();
        } catch (const std::runtime_error&) {
            throw EInvalidFileFormat(sender_, kTableError);
        }
    }

    const CObject* sender_;
    os::system::ByteReader reader_;
};

/// The whole data of a chunk (the reader bounds its size by the bytes really present).
std::vector<std::uint8_t> ReadChunk(CRIFFReader& riff, std::uint32_t id)
{
    riff.FindChunk(id);
    const std::int32_t size = std::max<std::int32_t>(riff.GetChunkSize(), 0);
    std::vector<std::uint8_t> data(static_cast<std::size_t>(size));
    const std::int32_t read = size > 0 ? riff.Read(data.data(), size) : 0;
    data.resize(static_cast<std::size_t>(std::max<std::int32_t>(read, 0)));
    return data;
}

/// A code as "%x" reads it, kept inside the 16-bit range the glyph map holds: a negative value
/// gives 0, a larger one FFFF; text without hexadecimal digits gives the default.
std::uint32_t ParseCode(const std::string& text, std::uint32_t defaultValue)
{
    std::size_t i = 0;
    while (i < text.size() && (text[i] == ' ' || (text[i] >= '\t' && text[i] <= '\r'))) {
        ++i;
    }
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        negative = text[i] == '-';
        ++i;
    }
    if (i + 1 < text.size() && text[i] == '0' && (text[i + 1] == 'x' || text[i + 1] == 'X')) {
        i += 2;
    }
    std::uint32_t value = 0;
    bool any = false;
    for (; i < text.size(); ++i) {
        const char c = text[i];
        std::uint32_t digit = 0;
        if (c >= '0' && c <= '9') {
            digit = static_cast<std::uint32_t>(c - '0');
        } else if (c >= 'a' && c <= 'f') {
            digit = static_cast<std::uint32_t>(c - 'a' + 10);
        } else if (c >= 'A' && c <= 'F') {
            digit = static_cast<std::uint32_t>(c - 'A' + 10);
        } else {
            break;
        }
        any = true;
        value = std::min<std::uint32_t>(value * 16 + digit, 0x10000);
    }
    if (!any) {
        return defaultValue;
    }
    if (negative && value != 0) {
        return 0;
    }
    return std::min<std::uint32_t>(value, 0xFFFF);
}

std::int16_t ToInt16(int value)
{
    return static_cast<std::int16_t>(std::clamp(value, -32768, 32767));
}

/// A pixel grid (canvas convention: x' = m0 x + m1 y + m3, y' = m4 x + m5 y + m7) that keeps axes on
/// axes, with its inverse; `usable` is false for a grid that turns by anything but quarter turns,
/// shears, projects or collapses, where glyphs stay where they are.
struct GlyphSnap
{
    double a = 1.0, b = 0.0, tx = 0.0, c = 0.0, d = 1.0, ty = 0.0, det = 1.0;
    bool usable = false;

    explicit GlyphSnap(const Matrix4& grid)
        : a(grid.m[0]), b(grid.m[1]), tx(grid.m[3]), c(grid.m[4]), d(grid.m[5]), ty(grid.m[7]), det(a * d - b * c)
    {
        const double size = std::max(std::fabs(a) + std::fabs(b), std::fabs(c) + std::fabs(d));
        const double tolerance = 1e-4 * size;
        const bool upright = std::fabs(b) <= tolerance && std::fabs(c) <= tolerance;
        const bool turned = std::fabs(a) <= tolerance && std::fabs(d) <= tolerance;
        const bool affine = grid.m[12] == 0.0f && grid.m[13] == 0.0f && grid.m[14] == 0.0f && grid.m[15] == 1.0f;
        usable = affine && (upright || turned) && std::fabs(det) > 1e-12 && std::isfinite(det) && std::isfinite(tx) &&
                 std::isfinite(ty);
    }

    /// The rectangle (font coordinates) moved and sized to whole pixels.
    void Snap(float& left, float& top, float& right, float& bottom) const
    {
        const double x0 = a * left + b * top + tx;
        const double y0 = c * left + d * top + ty;
        const double x1 = a * right + b * bottom + tx;
        const double y1 = c * right + d * bottom + ty;
        // A hair below a whole size is that size (float noise), anything more a pixel more.
        auto span = [](double from, double to, double& low, double& high) {
            const double extent = std::fabs(to - from);
            low = std::floor(std::min(from, to) + 0.5);
            high = low + std::max(1.0, std::ceil(extent - 1e-3));
        };
        double left0 = 0.0, right0 = 0.0, top0 = 0.0, bottom0 = 0.0;
        span(x0, x1, left0, right0);
        span(y0, y1, top0, bottom0);
        auto back = [this](double x, double y, double& u, double& v) {
            u = (d * (x - tx) - b * (y - ty)) / det;
            v = (a * (y - ty) - c * (x - tx)) / det;
        };
        double u0 = 0.0, v0 = 0.0, u1 = 0.0, v1 = 0.0;
        back(left0, top0, u0, v0);
        back(right0, bottom0, u1, v1);
        left = static_cast<float>(std::min(u0, u1));
        right = static_cast<float>(std::max(u0, u1));
        top = static_cast<float>(std::min(v0, v1));
        bottom = static_cast<float>(std::max(v0, v1));
    }
};

} // namespace

CTextureFont::CTextureFont() = default;

CTextureFont::~CTextureFont()
{
    glyphs_.clear();
    texture_.reset();
}

void CTextureFont::Decode(const std::string& text, Units& out)
{
    out.clear();
    const std::size_t size = text.size();
    std::size_t i = 0;
    while (i < size) {
        const std::uint8_t lead = static_cast<std::uint8_t>(text[i]);
        if (lead == 0) {
            break; // narrow text ends at its first zero byte, as everywhere in the engine
        }
        if (lead < 0x80) {
            out.push_back(lead);
            ++i;
            continue;
        }
        std::size_t length = 0;
        std::uint32_t code = 0;
        std::uint32_t minimum = 0;
        if (lead >= 0xC2 && lead <= 0xDF) {
            length = 2;
            code = lead & 0x1Fu;
            minimum = 0x80;
        } else if (lead >= 0xE0 && lead <= 0xEF) {
            length = 3;
            code = lead & 0x0Fu;
            minimum = 0x800;
        } else if (lead >= 0xF0 && lead <= 0xF4) {
            length = 4;
            code = lead & 0x07u;
            minimum = 0x10000;
        }
        bool valid = length != 0 && i + length <= size;
        for (std::size_t k = 1; valid && k < length; ++k) {
            const std::uint8_t next = static_cast<std::uint8_t>(text[i + k]);
            valid = (next & 0xC0u) == 0x80u;
            code = (code << 6) | (next & 0x3Fu);
        }
        valid = valid && code >= minimum && code <= 0x10FFFF && (code < 0xD800 || code > 0xDFFF);
        if (!valid) {
            // One malformed byte is one unit without a glyph; decoding goes on after it.
            out.push_back(kNoUnit);
            ++i;
            continue;
        }
        out.push_back(code <= 0xFFFF ? code : kNoUnit);
        i += length;
    }
}

const CTextureFont::Glyph* CTextureFont::FindGlyph(std::uint16_t code) const
{
    auto found = glyphs_.find(code);
    return found == glyphs_.end() ? nullptr : &found->second;
}

const CTextureFont::Glyph* CTextureFont::FindOwn(std::uint32_t unit) const
{
    return unit > 0xFFFF ? nullptr : FindGlyph(static_cast<std::uint16_t>(unit));
}

const CTextureFont::Glyph* CTextureFont::LookUp(std::uint32_t unit) const
{
    if (const Glyph* glyph = FindOwn(unit)) {
        return glyph;
    }
    if (const Glyph* glyph = FindGlyph(kGetaMark)) {
        return glyph;
    }
    return FindGlyph(kQuestionMark);
}

void CTextureFont::DrawText(const std::string& text, std::int32_t x, std::int32_t y, PackedColor color)
{
    Decode(text, units_);
    DrawUnits(units_, x, y, color);
}

void CTextureFont::DrawTextClipped(std::int32_t x, std::int32_t y, const os::gfx::Rect& rect, const std::string& text,
                                   PackedColor color)
{
    Decode(text, units_);
    const std::int64_t limit = static_cast<std::int64_t>(rect.right) - x + 1;
    const Glyph* fullStop = FindGlyph(kFullStop);
    const std::int64_t ellipsis = fullStop != nullptr ? 3 * static_cast<std::int64_t>(fullStop->Advance) : 0;

    clipped_.clear();
    std::int64_t sum = 0;
    bool ellipsisPlaced = false;
    for (std::uint32_t unit : units_) {
        // Only units with a glyph of their own count and are kept; there is no fallback here.
        const Glyph* glyph = FindOwn(unit);
        if (glyph == nullptr) {
            continue;
        }
        sum += glyph->Advance;
        if (!ellipsisPlaced) {
            clipped_.push_back(unit);
            if (sum + ellipsis > limit) {
                // A font without a full stop shortens without a mark: "..." would only draw fallbacks.
                if (fullStop != nullptr) {
                    clipped_.insert(clipped_.end(), 3, kFullStop);
                }
                ellipsisPlaced = true;
            }
        }
        if (sum > limit) {
            DrawUnits(clipped_, x, y, color);
            return;
        }
    }
    DrawUnits(units_, x, y, color);
}

void CTextureFont::MeasureText(const std::string& text, std::int32_t& width, std::int32_t& height)
{
    Decode(text, units_);
    std::int64_t sum = 0;
    for (std::uint32_t unit : units_) {
        if (const Glyph* glyph = LookUp(unit)) {
            sum += glyph->Advance;
        }
    }
    width = static_cast<std::int32_t>(std::clamp<std::int64_t>(sum, INT32_MIN, INT32_MAX));
    height = lineHeight_;
}

std::int32_t CTextureFont::GetLineHeight(const std::string&)
{
    return lineHeight_;
}

std::int32_t CTextureFont::GetPixelScale()
{
    return 1;
}

void CTextureFont::SetPixelGrid(const Matrix4* toPixels)
{
    gridSet_ = toPixels != nullptr;
    if (gridSet_) {
        grid_ = *toPixels;
    }
}

void CTextureFont::DrawUnits(const Units& units, std::int32_t x, std::int32_t y, PackedColor color)
{
    // Without a texture there is nothing to bind and no size to divide the coordinates by.
    if (units.empty() || !texture_ || texture_->GetD3DTexture() == nullptr) {
        return;
    }
    const float width = static_cast<float>(texture_->GetWidth());
    const float height = static_cast<float>(texture_->GetHeight());
    if (width <= 0.0f || height <= 0.0f) {
        return;
    }
    float penX = static_cast<float>(static_cast<std::int64_t>(x) + leftOffset_);
    const float penY = static_cast<float>(static_cast<std::int64_t>(y) + topOffset_);
    const GlyphSnap snap(gridSet_ ? grid_ : Matrix4());
    vertices_.clear();
    for (std::uint32_t unit : units) {
        const Glyph* glyph = LookUp(unit);
        if (glyph == nullptr) {
            continue;
        }
        float left = penX + glyph->OffsetX;
        float top = penY + glyph->OffsetY;
        float right = left + glyph->Width;
        float bottom = top + glyph->Height;
        if (gridSet_ && snap.usable && glyph->Width > 0 && glyph->Height > 0) {
            snap.Snap(left, top, right, bottom);
        }
        const float uL = glyph->X / width;
        const float vT = glyph->Y / height;
        const float uR = glyph->Right / width;
        const float vB = glyph->Bottom / height;
        const std::uint32_t c = color;
        vertices_.push_back(Vertex{left, top, 0.0f, c, 0, uL, vT});
        vertices_.push_back(Vertex{right, top, 0.0f, c, 0, uR, vT});
        vertices_.push_back(Vertex{left, bottom, 0.0f, c, 0, uL, vB});
        vertices_.push_back(Vertex{right, top, 0.0f, c, 0, uR, vT});
        vertices_.push_back(Vertex{right, bottom, 0.0f, c, 0, uR, vB});
        vertices_.push_back(Vertex{left, bottom, 0.0f, c, 0, uL, vB});
        penX += glyph->Advance;
    }
    os::gfx::Device* device = GetDriverDevice();
    if (vertices_.empty() || device == nullptr) {
        return;
    }
    texture_->Bind();
    RequireShaderEnvironment(this).GetDeclPositionColor2Tex()->Apply();
    static_assert(sizeof(Vertex) == 28, "the two-colour declaration's vertex is 28 bytes");
    const os::gfx::Result result =
        device->DrawPrimitiveUP(os::gfx::PrimitiveType::TriangleList, static_cast<std::uint32_t>(vertices_.size() / 3),
                                vertices_.data(), sizeof(Vertex));
    if (os::gfx::Failed(result)) {
        ReportDirectXError(result, kSourceFile, __LINE__);
    }
}

void CTextureFont::Load(IDataLoader* loader, const std::string& path)
{
    glyphs_.clear();
    lineHeight_ = 0;
    IDataLoader& source = loader != nullptr ? *loader : RequireDriverDataLoader(this);
    {
        boost::shared_ptr<IKorvaneStream> table = source.OpenShared(path);
        LoadTable(*table, ToLowerString(GetExtension(path)) == ".ini");
    }
    boost::shared_ptr<IKorvaneStream> image = source.OpenShared(ReplaceExtension(path, ".png"));
    // The new texture replaces the old one only once it has loaded, so a failed reload keeps it.
    boost::shared_ptr<ITexture> texture(new CTexture());
    texture->Load(*image, false, os::gfx::Format::Unknown);
    texture_ = texture;
}

void CTextureFont::LoadTable(IKorvaneStream& stream, bool textFormat)
{
    glyphs_.clear();
    lineHeight_ = 0;
    if (textFormat) {
        LoadIni(stream);
    } else {
        LoadKvf(stream);
    }
}

void CTextureFont::LoadKvf(IKorvaneStream& stream)
{
    CRIFFReader riff;
    riff.Open(&stream);
    if (riff.GetFormType() != MakeFourCC("KVFT")) {
        throw EInvalidFileFormat(this, "loading KVF: file format error");
    }

    const std::vector<std::uint8_t> head = ReadChunk(riff, MakeFourCC("head"));
    ChunkCursor headItems(this, head);
    headItems.ExpectRevision();
    headItems.ExpectKey("LeftOffset");
    leftOffset_ = headItems.ReadInt32();
    headItems.ExpectKey("TopOffset");
    topOffset_ = headItems.ReadInt32();
    headItems.ExpectKey("LineHeight");
    lineHeight_ = headItems.ReadInt32();

    const std::vector<std::uint8_t> table = ReadChunk(riff, MakeFourCC("glpt"));
    ChunkCursor items(this, table);
    items.ExpectRevision();
    items.ExpectKey("Count");
    const std::int32_t count = items.ReadInt32();
    items.ExpectKey("Data");
    if (count <= 0) {
        return;
    }
    // The count is believed only when its records are really there.
    if (items.Remaining() / kRecordSize < static_cast<std::size_t>(count)) {
        throw EInvalidFileFormat(this, kTableError);
    }
    for (std::int32_t i = 0; i < count; ++i) {
        const std::uint16_t code = items.ReadUInt16();
        Glyph glyph;
        glyph.X = items.ReadInt16();
        glyph.Y = items.ReadInt16();
        glyph.Width = items.ReadInt16();
        glyph.Height = items.ReadInt16();
        glyph.OffsetX = items.ReadInt16();
        glyph.OffsetY = items.ReadInt16();
        glyph.Advance = items.ReadInt16();
        glyph.Right = static_cast<std::int16_t>(glyph.X + glyph.Width);
        glyph.Bottom = static_cast<std::int16_t>(glyph.Y + glyph.Height);
        glyphs_[code] = glyph;
    }
}

void CTextureFont::LoadIni(IKorvaneStream& stream)
{
    TProperties<comparator_for_properties::less_ignorecase> properties;
    properties.LoadFromStream(stream);
    startCode_ = ParseCode(properties.Get("StartCode", "0"), 0);
    endCode_ = ParseCode(properties.Get("EndCode", "7F"), 0x7F);
    leftOffset_ = StringToInt(properties.Get("LeftOffset", "0"));
    topOffset_ = StringToInt(properties.Get("TopOffset", "0"));
    // A 32-bit counter, so a range ending at FFFF ends instead of wrapping; a start past the
    // end gives no glyph.
    for (std::uint32_t code = startCode_; code <= endCode_; ++code) {
        const std::string key = FormatString("%x", code);
        auto value = [&](const char* field) { return ToInt16(StringToInt(properties.Get(key + field, "0"))); };
        Glyph glyph;
        glyph.X = value(".x");
        glyph.Y = value(".y");
        glyph.Width = value(".w");
        glyph.Height = value(".h");
        glyph.Advance = value(".p");
        glyph.Right = static_cast<std::int16_t>(glyph.X + glyph.Width);
        glyph.Bottom = static_cast<std::int16_t>(glyph.Y + glyph.Height);
        glyphs_[static_cast<std::uint16_t>(code)] = glyph;
        lineHeight_ = std::max<std::int32_t>(lineHeight_, glyph.Height);
    }
}

} // namespace korvane
