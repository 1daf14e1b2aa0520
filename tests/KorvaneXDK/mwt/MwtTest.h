/** @file MwtTest.h What the widget toolkit's tests share: the headers, an event log every control can write to,
 * controls made with their bounds, canvases on the recording device that write down what is drawn, and appearances
 * loaded from definition lines. */
#pragma once

#include <algorithm>
#include <cmath>
#include <limits>
#include <optional>

#include <boost/make_shared.hpp>
#include <gmock/gmock.h>

#include "KorvaneXDK/canvas/CanvasMath.h"
#include "KorvaneXDK/mwt/AnimationComponentStock.h"
#include "KorvaneXDK/mwt/CheckBox.h"
#include "KorvaneXDK/mwt/ComboBox.h"
#include "KorvaneXDK/mwt/ControlAppearanceStock.h"
#include "KorvaneXDK/mwt/DefaultFactories.h"
#include "KorvaneXDK/mwt/Edit.h"
#include "KorvaneXDK/mwt/Form.h"
#include "KorvaneXDK/mwt/HorizontalSelector.h"
#include "KorvaneXDK/mwt/Image.h"
#include "KorvaneXDK/mwt/Label.h"
#include "KorvaneXDK/mwt/ListBox.h"
#include "KorvaneXDK/mwt/Pager.h"
#include "KorvaneXDK/mwt/Panel.h"
#include "KorvaneXDK/mwt/ProgressBar.h"
#include "KorvaneXDK/mwt/RadioButton.h"
#include "KorvaneXDK/mwt/Screen.h"
#include "KorvaneXDK/mwt/SimpleKnobAppearance.h"
#include "KorvaneXDK/mwt/SkinButtonAppearance.h"
#include "KorvaneXDK/mwt/SkinScrollBarAppearance.h"
#include "KorvaneXDK/mwt/TrackBar.h"
#include "KorvaneXDK/mwt/TransparentAppearance.h"
#include "support/ExpectThrow.h"
#include "support/FakeTexture.h"
#include "support/RecordingCanvas.h"
#include "support/TempDir.h"

namespace korvane::test
{

using Log = std::vector<std::string>;

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

inline std::string Point(const Vector2<float>& p)
{
    return "(" + Number(p.x) + "," + Number(p.y) + ")";
}

inline std::string Colour(const Color4<float>& c)
{
    return "(" + Number(c.r) + "," + Number(c.g) + "," + Number(c.b) + "," + Number(c.a) + ")";
}

/// The font's calls as "'text' (x,y) AARRGGBB".
inline std::vector<std::string> Calls(const FakeFont& font)
{
    std::vector<std::string> out;
    for (const auto& c : font.calls) {
        char colour[16];
        std::snprintf(colour, sizeof colour, "%08X", c.color);
        out.push_back("'" + c.text + "' (" + std::to_string(c.x) + "," + std::to_string(c.y) + ") " + colour);
    }
    return out;
}

/// Every event of the control appends "<name> <event>[ <point>]" to the log.
inline void Wire(mwt::CControl& control, Log& log)
{
    const std::string name = control.GetName();
    auto at = [&log, name](const char* what) {
        return [&log, name, what](mwt::CControl*, Vector2<float> p, int) { log.push_back(name + what + Point(p)); };
    };
    control.ClickEvent = [&log, name](mwt::CControl*) { log.push_back(name + " click"); };
    control.MouseDownEvent = at(" down ");
    control.MouseMoveEvent = at(" move ");
    control.MouseUpEvent = at(" up ");
    control.KeyDownEvent = [&log, name](mwt::CControl*, unsigned int) { log.push_back(name + " key"); };
    control.GotFocusEvent = [&log, name](mwt::CControl*) { log.push_back(name + " got"); };
    control.LostFocusEvent = [&log, name](mwt::CControl*) { log.push_back(name + " lost"); };
    control.UpdateEvent = [&log, name](mwt::CComponent*, float) { log.push_back(name + " update"); };
    if (auto* container = dynamic_cast<mwt::CContainerControl*>(&control)) {
        container->FocusChangedEvent = [&log, name](mwt::CControl* c) {
            log.push_back(name + " focus-changed " + c->GetName());
        };
    }
}

/// Wires every control to the log.
template <typename... T>
void WireAll(Log& log, T&... controls)
{
    (Wire(controls, log), ...);
}

/// A press and a release of the left button at the point.
inline void Click(mwt::CControl& control, const Vector2<float>& p)
{
    control.OnMouseDown(p, 1);
    control.OnMouseUp(p, 1);
}

constexpr bool kInitialized = true;

/// A control of class T with the given bounds, not yet added anywhere; initialised when asked.
template <typename T = mwt::CControl>
boost::shared_ptr<T> Make(const std::string& name, float x, float y, float w, float h, bool initialized = false)
{
    auto control = boost::make_shared<T>(name);
    control->SetLocation(Vector2<float>(x, y));
    control->ApplySize(Vector2<float>(w, h));
    if (initialized) {
        control->Initialize();
    }
    return control;
}

/// Adds a control of class T to the container and returns it.
template <typename T = mwt::CControl>
boost::shared_ptr<T> Add(mwt::CContainerControl& parent, const std::string& name, float x, float y, float w, float h)
{
    auto control = Make<T>(name, x, y, w, h);
    parent.AddControl(control);
    return control;
}

/// An initialised panel "root" at the origin.
inline boost::shared_ptr<mwt::CPanel> MakeRoot(float w = 200, float h = 200)
{
    return Make<mwt::CPanel>("root", 0, 0, w, h, kInitialized);
}

/// Logs "<name> init" and "<name> update"; completion is set by the test.
class FakeAnimation : public mwt::CAnimationComponent
{
public:
    FakeAnimation(const std::string& name, Log& log) : mwt::CAnimationComponent(name), log_(log) {}

