/** @file CanvasDepthGuard.h Brings the canvas's state stacks back after a failed draw. */
#pragma once

#include <cstddef>
#include <exception>

#include "KorvaneXDK/canvas/Canvas.h"

namespace korvane::mwt
{

/// Brings the canvas's matrix, brush, clip and font stacks back to the depths they had when a
/// control began to draw, when its drawing fails. The window scene logs the failure and goes on
/// with the next frame; pushes left behind would draw every later frame under the failed control's
/// translation, tint, clip and font. A draw that ends normally is left alone: its pops are its own.
class CCanvasDepthGuard
{
public:
    explicit CCanvasDepthGuard(canvas::CCanvas& canvas)
        : canvas_(canvas), exceptions_(std::uncaught_exceptions()), matrices_(canvas.GetMatrixDepth()),
          brushes_(canvas.GetBrushDepth()), clips_(canvas.GetClipDepth() > 1 ? canvas.GetClipDepth() : 1),
          fonts_(canvas.GetFontDepth())
    {}
    CCanvasDepthGuard(const CCanvasDepthGuard&) = delete;
    CCanvasDepthGuard& operator=(const CCanvasDepthGuard&) = delete;

    ~CCanvasDepthGuard()
    {
        if (std::uncaught_exceptions() <= exceptions_) {
            return;
        }
        while (canvas_.GetFontDepth() > fonts_) {
            canvas_.PopFont();
        }
        while (canvas_.GetClipDepth() > clips_) {
            canvas_.PopClipRect();
        }
        while (canvas_.GetBrushDepth() > brushes_) {
            canvas_.PopBrush();
        }
        while (canvas_.GetMatrixDepth() > matrices_) {
            canvas_.PopMatrix();
        }
    }

private:
    canvas::CCanvas& canvas_;
    int exceptions_;
    std::size_t matrices_;
    std::size_t brushes_;
    std::size_t clips_;
    std::size_t fonts_;
};

} // namespace korvane::mwt
