/** @file AppearanceTrace.h A canvas on the recording device that writes down, for each drawing call an appearance
 * makes, its rectangles and the colour and blend mode it draws with. */
#pragma once

#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

#include <boost/shared_ptr.hpp>

#include "KorvaneXDK/canvas/Canvas.h"
#include "KorvaneXDK/canvas/FontStock.h"
#include "KorvaneXDK/platform/graphics/ShaderPair.h"
#include "support/FakeFont.h"
#include "support/RecordingCanvasDevice.h"

namespace korvane::test
{

inline std::string Num(float v)
{
    char text[32];
    std::snprintf(text, sizeof text, "%g", static_cast<double>(v));
    return text;
}

inline std::string Box(const canvas::Rect2f& r)
{
    return "{" + Num(r.left) + "," + Num(r.top) + "," + Num(r.width) + "," + Num(r.height) + "}";
}

/// Each entry: "<call> <rectangles> a=<effective alpha> m=<blend mode>", with the effective
/// colour's red, green and blue left out (tests give controls a white colour). The real canvas
/// runs underneath, so its errors and stack handling stay real. Fonts: "default" is 8 pixels a
/// byte and 13 high (a fresh font registry for the fixture's lifetime).
class AppearanceTrace : public canvas::CCanvas
{
public:
    AppearanceTrace() : AppearanceTrace(boost::shared_ptr<RecordingCanvasDevice>(new RecordingCanvasDevice())) {}

    ~AppearanceTrace() override { canvas::CFontStock::ReleaseInstance(); }

    void FillRect(const canvas::Rect2f& r) override
    {
        Trace("fill " + Box(r));
        const Nested nested(depth_);
        CCanvas::FillRect(r);
    }
    void DrawRect(const canvas::Rect2f& r) override
    {
        Trace("frame " + Box(r));
        const Nested nested(depth_);
        CCanvas::DrawRect(r);
    }
    void DrawImageAt(const Vector2<float>& p, ITexture* texture) override
    {
        Trace("image at (" + Num(p.x) + "," + Num(p.y) + ")");
        const Nested nested(depth_);
        CCanvas::DrawImageAt(p, texture);
    }
    void DrawImageScaled(const canvas::Rect2f& dest, ITexture* texture) override
    {
        Trace("image " + Box(dest) + Which(texture));
        const Nested nested(depth_);
        CCanvas::DrawImageScaled(dest, texture);
    }
    void DrawImage(const canvas::Rect2f& dest, const canvas::Rect2f& src, ITexture* texture) override
    {
        Trace("part " + Box(dest) + " from " + Box(src));
        const Nested nested(depth_);
        CCanvas::DrawImage(dest, src, texture);
    }
    void DrawSkin(const canvas::Rect2f& dest, const canvas::Rect2f& body, ITexture* texture) override
    {
        Trace("skin " + Box(dest) + " body " + Box(body) + Which(texture));
        const Nested nested(depth_);
        CCanvas::DrawSkin(dest, body, texture);
    }
    void DrawImageSector(const Vector2<float>& p, float a, float b, ITexture* texture) override
    {
        Trace("sector " + Degrees(a) + ".." + Degrees(b));
        const Nested nested(depth_);
        CCanvas::DrawImageSector(p, a, b, texture);
    }
    void DrawTextClipped(const canvas::Rect2f& r, const std::string& text) override
    {
        Trace("text " + Box(r) + " '" + text + "'");
        const Nested nested(depth_);
        CCanvas::DrawTextClipped(r, text);
    }

    /// Names textures in the trace.
    ITexture* first = nullptr;
    ITexture* second = nullptr;
    std::vector<std::string> trace;
    boost::shared_ptr<RecordingCanvasDevice> device;
    boost::shared_ptr<FakeFont> font;

private:
    int depth_ = 0;

    explicit AppearanceTrace(boost::shared_ptr<RecordingCanvasDevice> recorder)
        : canvas::CCanvas(recorder), device(recorder), font(new FakeFont(recorder.get(), 8, 13))
    {
        SetShaderPair(boost::shared_ptr<CShaderPair>(new CShaderPair()));
        ResetClipRect();
        canvas::CFontStock::ReleaseInstance();
        boost::shared_ptr<canvas::CFontStock> stock = canvas::CFontStock::GetInstance();
        stock->SetFontFactory([this](IDataLoader*, const std::string&) -> boost::shared_ptr<IFont> { return font; });
        stock->LoadFont(nullptr, "default", "default");
    }

    /// Whole hundredths of a degree, so that float rounding does not show.
    static std::string Degrees(float radians)
    {
        return Num(static_cast<float>(std::round(static_cast<double>(radians) * 5729.5779513) / 100.0));
    }

    struct Nested
    {
        explicit Nested(int& depth) : depth_(depth) { ++depth_; }
        ~Nested() { --depth_; }
        Nested(const Nested&) = delete;
        Nested& operator=(const Nested&) = delete;
        int& depth_;
    };

    std::string Which(ITexture* texture) const
    {
        return texture == first ? " first" : texture == second ? " second" : " other";
    }

    /// The canvas draws some images through its other image operations: only the outermost call
    /// is written down.
    void Trace(const std::string& call)
    {
        if (depth_ > 0) {
            return;
        }
        trace.push_back(call + " a=" + Num(GetEffectiveColor().a) + " m=" + std::to_string(GetBrush().GetBlendMode()));
    }
};

} // namespace korvane::test
