/** @file Canvas.h The toolkit's immediate-mode 2D drawing context with its four stacks. */
#pragma once

#include <cstdint>
#include <deque>
#include <string>
#include <vector>

#include <boost/shared_ptr.hpp>

#include "KorvaneXDK/canvas/Brush.h"
#include "KorvaneXDK/canvas/CanvasVertex.h"
#include "KorvaneXDK/canvas/Font.h"
#include "KorvaneXDK/canvas/Rect2f.h"
#include "KorvaneXDK/core/Color4.h"
#include "KorvaneXDK/core/Matrix4.h"
#include "KorvaneXDK/core/Object.h"
#include "KorvaneXDK/core/Vector2.h"

namespace korvane
{
class CShaderPair;
class CShaderUniformPair;
class IFont;
class ITexture;
} // namespace korvane

namespace korvane::canvas
{

class ICanvasDevice;

/// Stacks: matrices (column-vector convention, CanvasMath.h), brushes (the colour drawn is the
/// product of all), fonts (names) and clip rectangles in root coordinates, plus the local clip
/// rectangle that clipped drawing intersects with in current coordinates. A new canvas has
/// local clip {0, 0, 0, 0}: clipped drawing draws nothing until the first clip call.
///
/// Pops never remove a stack's last entry (the clip stack refills with the unbounded
/// rectangle). Drawing without a shader pair throws EInvalidOperation "Must call
/// SetShaderPair() before using a canvas."; texture operations with a null texture throw
/// EInvalidParameter "texture is null.".
///
/// Vertices keep Direct3D's half-pixel convention: corners are submitted 0.5 up and left
/// (rings excepted; text through its World). Text is drawn with the device's pixel grid handed to
/// the font, which puts its glyphs on whole pixels of the target. Main thread only.
class CCanvas : public virtual CNonCopyable
{
public:
    /// The unbounded clip rectangle: -FLT_MAX / 2 corner, FLT_MAX size.
    static const Rect2f kUnboundedRect;

    /// Draws through the application driver's device (CCanvasDevice) when `device` is null.
    /// Makes the white texture through the device.
    explicit CCanvas(boost::shared_ptr<ICanvasDevice> device = boost::shared_ptr<ICanvasDevice>());
    ~CCanvas() override;

    // --- Frame and shader pair ---------------------------------------------------------------
    /// ALPHABLENDENABLE TRUE, CULLMODE NONE, the canvas vertex declaration. The owner begins
    /// the pair afterwards; the canvas only sets its "World".
    virtual void BeginDraw();
    virtual void EndDraw();
    virtual void SetShaderPair(boost::shared_ptr<CShaderPair> pair);
    virtual boost::shared_ptr<CShaderPair> GetShaderPair();

    // --- Fonts ---------------------------------------------------------------------------------
    virtual CFont& GetFont();
    /// Copies the name into the top font.
    virtual void SetFont(const CFont& font);
    virtual void PushFont();
    virtual void PopFont();
    /// The registry's LoadFont through the device's data loader.
    virtual void LoadFont(const std::string& name, const std::string& path);
    virtual void AddFontAlias(const std::string& alias, const std::string& name);

    // --- Brushes -------------------------------------------------------------------------------
    virtual CBrush& GetBrush();
    virtual void SetBrush(const CBrush& brush);
    virtual void PushBrush();
    virtual void PopBrush();

    // --- Matrices ------------------------------------------------------------------------------
    /// The stack becomes [m].
    virtual void ResetMatrix(const Matrix4& m);
    virtual Matrix4& GetMatrix();
    virtual void PushMatrix();
    /// top = top * m: m acts first, in local coordinates.
    virtual void MultiplyMatrix(const Matrix4& m);
    /// top = m * top: m acts last, in root coordinates.
    virtual void MultiplyMatrixPre(const Matrix4& m);
    virtual void PopMatrix();

    // --- Clipping ------------------------------------------------------------------------------
    /// Pushes a copy of the top (the unbounded rectangle on an empty stack); the local
    /// rectangle is unchanged.
    virtual void PushClipRect();
    /// The top in root coordinates (an empty stack first gets the unbounded rectangle).
    virtual Rect2f& GetClipRect();
    /// r in root coordinates, r's left-top being the root position of the local origin.
    virtual void IntersectClipRect(const Rect2f& r);
    /// p: the root position of the local origin; the local rectangle is the top moved by -p.
    virtual void SetClipOrigin(const Vector2<float>& p);
    virtual void ResetClipRect();
    /// An emptied stack is reset; the local rectangle is not recomputed otherwise.
    virtual void PopClipRect();

