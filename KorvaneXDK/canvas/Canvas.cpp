/** @file Canvas.cpp Canvas state and drawing. */
#include "KorvaneXDK/canvas/Canvas.h"

#include <algorithm>
#include <cfloat>
#include <cmath>
#include <limits>

#include "KorvaneXDK/canvas/CanvasDevice.h"
#include "KorvaneXDK/canvas/CanvasMath.h"
#include "KorvaneXDK/canvas/FontStock.h"
#include "KorvaneXDK/core/Exception.h"
#include "KorvaneXDK/core/PackedColor.h"
#include "KorvaneXDK/platform/graphics/FontInterface.h"
#include "KorvaneXDK/platform/graphics/TextureInterface.h"

namespace korvane::canvas
{
namespace
{

using os::gfx::RenderState;
using os::gfx::SamplerState;
namespace value = os::gfx::value;

constexpr std::uint32_t kStride = sizeof(CanvasVertex);
constexpr double kTwoPi = 6.283185307179586;
constexpr double kQuarterPi = kTwoPi / 8.0;

/// The fills' colour: components clamped to 0..1, then truncated (0.5 gives 127).
std::uint32_t TruncatedComponent(float component)
{
    if (!(component > 0.0f)) {
        return 0u;
    }
    if (component >= 1.0f) {
        return 255u;
    }
    return static_cast<std::uint32_t>(component * 255.0f);
}

std::uint32_t TruncatedColor(const Color4<float>& c)
{
    return TruncatedComponent(c.a) << 24 | TruncatedComponent(c.r) << 16 | TruncatedComponent(c.g) << 8 |
           TruncatedComponent(c.b);
}

CanvasVertex Vertex(float x, float y, std::uint32_t color, float u, float v)
{
    CanvasVertex out;
    out.x = x;
    out.y = y;
    out.color0 = color;
    out.u = u;
    out.v = v;
    return out;
}

/// Where the ray of angle theta (in octant k) meets the border of the square [-1, 1]^2.
Vector2<float> SectorBorder(int k, double theta)
{
    const double pi = kTwoPi / 2.0;
    double x = 0.0;
    double y = 0.0;
    switch (k) {
    case 0:
        x = 1.0, y = std::tan(theta);
        break;
    case 1:
        x = std::tan(pi / 2.0 - theta), y = 1.0;
        break;
    case 2:
        x = -std::tan(theta - pi / 2.0), y = 1.0;
        break;
    case 3:
        x = -1.0, y = std::tan(pi - theta);
        break;
    case 4:
        x = -1.0, y = -std::tan(theta - pi);
        break;
    case 5:
        x = -std::tan(3.0 * pi / 2.0 - theta), y = -1.0;
        break;
    case 6:
        x = std::tan(theta - 3.0 * pi / 2.0), y = -1.0;
        break;
    default:
        x = 1.0, y = -std::tan(kTwoPi - theta);
        break;
    }
    return Vector2<float>(static_cast<float>(x), static_cast<float>(y));
}

std::int32_t ClampToInt32(std::int64_t value)
{
    return static_cast<std::int32_t>(std::clamp<std::int64_t>(value, std::numeric_limits<std::int32_t>::min(),
                                                              std::numeric_limits<std::int32_t>::max()));
}

} // namespace

const Rect2f CCanvas::kUnboundedRect(-FLT_MAX / 2.0f, -FLT_MAX / 2.0f, FLT_MAX, FLT_MAX);

CCanvas::CCanvas(boost::shared_ptr<ICanvasDevice> device) : device_(std::move(device))
{
    if (!device_) {
        device_.reset(new CCanvasDevice());
    }
    matrices_.emplace_back();
    brushes_.emplace_back();
    fonts_.emplace_back();
    whiteTexture_ = device_->CreateWhiteTexture();
}

CCanvas::~CCanvas()
{
    world_.reset();
    pair_.reset();
    whiteTexture_.reset();
}

// --- Frame and shader pair -----------------------------------------------------------------

void CCanvas::BeginDraw()
{
    device_->SetRenderState(RenderState::AlphaBlendEnable, value::True);
    device_->SetRenderState(RenderState::CullMode, value::CullNone);
    device_->ApplyVertexDeclaration();
}

void CCanvas::EndDraw() {}

void CCanvas::SetShaderPair(boost::shared_ptr<CShaderPair> pair)
{
    boost::shared_ptr<CShaderUniformPair> world;
    if (pair) {
        world = device_->GetUniform(*pair, "World");
    }
    pair_ = std::move(pair);
    world_ = std::move(world);
}

boost::shared_ptr<CShaderPair> CCanvas::GetShaderPair()
{
    RequirePair();
    return pair_;
}

void CCanvas::RequirePair() const
{
    if (!pair_ || !world_) {
        throw EInvalidOperation(this, "Must call SetShaderPair() before using a canvas.");
    }
}

// --- Fonts ---------------------------------------------------------------------------------

CFont& CCanvas::GetFont()
{
    return fonts_.back();
}

void CCanvas::SetFont(const CFont& font)
{
    fonts_.back().SetName(font.GetName());
}

void CCanvas::PushFont()
{
    fonts_.push_back(fonts_.back());
}

void CCanvas::PopFont()
{
    if (fonts_.size() > 1) {
        fonts_.pop_back();
    }
}

void CCanvas::LoadFont(const std::string& name, const std::string& path)
{
    CFontStock::GetInstance()->LoadFont(device_->GetDataLoader(), name, path);
}

void CCanvas::AddFontAlias(const std::string& alias, const std::string& name)
{
    CFontStock::GetInstance()->AddAlias(alias, name);
}

boost::shared_ptr<IFont> CCanvas::GetCurrentFont()
{
    return CFontStock::GetInstance()->Get(fonts_.back().GetName());
}

// --- Brushes -------------------------------------------------------------------------------

CBrush& CCanvas::GetBrush()
{
    return brushes_.back();
}

void CCanvas::SetBrush(const CBrush& brush)
{
    brushes_.back() = brush;
}

void CCanvas::PushBrush()
{
    brushes_.push_back(brushes_.back());
}

void CCanvas::PopBrush()
{
    if (brushes_.size() > 1) {
        brushes_.pop_back();
    }
}

Color4<float> CCanvas::GetEffectiveColor() const
{
    Color4<float> color(1.0f, 1.0f, 1.0f, 1.0f);
    for (const CBrush& brush : brushes_) {
        color = color * brush.GetColor();
    }
    return color;
}

void CCanvas::ApplyBrushStates()
{
    const CBrush& brush = brushes_.back();
    const std::int32_t level = device_->GetAnisotropyLevel();
    if (level < 1) {
        device_->SetSamplerState(0, SamplerState::MagFilter, value::FilterLinear);
        device_->SetSamplerState(0, SamplerState::MinFilter, value::FilterLinear);
        device_->SetSamplerState(0, SamplerState::MipFilter, value::FilterLinear);
    } else {
        const bool magAnisotropic = (device_->GetTextureFilterCaps() & os::gfx::filtercaps::MagAnisotropic) != 0;
        device_->SetSamplerState(0, SamplerState::MagFilter,
                                 magAnisotropic ? value::FilterAnisotropic : value::FilterLinear);
        device_->SetSamplerState(0, SamplerState::MinFilter, value::FilterAnisotropic);
        device_->SetSamplerState(0, SamplerState::MipFilter, value::FilterLinear);
        device_->SetSamplerState(0, SamplerState::MaxAnisotropy, static_cast<std::uint32_t>(level));
    }
    device_->SetSamplerState(0, SamplerState::AddressU, value::AddressWrap);
    device_->SetSamplerState(0, SamplerState::AddressV, value::AddressWrap);
    if (!brush.IsFiltering()) {
        device_->SetSamplerState(0, SamplerState::MagFilter, value::FilterPoint);
        device_->SetSamplerState(0, SamplerState::MinFilter, value::FilterPoint);
        device_->SetSamplerState(0, SamplerState::MipFilter, value::FilterPoint);
    }
    switch (brush.GetBlendMode()) {
    case CBrush::kBlendAdditive:
        device_->SetRenderState(RenderState::SrcBlend, value::BlendSrcAlpha);
        device_->SetRenderState(RenderState::DestBlend, value::BlendOne);
        break;
    case CBrush::kBlendMultiplicative:
        device_->SetRenderState(RenderState::SrcBlend, value::BlendZero);
        device_->SetRenderState(RenderState::DestBlend, value::BlendSrcColor);
        break;
    default:
        device_->SetRenderState(RenderState::SrcBlend, value::BlendSrcAlpha);
        device_->SetRenderState(RenderState::DestBlend, value::BlendInvSrcAlpha);
        break;
    }
}

// --- Matrices ------------------------------------------------------------------------------

void CCanvas::ResetMatrix(const Matrix4& m)
{
    matrices_.clear();
    matrices_.push_back(m);
}

Matrix4& CCanvas::GetMatrix()
{
    return matrices_.back();
}

void CCanvas::PushMatrix()
{
    matrices_.push_back(matrices_.back());
}

void CCanvas::MultiplyMatrix(const Matrix4& m)
{
    Matrix4::Multiply(matrices_.back(), matrices_.back(), m);
}

void CCanvas::MultiplyMatrixPre(const Matrix4& m)
{
    Matrix4::Multiply(matrices_.back(), m, matrices_.back());
}

void CCanvas::PopMatrix()
{
    if (matrices_.size() > 1) {
        matrices_.pop_back();
    }
}

void CCanvas::SetWorld(const Matrix4& world)
{
    device_->SetMatrix(*world_, world);
}

void CCanvas::SetTopWorld()
{
    SetWorld(Transpose(matrices_.back()));
}

Matrix4 CCanvas::SetTextWorld(IFont& font)
{
    // Glyph coordinates are divided by the pixel scale, moved half a pixel up and left below
    // scale 2, then transformed by the top; the shader sees the transpose.
    const std::int32_t k = font.GetPixelScale();
    const float inverse = k != 0 ? 1.0f / static_cast<float>(k) : 1.0f;
    Matrix4 local = MakeScaling(inverse, inverse, 1.0f);
    if (k < 2) {
        local = Multiply(MakeTranslation(-0.5f, -0.5f, 0.0f), local);
    }
    const Matrix4 world = Multiply(matrices_.back(), local);
    SetWorld(Transpose(world));
    return world;
}

/// The font places its glyphs on the target's whole pixels for the length of one draw.
class CCanvas::PixelGridScope
{
public:
    PixelGridScope(IFont& font, const Matrix4& toPixels) : font_(font) { font_.SetPixelGrid(&toPixels); }
    ~PixelGridScope() { font_.SetPixelGrid(nullptr); }
    PixelGridScope(const PixelGridScope&) = delete;
    PixelGridScope& operator=(const PixelGridScope&) = delete;

private:
    IFont& font_;
};

// --- Clipping ------------------------------------------------------------------------------

void CCanvas::PushClipRect()
{
    clips_.push_back(clips_.empty() ? kUnboundedRect : clips_.back());
}

Rect2f& CCanvas::GetClipRect()
{
    if (clips_.empty()) {
        PushClipRect();
    }
    return clips_.back();
}

void CCanvas::IntersectClipRect(const Rect2f& r)
{
    if (clips_.empty()) {
        PushClipRect();
    }
    const Rect2f old = clips_.back();
    const Rect2f top = Rect2f::Intersect(old, r);
    clips_.back() = top;
    localClip_ = Rect2f(std::max(old.left - r.left, 0.0f), std::max(old.top - r.top, 0.0f), top.width, top.height);
}

void CCanvas::SetClipOrigin(const Vector2<float>& p)
{
    if (clips_.empty()) {
        PushClipRect();
    }
    const Rect2f& top = clips_.back();
    localClip_ = Rect2f(top.left - p.x, top.top - p.y, top.width, top.height);
}

void CCanvas::ResetClipRect()
{
    if (clips_.empty()) {
        PushClipRect();
    }
    clips_.back() = kUnboundedRect;
    localClip_ = kUnboundedRect;
}

void CCanvas::PopClipRect()
{
    if (clips_.empty()) {
        return;
    }
    clips_.pop_back();
    if (clips_.empty()) {
        ResetClipRect();
    }
}

// --- Images --------------------------------------------------------------------------------

void CCanvas::RequireTexture(const ITexture* texture) const
{
    if (texture == nullptr) {
        throw EInvalidParameter(this, "texture is null.");
    }
}

void CCanvas::DrawImageAt(const Vector2<float>& p, ITexture* texture)
{
    RequirePair();
    RequireTexture(texture);
    const auto iw = static_cast<float>(texture->GetImageWidth());
    const auto ih = static_cast<float>(texture->GetImageHeight());
    DrawImage(Rect2f(p.x, p.y, iw, ih), Rect2f(0.0f, 0.0f, iw, ih), texture);
}

void CCanvas::DrawImageScaled(const Rect2f& dest, ITexture* texture)
{
    RequirePair();
    RequireTexture(texture);
    const auto iw = static_cast<float>(texture->GetImageWidth());
    const auto ih = static_cast<float>(texture->GetImageHeight());
    DrawImage(dest, Rect2f(0.0f, 0.0f, iw, ih), texture);
}

void CCanvas::DrawImagePartAt(const Vector2<float>& p, const Rect2f& src, ITexture* texture)
{
    DrawImage(Rect2f(p.x, p.y, src.width, src.height), src, texture);
}

void CCanvas::DrawImage(const Rect2f& dest, const Rect2f& src, ITexture* texture)
{
    RequirePair();
    RequireTexture(texture);
    scratch_.clear();
    if (!AddPiece(scratch_, dest, src, *texture, PackedColor(GetEffectiveColor()))) {
        return;
    }
    // The piece's triangle pair as a strip: top-left, top-right, bottom-left, bottom-right.
    const CanvasVertex strip[4] = {scratch_[0], scratch_[1], scratch_[2], scratch_[4]};
    ApplyBrushStates();
    SetTopWorld();
    device_->BindTexture(*texture);
    device_->DrawPrimitiveUP(os::gfx::PrimitiveType::TriangleStrip, 2, strip, kStride);
    device_->UnbindTexture(*texture);
}

bool CCanvas::AddPiece(std::vector<CanvasVertex>& out, const Rect2f& dest, const Rect2f& src, ITexture& texture,
                       std::uint32_t color) const
{
    const Rect2f c = Rect2f::Intersect(dest, localClip_);
    if (!(c.width > 0.0f) || !(c.height > 0.0f)) {
        return false;
    }
    const float dl = c.left - dest.left;
    const float dt = c.top - dest.top;
    const float dr = (c.left + c.width) - (dest.left + dest.width);
    const float db = (c.top + c.height) - (dest.top + dest.height);
    const float sx = src.width / dest.width;
    const float sy = src.height / dest.height;
    const auto w = static_cast<float>(texture.GetSurfaceWidth());
    const auto h = static_cast<float>(texture.GetSurfaceHeight());
    const float uL = (src.left + dl * sx) / w;
    const float vT = (src.top + dt * sy) / h;
    const float uR = (src.left + src.width + dr * sx) / w;
    const float vB = (src.top + src.height + db * sy) / h;
    const float x0 = c.left - 0.5f;
    const float y0 = c.top - 0.5f;
    const float x1 = c.left + c.width - 0.5f;
    const float y1 = c.top + c.height - 0.5f;
    const CanvasVertex tl = Vertex(x0, y0, color, uL, vT);
    const CanvasVertex tr = Vertex(x1, y0, color, uR, vT);
    const CanvasVertex bl = Vertex(x0, y1, color, uL, vB);
    const CanvasVertex br = Vertex(x1, y1, color, uR, vB);
    out.insert(out.end(), {tl, tr, bl, tr, br, bl});
    return true;
}

void CCanvas::DrawPieces(const std::vector<CanvasVertex>& vertices, ITexture& texture)
{
    if (vertices.empty()) {
        return;
    }
    // Skins always draw with normal alpha blending.
    PushBrush();
    brushes_.back().SetBlendMode(CBrush::kBlendNormal);
    ApplyBrushStates();
    SetTopWorld();
    device_->BindTexture(texture);
    device_->DrawPrimitiveUP(os::gfx::PrimitiveType::TriangleList, static_cast<std::uint32_t>(vertices.size() / 3),
                             vertices.data(), kStride);
    device_->UnbindTexture(texture);
    PopBrush();
}

void CCanvas::DrawSkin(const Rect2f& dest, const Rect2f& body, ITexture* texture)
{
    RequirePair();
    RequireTexture(texture);
    const auto iw = static_cast<float>(texture->GetImageWidth());
    const auto ih = static_cast<float>(texture->GetImageHeight());
    const auto cw = static_cast<float>(SaturateToInt32(iw) / 4);
    const auto ch = static_cast<float>(SaturateToInt32(ih) / 4);
    const Rect2f o(dest.left - body.left, dest.top - body.top, dest.width + (iw - body.width),
                   dest.height + (ih - body.height));
    if (!(2.0f * cw <= o.width) || !(2.0f * ch <= o.height)) {
        return;
    }
    const float x = o.left, y = o.top, ow = o.width, oh = o.height;
    const std::uint32_t color = PackedColor(GetEffectiveColor());
    const Rect2f pieces[9][2] = {
        {{0, 0, cw, ch}, {x, y, cw, ch}},
        {{cw, 0, 2 * cw, ch}, {x + cw, y, ow - 2 * cw, ch}},
        {{3 * cw, 0, cw, ch}, {x + ow - cw, y, cw, ch}},
        {{0, ch, cw, 2 * ch}, {x, y + ch, cw, oh - 2 * ch}},
        {{cw, ch, 2 * cw, 2 * ch}, {x + cw, y + ch, ow - 2 * cw, oh - 2 * ch}},
        {{3 * cw, ch, cw, 2 * ch}, {x + ow - cw, y + ch, cw, oh - 2 * ch}},
        {{0, 3 * ch, cw, ch}, {x, y + oh - ch, cw, ch}},
        {{cw, 3 * ch, 2 * cw, ch}, {x + cw, y + oh - ch, ow - 2 * cw, ch}},
        {{3 * cw, 3 * ch, cw, ch}, {x + ow - cw, y + oh - ch, cw, ch}},
    };
    scratch_.clear();
    for (const auto& piece : pieces) {
        AddPiece(scratch_, piece[1], piece[0], *texture, color);
    }
    DrawPieces(scratch_, *texture);
}

void CCanvas::DrawHorizontalSkin(const Rect2f& dest, const Rect2f& body, ITexture* texture)
{
    RequirePair();
    RequireTexture(texture);
    const auto iw = static_cast<float>(texture->GetImageWidth());
    const auto ih = static_cast<float>(texture->GetImageHeight());
    const auto cw = static_cast<float>(SaturateToInt32(iw) / 4);
    const float top = dest.top + static_cast<float>(SaturateToInt32((dest.height - body.height) * 0.5f));
    const Rect2f o(dest.left - body.left, top - body.top, dest.width + (iw - body.width), ih);
    if (!(2.0f * cw <= o.width)) {
        return;
    }
    const float x = o.left, y = o.top, ow = o.width;
    const std::uint32_t color = PackedColor(GetEffectiveColor());
    scratch_.clear();
    AddPiece(scratch_, {x, y, cw, ih}, {0, 0, cw, ih}, *texture, color);
    AddPiece(scratch_, {x + cw, y, ow - 2 * cw, ih}, {cw, 0, 2 * cw, ih}, *texture, color);
    AddPiece(scratch_, {x + ow - cw, y, cw, ih}, {3 * cw, 0, cw, ih}, *texture, color);
    DrawPieces(scratch_, *texture);
}

void CCanvas::DrawVerticalSkin(const Rect2f& dest, const Rect2f& body, ITexture* texture)
{
    RequirePair();
    RequireTexture(texture);
    const auto iw = static_cast<float>(texture->GetImageWidth());
    const auto ih = static_cast<float>(texture->GetImageHeight());
    const auto ch = static_cast<float>(SaturateToInt32(ih) / 4);
    const float left = dest.left + static_cast<float>(SaturateToInt32((dest.width - body.width) * 0.5f));
    const Rect2f o(left - body.left, dest.top - body.top, iw, dest.height + (ih - body.height));
    if (!(2.0f * ch <= o.height)) {
        return;
    }
    const float x = o.left, y = o.top, oh = o.height;
    const std::uint32_t color = PackedColor(GetEffectiveColor());
    scratch_.clear();
    AddPiece(scratch_, {x, y, iw, ch}, {0, 0, iw, ch}, *texture, color);
    AddPiece(scratch_, {x, y + ch, iw, oh - 2 * ch}, {0, ch, iw, 2 * ch}, *texture, color);
    AddPiece(scratch_, {x, y + oh - ch, iw, ch}, {0, 3 * ch, iw, ch}, *texture, color);
    DrawPieces(scratch_, *texture);
}

void CCanvas::DrawImageSector(const Vector2<float>& p, float angleA, float angleB, ITexture* texture)
{
    RequirePair();
    RequireTexture(texture);
    if (!std::isfinite(angleA) || !std::isfinite(angleB)) {
        return;
    }
    double s = std::min(angleA, angleB);
    double e = std::max(angleA, angleB);
    // One shift by a whole number of turns brings s into [0, 2pi), so a sector reaching below 0
    // is not cut at 0; nothing changes for s already there.
    const double turns = std::floor(s / kTwoPi);
    s -= turns * kTwoPi;
    e -= turns * kTwoPi;
    if (s >= kTwoPi) {
        s -= kTwoPi;
        e -= kTwoPi;
    }

    const auto iw = static_cast<float>(texture->GetImageWidth());
    const auto ih = static_cast<float>(texture->GetImageHeight());
    const auto w = static_cast<float>(texture->GetSurfaceWidth());
    const auto h = static_cast<float>(texture->GetSurfaceHeight());
    const std::uint32_t color = PackedColor(GetEffectiveColor());
    const auto point = [&](const Vector2<float>& q) {
        const float fx = q.x / 2.0f + 0.5f;
        const float fy = q.y / 2.0f + 0.5f;
        return Vertex(p.x - 0.5f + fx * iw, p.y - 0.5f + fy * ih, color, fx * iw / w, fy * ih / h);
    };
    const CanvasVertex centre = point(Vector2<float>(0.0f, 0.0f));

    scratch_.clear();
    const auto pass = [&](double from, double to) {
        for (int k = 0; k < 8; ++k) {
            const double lower = k * kQuarterPi;
            const double upper = (k + 1) * kQuarterPi;
            if (!(from < upper) || (k > 0 && !(to >= lower))) {
                continue;
            }
            scratch_.push_back(centre);
            scratch_.push_back(point(SectorBorder(k, std::max(from, lower))));
            scratch_.push_back(point(SectorBorder(k, std::min(to, upper))));
        }
    };
    if (e >= kTwoPi) {
        pass(s, kTwoPi);
        pass(0.0, e - std::trunc(e / kTwoPi) * kTwoPi);
    } else {
        pass(s, e);
    }

    ApplyBrushStates();
    SetTopWorld();
    device_->BindTexture(*texture);
    device_->DrawPrimitiveUP(os::gfx::PrimitiveType::TriangleList, static_cast<std::uint32_t>(scratch_.size() / 3),
                             scratch_.data(), kStride);
    device_->UnbindTexture(*texture);
}

// --- Text ----------------------------------------------------------------------------------

void CCanvas::DrawText(const Vector2<float>& p, const std::string& text)
{
    RequirePair();
    boost::shared_ptr<IFont> font = GetCurrentFont();
    const PackedColor color(GetEffectiveColor());
    ApplyBrushStates();
    const PixelGridScope grid(*font, Multiply(device_->GetPixelGrid(), SetTextWorld(*font)));
    font->DrawText(text, SaturateToInt32(p.x), SaturateToInt32(p.y), color);
}

void CCanvas::DrawTextClipped(const Rect2f& r, const std::string& text)
{
    RequirePair();
    boost::shared_ptr<IFont> font = GetCurrentFont();
    const PackedColor color(GetEffectiveColor());
    const Rect2f c = Rect2f::Intersect(r, localClip_);
    os::gfx::Rect rect;
    rect.left = SaturateToInt32(c.left);
    rect.top = SaturateToInt32(c.top);
    rect.right = ClampToInt32(std::int64_t{rect.left} + SaturateToInt32(c.width));
    rect.bottom = ClampToInt32(std::int64_t{rect.top} + SaturateToInt32(c.height));
    ApplyBrushStates();
    const PixelGridScope grid(*font, Multiply(device_->GetPixelGrid(), SetTextWorld(*font)));
    font->DrawTextClipped(SaturateToInt32(r.left), SaturateToInt32(r.top), rect, text, color);
}

Vector2<float> CCanvas::MeasureText(const std::string& text)
{
    return fonts_.back().MeasureText(text);
}

float CCanvas::GetFontHeight(const std::string& text)
{
    return fonts_.back().GetHeight(text);
}

// --- Fills, outlines, rings ----------------------------------------------------------------

void CCanvas::DrawQuad(float x0, float y0, float x1, float y1, std::uint32_t color)
{
    const CanvasVertex quad[4] = {
        Vertex(x0 - 0.5f, y0 - 0.5f, color, 0.0f, 0.0f),
        Vertex(x1 - 0.5f, y0 - 0.5f, color, 1.0f, 0.0f),
        Vertex(x0 - 0.5f, y1 - 0.5f, color, 0.0f, 1.0f),
        Vertex(x1 - 0.5f, y1 - 0.5f, color, 1.0f, 1.0f),
    };
    ApplyBrushStates();
    SetTopWorld();
    device_->BindTexture(*whiteTexture_);
    device_->SetRenderState(RenderState::CullMode, value::CullNone);
    device_->DrawPrimitiveUP(os::gfx::PrimitiveType::TriangleStrip, 2, quad, kStride);
    device_->UnbindTexture(*whiteTexture_);
}

void CCanvas::FillClipped(const Rect2f& r, std::uint32_t color)
{
    const Rect2f c = Rect2f::Intersect(r, localClip_);
    DrawQuad(c.left, c.top, c.left + c.width, c.top + c.height, color);
}

void CCanvas::FillRect(const Rect2f& r)
{
    RequirePair();
    FillClipped(r, TruncatedColor(GetEffectiveColor()));
}

void CCanvas::DrawRect(const Rect2f& r)
{
    RequirePair();
    const std::uint32_t color = TruncatedColor(GetEffectiveColor());
    const float x = r.left, y = r.top, w = r.width, h = r.height;
    // Top without its right end, left between top and bottom, right down to the bottom row,
    // bottom whole: every outline pixel once.
    FillClipped(Rect2f(x, y, w - 1.0f, 1.0f), color);
    FillClipped(Rect2f(x, y + 1.0f, 1.0f, h - 2.0f), color);
    FillClipped(Rect2f(x + w - 1.0f, y, 1.0f, h - 1.0f), color);
    FillClipped(Rect2f(x, y + h - 1.0f, w, 1.0f), color);
}

void CCanvas::DrawRing(const Vector2<float>& centre, float innerRadius, float outerRadius, std::int32_t segments)
{
    RequirePair();
    if (segments < 1) {
        return;
    }
    // 16-bit counts: 6 x 10922 indices is the last that fits.
    const std::int32_t n = std::min(segments, kMaxRingSegments);
    const std::uint32_t count = 2u * static_cast<std::uint32_t>(n);
    const std::uint32_t color = PackedColor(GetEffectiveColor());
    const double step = 6.2831854820251465 / n;
    scratch_.resize(count);
    indices_.resize(3u * count);
    for (std::int32_t i = 0; i < n; ++i) {
        const auto a = static_cast<float>(i * step);
        const float c = std::cos(a);
        const float s = std::sin(a);
        const auto k = static_cast<std::uint32_t>(2 * i);
        scratch_[k] = Vertex(centre.x + innerRadius * c, centre.y + innerRadius * s, color, 0.0f, 0.0f);
        scratch_[k + 1] = Vertex(centre.x + outerRadius * c, centre.y + outerRadius * s, color, 0.0f, 0.0f);
        const std::uint32_t order[6] = {k, k + 1, k + 2, k + 1, k + 3, k + 2};
        for (int j = 0; j < 6; ++j) {
            indices_[3u * k + static_cast<std::uint32_t>(j)] = static_cast<std::uint16_t>(order[j] % count);
        }
    }
    ApplyBrushStates();
    SetTopWorld();
    device_->BindTexture(*whiteTexture_);
    device_->DrawIndexedPrimitiveUP(os::gfx::PrimitiveType::TriangleList, 0, count, count, indices_.data(),
                                    scratch_.data(), kStride);
    device_->UnbindTexture(*whiteTexture_);
}

double CCanvas::GetElapsedMilliseconds()
{
    return device_->GetElapsedMilliseconds();
}

} // namespace korvane::canvas
