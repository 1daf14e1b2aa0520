/** @file DrawTestSupport.h A canvas on the recording device that also writes down the stack, clip and fill calls the
 * widget tree makes, and small appearances that paint what they are given. */
#pragma once

#include <cstdio>
#include <string>
#include <vector>

#include <boost/shared_ptr.hpp>

#include "KorvaneXDK/canvas/Canvas.h"
#include "KorvaneXDK/canvas/CanvasMath.h"
#include "KorvaneXDK/mwt/ControlAppearance.h"
#include "KorvaneXDK/platform/graphics/ShaderPair.h"
#include "support/RecordingCanvasDevice.h"

namespace korvane::test
{

inline std::string Number(float v)
{
    char text[32];
    std::snprintf(text, sizeof text, "%g", static_cast<double>(v));
    return text;
}

inline std::string Rect(const canvas::Rect2f& r)
{
    return "(" + Number(r.left) + "," + Number(r.top) + "," + Number(r.width) + "," + Number(r.height) + ")";
}

/// "I", "T(x,y)", "S(x,y)" or "M" for anything else.
inline std::string Describe(const Matrix4& m)
{
    const float* e = m.m;
    const bool linearIdentity = e[0] == 1 && e[1] == 0 && e[4] == 0 && e[5] == 1;
    const bool noTranslation = e[3] == 0 && e[7] == 0 && e[11] == 0;
    const bool rest = e[2] == 0 && e[6] == 0 && e[8] == 0 && e[9] == 0 && e[10] == 1 && e[12] == 0 && e[13] == 0 &&
                      e[14] == 0 && e[15] == 1;
    if (!rest) {
        return "M";
    }
    if (linearIdentity && noTranslation) {
        return "I";
    }
    if (linearIdentity && e[11] == 0) {
        return "T(" + Number(e[3]) + "," + Number(e[7]) + ")";
    }
    if (noTranslation && e[1] == 0 && e[4] == 0) {
        return "S(" + Number(e[0]) + "," + Number(e[5]) + ")";
    }
    return "M";
}

/// Colour names for the brush colours the tree sets.
inline std::string ColorName(const Color4<float>& c)
{
    if (c == Color4<float>(1, 0, 0, 1)) {
        return "red";
    }
    if (c == Color4<float>(1, 0.7f, 0, 1)) {
        return "orange";
    }
    if (c == Color4<float>(0.5f, 0.5f, 0.5f, 1)) {
        return "grey";
    }
    return "(" + Number(c.r) + "," + Number(c.g) + "," + Number(c.b) + "," + Number(c.a) + ")";
}

/// Forwards everything to the real canvas on a recording device and keeps a trace.
class TracingCanvas : public canvas::CCanvas
{
public:
    explicit TracingCanvas(boost::shared_ptr<RecordingCanvasDevice> recorder)
        : canvas::CCanvas(recorder), device(recorder)
    {
        SetShaderPair(boost::shared_ptr<CShaderPair>(new CShaderPair()));
        ResetClipRect();
    }

    void PushMatrix() override
    {
        Trace("push matrix");
        CCanvas::PushMatrix();
    }
    void PopMatrix() override
    {
        Trace("pop matrix");
        CCanvas::PopMatrix();
    }
    void MultiplyMatrix(const Matrix4& m) override
    {
        Trace("multiply " + Describe(m));
        CCanvas::MultiplyMatrix(m);
    }
    void PushBrush() override
    {
        Trace("push brush");
        CCanvas::PushBrush();
    }
    void PopBrush() override
    {
        Trace("pop brush");
        CCanvas::PopBrush();
    }
    void PushClipRect() override
    {
        Trace("push clip");
        CCanvas::PushClipRect();
    }
    void PopClipRect() override
    {
        Trace("pop clip");
        CCanvas::PopClipRect();
    }
    void IntersectClipRect(const canvas::Rect2f& r) override
    {
        Trace("intersect " + Rect(r));
        CCanvas::IntersectClipRect(r);
    }
    void SetClipOrigin(const Vector2<float>& p) override
    {
        Trace("origin (" + Number(p.x) + "," + Number(p.y) + ")");
        CCanvas::SetClipOrigin(p);
    }
    void FillRect(const canvas::Rect2f& r) override
    {
        Trace("fill " + Rect(r) + " " + ColorName(GetBrush().GetColor()));
        CCanvas::FillRect(r);
    }
    void DrawRect(const canvas::Rect2f& r) override
    {
        Trace("frame " + Rect(r) + " " + ColorName(GetBrush().GetColor()));
        CCanvas::DrawRect(r);
    }

    /// The trace entries that begin with one of the prefixes.
    std::vector<std::string> Only(std::initializer_list<const char*> prefixes) const
    {
        std::vector<std::string> out;
        for (const std::string& entry : trace) {
            for (const char* prefix : prefixes) {
                if (entry.rfind(prefix, 0) == 0) {
                    out.push_back(entry);
                    break;
                }
            }
        }
        return out;
    }

    std::vector<std::string> trace;
    boost::shared_ptr<RecordingCanvasDevice> device;

private:
    void Trace(const std::string& entry) { trace.push_back(entry); }
};

/// Fills the control's rectangle with the control's colour.
class FillAppearance : public mwt::TControlAppearance<mwt::CControl>
{
public:
    void Draw(mwt::CControl* control, canvas::CCanvas* canvas) override
    {
        const Vector2<float> size = control->GetSize();
        canvas->GetBrush().SetColor(control->GetColor());
        canvas->FillRect(canvas::Rect2f(0, 0, size.x, size.y));
    }
};

/// A client rectangle inset by (4, 12) with a 4-unit right and bottom margin; draws nothing.
class InsetAppearance : public mwt::TControlAppearance<mwt::CControl>
{
public:
    void GetClientRect(canvas::Rect2f& out, mwt::CControl* control) override
    {
        const Vector2<float> size = CastControl(control)->GetSize();
        out = canvas::Rect2f(4, 12, size.x - 8, size.y - 16);
    }
};

} // namespace korvane::test