    // --- Drawing ---------------------------------------------------------------------------------
    virtual void DrawImageAt(const Vector2<float>& p, ITexture* texture);
    virtual void DrawImageScaled(const Rect2f& dest, ITexture* texture);
    virtual void DrawImagePartAt(const Vector2<float>& p, const Rect2f& src, ITexture* texture);
    /// src in image texels; clipped on the CPU with matching UVs; nothing at all when clipped away.
    virtual void DrawImage(const Rect2f& dest, const Rect2f& src, ITexture* texture);
    /// Nine pieces; body names the part of the image that covers dest.
    virtual void DrawSkin(const Rect2f& dest, const Rect2f& body, ITexture* texture);
    virtual void DrawHorizontalSkin(const Rect2f& dest, const Rect2f& body, ITexture* texture);
    virtual void DrawVerticalSkin(const Rect2f& dest, const Rect2f& body, ITexture* texture);
    /// The image at p inside the sector between the angles (radians, clockwise on screen from +x).
    virtual void DrawImageSector(const Vector2<float>& p, float angleA, float angleB, ITexture* texture);
    virtual void DrawText(const Vector2<float>& p, const std::string& text);
    /// Starts at r's top-left; the font cuts at (r intersected with the local clip)'s right edge.
    virtual void DrawTextClipped(const Rect2f& r, const std::string& text);
    virtual Vector2<float> MeasureText(const std::string& text);
    virtual float GetFontHeight(const std::string& text);
    virtual void FillRect(const Rect2f& r);
    /// A one-unit outline of four edges that do not overlap.
    virtual void DrawRect(const Rect2f& r);
    /// n segments; below 1 draws nothing, above kMaxRingSegments is clamped.
    virtual void DrawRing(const Vector2<float>& centre, float innerRadius, float outerRadius, std::int32_t segments);

    virtual double GetElapsedMilliseconds();

    static constexpr std::int32_t kMaxRingSegments = 10922;

    // --- For owners and tests ------------------------------------------------------------------
    /// The product of every brush colour, bottom to top.
    Color4<float> GetEffectiveColor() const;
    const Rect2f& GetLocalClipRect() const { return localClip_; }
    std::size_t GetMatrixDepth() const { return matrices_.size(); }
    std::size_t GetBrushDepth() const { return brushes_.size(); }
    std::size_t GetFontDepth() const { return fonts_.size(); }
    std::size_t GetClipDepth() const { return clips_.size(); }
    ICanvasDevice& GetDevice() { return *device_; }

private:
    void RequirePair() const;
    void ApplyBrushStates();
    void SetWorld(const Matrix4& world);
    void SetTopWorld();
    /// Sets and returns the text's world: the top with the font's scale and half-pixel shift.
    Matrix4 SetTextWorld(IFont& font);
    class PixelGridScope;
    boost::shared_ptr<IFont> GetCurrentFont();
    void DrawQuad(float x0, float y0, float x1, float y1, std::uint32_t color);
    void FillClipped(const Rect2f& r, std::uint32_t color);
    /// Appends a clipped skin piece as two triangles; false when clipped away.
    bool AddPiece(std::vector<CanvasVertex>& out, const Rect2f& dest, const Rect2f& src, ITexture& texture,
                  std::uint32_t color) const;
    void DrawPieces(const std::vector<CanvasVertex>& vertices, ITexture& texture);
    void RequireTexture(const ITexture* texture) const;

    boost::shared_ptr<ICanvasDevice> device_;
    std::deque<Matrix4> matrices_;
    std::vector<CBrush> brushes_;
    std::deque<CFont> fonts_;
    std::deque<Rect2f> clips_;
    Rect2f localClip_;
    boost::shared_ptr<ITexture> whiteTexture_;
    boost::shared_ptr<CShaderPair> pair_;
    boost::shared_ptr<CShaderUniformPair> world_;
    std::vector<CanvasVertex> scratch_;
    std::vector<std::uint16_t> indices_;
};

} // namespace korvane::canvas
