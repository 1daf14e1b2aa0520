/** @file SkinImages.cpp Drawing the skin: rounded panels, glyphs, a knob ring and the pointer. */
#include "tools/skingen/SkinImages.h"

#include <algorithm>
#include <cmath>

namespace skingen
{

using assetgen::Color;
using assetgen::Mask;
using assetgen::Point;
using assetgen::Raster;

namespace
{

Color Rgb(int hex, float alpha = 1.0f)
{
    return {static_cast<float>((hex >> 16) & 0xFF) / 255.0f, static_cast<float>((hex >> 8) & 0xFF) / 255.0f,
            static_cast<float>(hex & 0xFF) / 255.0f, alpha};
}

/// Signed distance from (x, y) to the rounded rectangle {left, top, right, bottom} (negative inside).
double RoundedBoxDistance(double x, double y, double left, double top, double right, double bottom, double radius)
{
    const double cx = (left + right) * 0.5;
    const double cy = (top + bottom) * 0.5;
    const double hx = (right - left) * 0.5 - radius;
    const double hy = (bottom - top) * 0.5 - radius;
    const double qx = std::abs(x - cx) - hx;
    const double qy = std::abs(y - cy) - hy;
    const double outside = std::hypot(std::max(qx, 0.0), std::max(qy, 0.0));
    return outside + std::min(std::max(qx, qy), 0.0) - radius;
}

double Coverage(double distance)
{
    return std::clamp(0.5 - distance, 0.0, 1.0);
}

/// A rounded panel over a region of the picture: a vertical gradient from `top` to `bottom`
/// inside a `border`-wide rim of `rim` colour.
struct Panel
{
    Color top;
    Color bottom;
    Color rim;
    double radius = 4.0;
    double border = 1.0;
};

void DrawPanel(Raster& picture, double left, double top, double right, double bottom, const Panel& panel)
{
    for (int y = 0; y < picture.Height(); ++y) {
        for (int x = 0; x < picture.Width(); ++x) {
            const double px = x + 0.5;
            const double py = y + 0.5;
            const double d = RoundedBoxDistance(px, py, left, top, right, bottom, panel.radius);
            const double outer = Coverage(d);
            if (outer <= 0.0) {
                continue;
            }
            const double t = std::clamp((py - top) / std::max(bottom - top, 1.0), 0.0, 1.0);
            const Color body = assetgen::Mix(panel.top, panel.bottom, t);
            // Past the rim's inner edge the body shows.
            const double bodyAmount = Coverage(d + panel.border);
            const Color c = assetgen::Mix(panel.rim, body, bodyAmount);
            picture.Blend(x, y, c, static_cast<float>(outer));
        }
    }
}

void WholePanel(Raster& picture, const Panel& panel)
{
    DrawPanel(picture, 0.0, 0.0, picture.Width(), picture.Height(), panel);
}

void PaintStrokes(Raster& picture, const std::vector<std::vector<Point>>& lines, double width, Color color)
{
    Mask mask(picture.Width(), picture.Height());
    for (const auto& line : lines) {
        mask.Polyline(line, width);
    }
    picture.Paint(mask, color);
}

const Panel kFrame{Rgb(0x2A3550, 0.92f), Rgb(0x141A2A, 0.92f), Rgb(0x9FB4DA), 6.0, 2.0};
const Panel kButton{Rgb(0x5A6E96), Rgb(0x2E3B5C), Rgb(0xC8D6F0), 6.0, 1.5};
const Panel kButtonDown{Rgb(0x24304C), Rgb(0x3E5078), Rgb(0xFFD27A), 6.0, 1.5};
const Panel kField{Rgb(0x101626, 0.85f), Rgb(0x1A2338, 0.85f), Rgb(0x7C90B8), 3.0, 1.0};
const Color kGlyph = Rgb(0xE8EEFA);
const Color kAccent = Rgb(0xFFC04A);

void Form(Raster& p)
{
    WholePanel(p, kFrame);
    // The caption band. The form's name is centred in the height of the definition's CaptionRect
    // {8, 4, 112, 24} but measured from the form's top, and the caption boxes start 2 above the
    // rectangle: the band lies where both are drawn.
    DrawPanel(p, 4.0, 2.0, 124.0, 22.0, Panel{Rgb(0x4C6494), Rgb(0x33456C), Rgb(0x33456C, 0.0f), 4.0, 0.0});
}

/// Two by two cells: roll-up, maximise; close, spare. Each cell is a box of the caption.
void FormButtons(Raster& p)
{
    const double s = p.Width() / 2.0;
    for (int cell = 0; cell < 4; ++cell) {
        const double x = (cell % 2) * s;
        const double y = (cell / 2) * s;
        DrawPanel(p, x + 0.5, y + 0.5, x + s - 0.5, y + s - 0.5,
                  Panel{kButton.top, kButton.bottom, kButton.rim, 3.0, 1.0});
    }
    // Glyphs inset by a quarter of the cell: a bar (roll-up), a frame (maximise), a cross (close).
    const double a = s / 4.0;
    const double b = s - s / 4.0;
    PaintStrokes(p, {{{a, b - 1.0}, {b, b - 1.0}}}, 2.0, kGlyph);
    PaintStrokes(p, {{{s + a, a}, {s + b, a}, {s + b, b}, {s + a, b}, {s + a, a}}}, 1.5, kGlyph);
    PaintStrokes(p, {{{a, s + a}, {b, s + b}}, {{b, s + a}, {a, s + b}}}, 2.0, kGlyph);
}

void Border(Raster& p)
{
    WholePanel(p, kField);
}
void Button(Raster& p)
{
    WholePanel(p, kButton);
}
void ButtonDown(Raster& p)
{
    WholePanel(p, kButtonDown);
}

void KnobBack(Raster& p)
{
    const double c = p.Width() / 2.0;
    Mask disc(p.Width(), p.Height());
    disc.Disc({c, c}, c - 1.0);
    p.Paint(disc, Rgb(0x1A2236));
    Mask rim(p.Width(), p.Height());
    rim.Ring({c, c}, c - 2.0, 2.0);
    p.Paint(rim, Rgb(0x7C90B8));
}

/// The lit ring the knob reveals up to its value.
void Knob(Raster& p)
{
    const double c = p.Width() / 2.0;
    Mask ring(p.Width(), p.Height());
    ring.Ring({c, c}, c - 8.0, 8.0);
    p.Paint(ring, [c](double x, double y) {
        const double t = (std::atan2(y - c, x - c) + 3.14159265358979) / 6.28318530717959;
        return assetgen::Mix(Rgb(0x4AA8FF), kAccent, t);
    });
}

void Check(Raster& p, bool checked, bool round)
{
    const double s = p.Width();
    if (round) {
        Mask disc(p.Width(), p.Height());
        disc.Disc({s / 2, s / 2}, s / 2 - 3);
        p.Paint(disc, Rgb(0x101626, 0.9f));
        Mask rim(p.Width(), p.Height());
        rim.Ring({s / 2, s / 2}, s / 2 - 3, 2.0);
        p.Paint(rim, Rgb(0x9FB4DA));
        if (checked) {
            Mask dot(p.Width(), p.Height());
            dot.Disc({s / 2, s / 2}, s / 2 - 10);
            p.Paint(dot, kAccent);
        }
        return;
    }
    DrawPanel(p, 3, 3, s - 3, s - 3, kField);
    if (checked) {
        PaintStrokes(p, {{{9, 16}, {14, 22}, {24, 9}}}, 3.5, kAccent);
    }
}

void Track(Raster& p)
{
    WholePanel(p, Panel{Rgb(0x0C101C), Rgb(0x202A40), Rgb(0x7C90B8), 3.0, 1.0});
}

void TrackButton(Raster& p, bool down)
{
    WholePanel(p, down ? kButtonDown : kButton);
    PaintStrokes(p, {{{8, 10}, {8, 22}}}, 2.0, down ? kAccent : kGlyph);
}

void Progress(Raster& p)
{
    WholePanel(p, kField);
}

void ProgressDown(Raster& p)
{
    WholePanel(p, Panel{Rgb(0x8CD0FF), Rgb(0x2A78C8), Rgb(0xD8F0FF), 3.0, 1.0});
}

/// A pointer aimed to the right, its tip on (55, 31).
void Cursor(Raster& p)
{
    const std::vector<Point> arrow{{55.5, 31.5}, {22, 12}, {30, 28}, {8, 28}, {8, 35}, {30, 35}, {22, 51}};
    Mask shadow(p.Width(), p.Height());
    std::vector<Point> moved;
    for (const Point& point : arrow) {
        moved.push_back({point.x + 2, point.y + 2});
    }
    shadow.FillPolygon(moved);
    p.Paint(shadow, Rgb(0x000000, 0.45f));
    Mask body(p.Width(), p.Height());
    body.FillPolygon(arrow);
    p.Paint(body, kAccent);
    std::vector<Point> outline = arrow;
    outline.push_back(arrow.front());
    PaintStrokes(p, {outline}, 1.5, Rgb(0x3A2400));
    // The tip pixel itself stays fully covered whatever the anti-aliasing of the outline.
    p.At(55, 31) = Rgb(0x3A2400);
}

} // namespace

std::vector<SkinImage> SkinImages()
{
    return {
        {"form.png", 128, 128, Form},
        {"formbuttons.png", 32, 32, FormButtons},
        {"border.png", 32, 32, Border},
        {"button.png", 64, 64, Button},
        {"button_down.png", 64, 64, ButtonDown},
        {"scrollbar.png", 16, 16, Button},
        {"scrollbar_down.png", 16, 16, ButtonDown},
        {"knob.png", 64, 64, Knob},
        {"knob_back.png", 64, 64, KnobBack},
        {"combo.png", 32, 32, Border},
        {"combo_button.png", 32, 32, Button},
        {"combo_button_down.png", 32, 32, ButtonDown},
        {"check_on.png", 32, 32, [](Raster& p) { Check(p, true, false); }},
        {"check_off.png", 32, 32, [](Raster& p) { Check(p, false, false); }},
        {"radio_on.png", 32, 32, [](Raster& p) { Check(p, true, true); }},
        {"radio_off.png", 32, 32, [](Raster& p) { Check(p, false, true); }},
        {"track.png", 32, 8, Track},
        {"trackbutton.png", 16, 32, [](Raster& p) { TrackButton(p, false); }},
        {"trackbutton_down.png", 16, 32, [](Raster& p) { TrackButton(p, true); }},
        {"progress.png", 64, 16, Progress},
        {"progress_down.png", 64, 16, ProgressDown},
        {"Cursor1.png", 64, 64, Cursor},
    };
}

} // namespace skingen
