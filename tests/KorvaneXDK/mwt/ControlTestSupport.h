/** @file ControlTestSupport.h For the concrete controls' tests: a canvas that logs every drawing call with the colour
 * it is drawn in, fixed-metric fonts, a definition that logs the keys read, and the OpenGL device with a canvas. */
#pragma once

#include <map>
#include <string>
#include <vector>

#include <boost/make_shared.hpp>
#include <boost/shared_ptr.hpp>
#include <gtest/gtest.h>

#include "DrawTestSupport.h"
#include "GLCanvasSupport.h"
#include "KorvaneXDK/canvas/FontStock.h"
#include "KorvaneXDK/core/ArchiveFileDataLoader.h"
#include "KorvaneXDK/core/ArchiveFileLoader.h"
#include "KorvaneXDK/mwt/ControlAppearanceInterface.h"
#include "KorvaneXDK/platform/GameApplicationDriverCX.h"
#include "KorvaneXDK/platform/graphics/DXGraphics.h"
#include "KorvaneXDK/platform/graphics/ShaderEnvironment.h"
#include "os/gfx/Device.h"
#include "os/gfx/Math.h"
#include "os/gfx/ResultCodes.h"
#include "support/FakeFont.h"
#include "support/TempDir.h"
#include "tools/kvatool/Packer.h"

namespace korvane::test
{

/// "default" is 8 units a character and 16 high; the registry is emptied again on destruction.
struct FixedFonts
{
    FixedFonts()
    {
        canvas::CFontStock::ReleaseInstance();
        boost::shared_ptr<canvas::CFontStock> stock = canvas::CFontStock::GetInstance();
        stock->SetFontFactory([this](IDataLoader*, const std::string&) -> boost::shared_ptr<IFont> { return font; });
        stock->LoadFont(nullptr, "default", "default");
    }
    ~FixedFonts() { canvas::CFontStock::ReleaseInstance(); }
    FixedFonts(const FixedFonts&) = delete;
    FixedFonts& operator=(const FixedFonts&) = delete;

    boost::shared_ptr<FakeFont> font = boost::make_shared<FakeFont>();
};

/// Adds to the trace "fill R C bN", "frame R C bN", "skin R <texture> C", "image (x,y) C bN", "text (x,y) 'T' C" and
/// "clipped R 'T' C", where C is the colour drawn (the product of the brushes) and N the blend mode.
class LogCanvas : public TracingCanvas
{
public:
    LogCanvas() : TracingCanvas(boost::make_shared<RecordingCanvasDevice>()) {}

    void FillRect(const canvas::Rect2f& r) override
    {
        trace.push_back("fill " + Rect(r) + " " + Colour() + Blend());
        CCanvas::FillRect(r);
    }
    void DrawRect(const canvas::Rect2f& r) override
    {
        trace.push_back("frame " + Rect(r) + " " + Colour() + Blend());
        CCanvas::DrawRect(r);
    }
    void DrawSkin(const canvas::Rect2f& dest, const canvas::Rect2f& body, ITexture* texture) override
    {
        trace.push_back("skin " + Rect(dest) + " " + names[texture] + " " + Colour());
        CCanvas::DrawSkin(dest, body, texture);
    }
    void DrawImageAt(const Vector2<float>& p, ITexture* texture) override
    {
        trace.push_back("image (" + Number(p.x) + "," + Number(p.y) + ") " + Colour() + Blend());
        CCanvas::DrawImageAt(p, texture);
    }
    void DrawText(const Vector2<float>& p, const std::string& text) override
    {
        trace.push_back("text (" + Number(p.x) + "," + Number(p.y) + ") '" + text + "' " + Colour());
        CCanvas::DrawText(p, text);
    }
    void DrawTextClipped(const canvas::Rect2f& r, const std::string& text) override
    {
        trace.push_back("clipped " + Rect(r) + " '" + text + "' " + Colour());
        CCanvas::DrawTextClipped(r, text);
    }

    /// How textures are named in the trace.
    std::map<const ITexture*, std::string> names;

private:
    std::string Colour() const
    {
        const Color4<float> c = GetEffectiveColor();
        return "(" + Number(c.r) + "," + Number(c.g) + "," + Number(c.b) + "," + Number(c.a) + ")";
    }
    std::string Blend() { return " b" + std::to_string(GetBrush().GetBlendMode()); }
};

/// A definition that writes down each key read with its default, as "key|default".
class KeyLog : public mwt::AppearanceProperties
{
public:
    explicit KeyLog(const std::vector<std::string>& lines) { ParseLines(lines); }

    std::string Get(const std::string& key, const std::string& defaultValue) const override
    {
        asked.push_back(key + "|" + defaultValue);
        return mwt::AppearanceProperties::Get(key, defaultValue);
    }

    mutable std::vector<std::string> asked;
};

/// The driver with a kWidth x kHeight device, the program's canvas shaders from an archive packed by the
/// project's tool, fixed-metric fonts, and a canvas drawing in screen pixels onto a black target.
template <int kWidth, int kHeight>
class ControlGLTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        test::WriteCanvasShaders(dir);
        kvatool::PackOptions options;
        kvatool::PackFolder(dir.File("src"), dir.File("data.kva"), options);

        CShaderEnvironment* environment = nullptr;
        ASSERT_NO_FATAL_FAILURE(
            test::StartGLDriver(kWidth, kHeight, dir.File("data.kva"), driver, device, environment));
        glCanvas.reset(new canvas::CCanvas());
        pair = environment->GetShaderPair("shader\\canvas");
        glCanvas->SetShaderPair(pair);
        Clear();
        glCanvas->BeginDraw();
        pair->Begin();
        glCanvas->ResetClipRect();
    }

    void TearDown() override
    {
        glCanvas.reset();
        DestroyApplicationDriver();
    }

    void Clear()
    {
        ASSERT_EQ(os::gfx::kOk,
                  device->Clear(0, nullptr, os::gfx::clear::Target | os::gfx::clear::ZBuffer, 0xFF000000u, 1.0f, 0));
    }

    /// Reads the target back and reports the first few pixels whose colour differs from `expected` (RGB; the
    /// target's alpha is blended too and shows nowhere).
    template <typename Expected>
    void ExpectPixels(const Expected& expected)
    {
        ExpectBackBuffer(device, kWidth, kHeight, expected, 0xFFFFFFu);
    }

    FixedFonts fonts;
    TempDir dir;
    CGameApplicationDriverCX* driver = nullptr;
    os::gfx::Device* device = nullptr;
    boost::shared_ptr<CShaderPair> pair;
    boost::shared_ptr<canvas::CCanvas> glCanvas;
};

} // namespace korvane::test