    void Initialize() override { log_.push_back(GetName() + " init"); }
    void Update(float) override { log_.push_back(GetName() + " update"); }
    bool IsFinished() const override { return completed; }
    bool IsCompleted() const override { return completed; }

    bool completed = false;

private:
    Log& log_;
};

/// "I", "T(x,y)", "S(x,y)" or "M" for anything else.
inline std::string Describe(const Matrix4& m)
{
    const auto is = [&m](const Matrix4& other) { return std::equal(m.m, m.m + 16, other.m); };
    const std::string t = "(" + Number(m.m[3]) + "," + Number(m.m[7]) + ")";
    const std::string s = "(" + Number(m.m[0]) + "," + Number(m.m[5]) + ")";
    return is(canvas::MakeTranslation(0, 0))             ? "I"
           : is(canvas::MakeTranslation(m.m[3], m.m[7])) ? "T" + t
           : is(canvas::MakeScaling(m.m[0], m.m[5]))     ? "S" + s
                                                         : "M";
}

/// Forwards everything to the real canvas on a recording device and writes down the stack, clip, fill and frame
/// calls (fills and frames in the brush's colour).
class TracingCanvas : public canvas::CCanvas
{
public:
    explicit TracingCanvas(
        boost::shared_ptr<RecordingCanvasDevice> recorder = boost::make_shared<RecordingCanvasDevice>())
        : canvas::CCanvas(recorder), device(recorder)
    {
        SetShaderPair(boost::shared_ptr<CShaderPair>(new CShaderPair()));
        ResetClipRect();
    }

    void PushMatrix() override { Trace("push matrix"), CCanvas::PushMatrix(); }
    void PopMatrix() override { Trace("pop matrix"), CCanvas::PopMatrix(); }
    void MultiplyMatrix(const Matrix4& m) override { Trace("multiply " + Describe(m)), CCanvas::MultiplyMatrix(m); }
    void PushBrush() override { Trace("push brush"), CCanvas::PushBrush(); }
    void PopBrush() override { Trace("pop brush"), CCanvas::PopBrush(); }
    void PushClipRect() override { Trace("push clip"), CCanvas::PushClipRect(); }
    void PopClipRect() override { Trace("pop clip"), CCanvas::PopClipRect(); }
    void IntersectClipRect(const canvas::Rect2f& r) override
    {
        Trace("intersect " + Rect(r)), CCanvas::IntersectClipRect(r);
    }
    void SetClipOrigin(const Vector2<float>& p) override { Trace("origin " + Point(p)), CCanvas::SetClipOrigin(p); }
    void FillRect(const canvas::Rect2f& r) override { Trace("fill " + Rect(r) + " " + Brush()), CCanvas::FillRect(r); }
    void DrawRect(const canvas::Rect2f& r) override { Trace("frame " + Rect(r) + " " + Brush()), CCanvas::DrawRect(r); }

    /// The trace entries that begin with one of the prefixes.
    std::vector<std::string> Only(std::initializer_list<const char*> prefixes) const
    {
        std::vector<std::string> out;
        std::copy_if(trace.begin(), trace.end(), std::back_inserter(out), [&](const std::string& entry) {
            return std::any_of(prefixes.begin(), prefixes.end(), [&](const char* p) { return entry.rfind(p, 0) == 0; });
        });
        return out;
    }

