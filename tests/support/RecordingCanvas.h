/** @file RecordingCanvas.h A canvas ready to draw headless: the recording device, a shader pair, an unbounded clip and
 * fixed-metric fonts "default" and "smaller" in a fresh font registry. */
#pragma once

#include <string>

#include <boost/shared_ptr.hpp>

#include "KorvaneXDK/canvas/Canvas.h"
#include "KorvaneXDK/canvas/FontStock.h"
#include "KorvaneXDK/platform/graphics/ShaderPair.h"
#include "support/FakeFont.h"
#include "support/RecordingCanvasDevice.h"

namespace korvane::test
{

/// For tests of controls and appearances: draw through `canvas`, then read `device->draws` (or
/// rasterise them) and `font->calls`. The font registry is emptied on construction and again on
/// destruction, so one of these lives at a time. Call device->Clear() to forget set-up calls.
struct RecordingCanvas
{
    RecordingCanvas()
        : device(new RecordingCanvasDevice()), canvas(new canvas::CCanvas(device)), font(new FakeFont(device.get())),
          smallFont(new FakeFont(device.get(), 6, 12))
    {
        canvas->SetShaderPair(boost::shared_ptr<CShaderPair>(new CShaderPair()));
        canvas->ResetClipRect();
        canvas::CFontStock::ReleaseInstance();
        boost::shared_ptr<canvas::CFontStock> stock = canvas::CFontStock::GetInstance();
        stock->SetFontFactory([this](IDataLoader*, const std::string& path) -> boost::shared_ptr<IFont> {
            return path == "smaller" ? smallFont : font;
        });
        stock->LoadFont(nullptr, "default", "default");
        stock->LoadFont(nullptr, "smaller", "smaller");
        device->Clear();
    }
    ~RecordingCanvas() { canvas::CFontStock::ReleaseInstance(); }
    RecordingCanvas(const RecordingCanvas&) = delete;
    RecordingCanvas& operator=(const RecordingCanvas&) = delete;

    boost::shared_ptr<RecordingCanvasDevice> device;
    boost::shared_ptr<canvas::CCanvas> canvas;
    /// 8 pixels a byte, 16 high.
    boost::shared_ptr<FakeFont> font;
    /// 6 pixels a byte, 12 high.
    boost::shared_ptr<FakeFont> smallFont;
};

} // namespace korvane::test