    std::vector<std::string> trace;
    boost::shared_ptr<RecordingCanvasDevice> device;

protected:
    void Trace(const std::string& entry) { trace.push_back(entry); }
    virtual std::string Brush() { return Colour(GetBrush().GetColor()); }
};

/// Writes down fills and frames as "fill R C bN", and "skin R <texture> C", "image (x,y) C bN", "scaled R <texture>
/// C bN", "part R from S C bN", "sector A..B C bN" (in hundredths of a degree), "text (x,y) 'T' C" and "clipped R 'T'
/// C", where C is the colour drawn (the product of the brushes) and N the blend mode. Images the canvas draws through
/// its part call show once.
class LogCanvas : public TracingCanvas
{
public:
    void DrawSkin(const canvas::Rect2f& dest, const canvas::Rect2f& body, ITexture* texture) override
    {
        Trace("skin " + Rect(dest) + " " + names[texture] + " " + Drawn()), CCanvas::DrawSkin(dest, body, texture);
    }
    void DrawImageAt(const Vector2<float>& p, ITexture* texture) override
    {
        Trace("image " + Point(p) + " " + Brush());
        inner_ = true;
        CCanvas::DrawImageAt(p, texture);
        inner_ = false;
    }
    void DrawImageScaled(const canvas::Rect2f& dest, ITexture* texture) override
    {
        Trace("scaled " + Rect(dest) + " " + names[texture] + " " + Brush());
        inner_ = true;
        CCanvas::DrawImageScaled(dest, texture);
        inner_ = false;
    }
    void DrawImage(const canvas::Rect2f& dest, const canvas::Rect2f& src, ITexture* texture) override
    {
        if (!inner_) {
            Trace("part " + Rect(dest) + " from " + Rect(src) + " " + Brush());
        }
        CCanvas::DrawImage(dest, src, texture);
    }
    void DrawImageSector(const Vector2<float>& p, float a, float b, ITexture* texture) override
    {
        Trace("sector " + Degrees(a) + ".." + Degrees(b) + " " + Brush());
        CCanvas::DrawImageSector(p, a, b, texture);
    }
    void DrawText(const Vector2<float>& p, const std::string& text) override
    {
        Trace("text " + Point(p) + " '" + text + "' " + Drawn()), CCanvas::DrawText(p, text);
    }
    void DrawTextClipped(const canvas::Rect2f& r, const std::string& text) override
    {
        Trace("clipped " + Rect(r) + " '" + text + "' " + Drawn()), CCanvas::DrawTextClipped(r, text);
    }

    /// How textures are named in the trace.
    std::map<const ITexture*, std::string> names;

protected:
    virtual std::string Drawn() { return Colour(GetEffectiveColor()); }
    std::string Brush() override
    {
        return Colour(GetEffectiveColor()) + " b" + std::to_string(GetBrush().GetBlendMode());
    }

private:
    /// Whole hundredths, so that float rounding does not show.
    static std::string Degrees(float radians)
    {
        return Number(static_cast<float>(std::round(static_cast<double>(radians) * 5729.5779513) / 100.0));
    }

    /// Inside an image call, which draws through the part call (a call that throws leaves it set: traces end there).
    bool inner_ = false;
};

/// An appearance of class T loaded from key=value lines; textures resolve by name through `pictures` (any other
/// name to null).
template <typename T>
boost::shared_ptr<T> LoadSkin(const std::vector<std::string>& lines, const std::map<std::string, ITexture*>& pictures)
{
    mwt::AppearanceProperties properties;
    properties.ParseLines(lines);
    auto skin = boost::make_shared<T>();
    skin->LoadProperties(properties, [pictures](const std::string& name) -> ITexture* {
        const auto found = pictures.find(name);
        return found == pictures.end() ? nullptr : found->second;
    });
    return skin;
}

/// A client rectangle inset by (4, 12) with a 4-unit right and bottom margin; draws nothing.
class InsetAppearance : public mwt::TControlAppearance<mwt::CControl>
{
public:
    void GetClientRect(canvas::Rect2f& out, mwt::CControl* control) override
    {
        out = canvas::Rect2f(4, 12, control->GetSize().x - 8, control->GetSize().y - 16);
    }
};

} // namespace korvane::test

using namespace korvane;
using namespace korvane::mwt;
using namespace korvane::test;
using canvas::Rect2f;
using Lines = std::vector<std::string>;
using V = Vector2<float>;
