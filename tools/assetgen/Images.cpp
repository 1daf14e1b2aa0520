/** @file Images.cpp Drawing the pictures from shapes, gradients and stroke lettering. */
#include "tools/assetgen/Images.h"

#include <algorithm>
#include <cmath>

#include "tools/assetgen/ImageFiles.h"
#include "tools/assetgen/Random.h"
#include "tools/assetgen/Raster.h"
#include "tools/assetgen/StrokeFont.h"

namespace assetgen
{

namespace
{

constexpr double kPi = 3.14159265358979323846;

Color Rgb(int hex, float alpha = 1.0f)
{
    return {static_cast<float>((hex >> 16) & 0xFF) / 255.0f, static_cast<float>((hex >> 8) & 0xFF) / 255.0f,
            static_cast<float>(hex & 0xFF) / 255.0f, alpha};
}

double Smooth(double edge0, double edge1, double x)
{
    const double t = std::clamp((x - edge0) / (edge1 - edge0), 0.0, 1.0);
    return t * t * (3.0 - 2.0 * t);
}

/// A disc painted through a small mask around it (a whole-picture mask per dot would be slow).
void PaintDisc(Raster& picture, Point centre, double radius, Color color)
{
    const int box = static_cast<int>(std::ceil(radius)) + 2;
    const int left = static_cast<int>(std::floor(centre.x)) - box;
    const int top = static_cast<int>(std::floor(centre.y)) - box;
    Mask dot(2 * box + 1, 2 * box + 1);
    dot.Disc({centre.x - left, centre.y - top}, radius);
    picture.Paint(dot, color, left, top);
}

/// Stars of assorted size and brightness, with a soft halo on the bright ones.
void DrawStars(Raster& picture, std::uint64_t seed, int count, double maxY)
{
    Random random(seed);
    for (int i = 0; i < count; ++i) {
        const double x = random.Unit() * picture.Width();
        const double y = random.Unit() * maxY;
        const double size = 0.4 + std::pow(random.Unit(), 4.0) * 1.8;
        const float brightness = static_cast<float>(0.35 + 0.65 * random.Unit());
        const Color tint = Mix(Rgb(0xBFD4FF), Rgb(0xFFE9C4), random.Unit());
        if (size > 1.4) {
            PaintDisc(picture, {x, y}, size * 3.5, Color{tint.r, tint.g, tint.b, brightness * 0.12f});
        }
        PaintDisc(picture, {x, y}, size, Color{tint.r, tint.g, tint.b, brightness});
    }
}

/// Night sky over the curved rim of a planet, with a band of haze: behind the title menu and
/// the main game.
Raster TitleWallpaper()
{
    Raster picture(1920, 1080);
    const double planetX = 960.0, planetY = 2900.0, planetR = 2050.0;
    picture.Shade([&](double x, double y) {
        const double t = y / 1080.0;
        Color sky = Mix(Rgb(0x03050F), Rgb(0x1B1242), Smooth(0.0, 1.0, t));
        const double haze = std::exp(-std::pow((y - 560.0 - 90.0 * std::sin(x / 400.0)) / 140.0, 2.0));
        sky = Mix(sky, Rgb(0x5A2C7A), 0.35 * haze * (0.6 + 0.4 * std::sin(x / 230.0 + 1.3)));
        const double d = std::hypot(x - planetX, y - planetY) - planetR;
        const double glow = std::exp(-std::abs(d) / 38.0);
        sky = Mix(sky, Rgb(0x7FC8FF), 0.8 * glow);
        if (d < 0) {
            const double depth = Smooth(0.0, 420.0, -d);
            sky = Mix(Rgb(0x2A4F8C), Rgb(0x050A18), depth);
            sky = Mix(sky, Rgb(0x9FE0FF), std::exp(d / 10.0));
        }
        sky.a = 1.0f;
        return sky;
    });
    DrawStars(picture, 0x5EED0001u, 700, 820.0);
    return picture;
}

/// A teal field crossed by a fine triangular grid and a soft light: behind the companion game.
Raster SecondWallpaper()
{
    Raster picture(1920, 1080);
    const double spacing = 64.0;
    const double normals[3][2] = {{0.0, 1.0}, {0.8660254037844386, 0.5}, {-0.8660254037844386, 0.5}};
    picture.Shade([&](double x, double y) {
        const double light = std::exp(-(std::pow((x - 1340.0) / 900.0, 2.0) + std::pow((y - 300.0) / 700.0, 2.0)));
        Color base = Mix(Rgb(0x031A1C), Rgb(0x0E4A4A), light);
        double line = 0.0;
        for (const auto& n : normals) {
            const double s = (x * n[0] + y * n[1]) / spacing;
            const double distance = std::abs(s - std::round(s)) * spacing;
            line = std::max(line, std::clamp(1.2 - distance, 0.0, 1.0));
        }
        const double fade = 0.10 + 0.22 * light;
        base = Mix(base, Rgb(0x6FF2E0), line * fade);
        base.a = 1.0f;
        return base;
    });
    Random random(0x5EED0002u);
    for (int i = 0; i < 90; ++i) {
        // A vertex of the grid: on a horizontal line and on a line of the second family.
        const int row = random.Below(18);
        const int column = random.Below(36);
        const double gy = row * spacing;
        const double gx = (column * spacing - row * spacing * 0.5) / 0.8660254037844386;
        const double radius = 2.0 + random.Unit() * 2.0;
        PaintDisc(picture, {gx, gy}, radius, Rgb(0xB8FFF4, static_cast<float>(0.25 + 0.5 * random.Unit())));
    }
    return picture;
}

/// The maker's mark: a ring holding a chevron, beside the lettering; dark on transparent, for
/// a white splash.
Raster MakerLogo()
{
    Raster picture(439, 200);
    const Color navy = Rgb(0x17275A);
    const Color orange = Rgb(0xF08A1C);

    Mask ring(439, 200);
    ring.Ring({98, 100}, 74, 14);
    picture.Paint(ring, navy);

    Mask chevron(439, 200);
    chevron.FillPolygon({{52, 62}, {80, 62}, {98, 112}, {116, 62}, {144, 62}, {108, 146}, {88, 146}});
    picture.Paint(chevron, [&](double, double y) { return Mix(orange, Rgb(0xD9481B), (y - 62.0) / 84.0); });

    Mask letters(439, 200);
    StrokeFont::Draw(letters, "VUMO", {196, 58}, 66, 13, 1.6, 0.12);
    picture.Paint(letters, navy);

    Mask rule(439, 200);
    rule.Stroke({198, 140}, {428, 140}, 3);
    picture.Paint(rule, orange);

    Mask tagline(439, 200);
    StrokeFont::Draw(tagline, "INTERACTIVE", {200, 150}, 16, 2.6, 1.9);
    picture.Paint(tagline, navy);
    return picture;
}

/// The second logo: a faceted diamond over the lettering.
Raster PublisherLogo()
{
    Raster picture(260, 128);
    const Color ink = Rgb(0x2B2B33);
    const Color red = Rgb(0xB3202E);

    Mask diamond(260, 128);
    diamond.FillPolygon({{130, 4}, {162, 36}, {130, 68}, {98, 36}});
    picture.Paint(diamond, red);
    Mask facets(260, 128);
    facets.Polyline({{98, 36}, {130, 26}, {162, 36}}, 2.0);
    facets.Stroke({130, 26}, {130, 68}, 2.0);
    picture.Paint(facets, Rgb(0xFFFFFF, 0.85f));

    const double width = StrokeFont::Measure("BRANNOC", 34, 1.5);
    Mask letters(260, 128);
    StrokeFont::Draw(letters, "BRANNOC", {(260.0 - width) / 2.0, 82}, 34, 6.5, 1.5);
    picture.Paint(letters, ink);
    return picture;
}

/// White cross-hatching on transparent, behind the menus: two families of anti-aliased
/// diagonals, 8 pixels apart along each axis. It is drawn stretched to its own size, never
/// tiled; it repeats every 8 pixels down its 1080 rows.
Raster CrossHatch()
{
    Raster picture(692, 1080);
    const double period = 8.0;
    const double width = 1.4;
    picture.Shade([&](double x, double y) {
        double cover = 0.0;
        for (const double s : {x + y, x - y}) {
            const double offset = s - period * std::round(s / period);
            const double distance = std::abs(offset) / std::sqrt(2.0);
            cover = std::max(cover, std::clamp(width * 0.5 + 0.5 - distance, 0.0, 1.0));
        }
        return Color{1.0f, 1.0f, 1.0f, static_cast<float>(cover)};
    });
    return picture;
}

/// The rule under a menu caption: a white line with a soft glow, fading out at both ends.
Raster CaptionUnderline()
{
    Raster picture(692, 16);
    picture.Shade([](double x, double y) {
        const double core = std::clamp(2.5 - std::abs(y - 8.0), 0.0, 1.0);
        const double glow = std::exp(-std::pow((y - 8.0) / 3.5, 2.0)) * 0.45;
        const double ends = Smooth(0.0, 90.0, x) * Smooth(0.0, 90.0, 692.0 - x);
        const double accent = x < 160 ? 1.0 : 0.8;
        return Color{1.0f, 1.0f, 1.0f, static_cast<float>(std::max(core * accent, glow) * ends)};
    });
    return picture;
}

/// A circular arrow around a play triangle, marking a row that has a replay.
Raster ReplayIcon()
{
    Raster picture(32, 32);
    Mask arrow(32, 32);
    std::vector<Point> arc;
    for (int i = 0; i <= 40; ++i) {
        const double angle = -kPi / 2.0 + 0.5 + (2.0 * kPi - 1.1) * i / 40.0;
        arc.push_back({16.0 + 12.0 * std::cos(angle), 16.0 + 12.0 * std::sin(angle)});
    }
    arrow.Polyline(arc, 2.8);
    // The head points along the arc's direction at its end.
    const double end = -kPi / 2.0 + 0.5 + (2.0 * kPi - 1.1);
    const Point at = arc.back();
    const Point along{-std::sin(end), std::cos(end)};
    const Point across{std::cos(end), std::sin(end)};
    arrow.FillPolygon({{at.x + along.x * 5.5, at.y + along.y * 5.5},
                       {at.x + across.x * 5.0 - along.x * 1.5, at.y + across.y * 5.0 - along.y * 1.5},
                       {at.x - across.x * 5.0 - along.x * 1.5, at.y - across.y * 5.0 - along.y * 1.5}});
    arrow.FillPolygon({{12.5, 10.0}, {22.5, 16.0}, {12.5, 22.0}});
    picture.Paint(arrow, Rgb(0xE8F6FF));
    return picture;
}

/// A banner for the window and the configuration dialog: the title on a dark band with an
/// orange rule, opaque.
Raster Banner(int width, int height, Color top, Color bottom, double letterHeight)
{
    Raster picture(width, height);
    picture.Shade([&](double, double y) {
        Color c = Mix(top, bottom, y / height);
        c.a = 1.0f;
        return c;
    });
    const std::string title = "VORTHENIX ZAMBRELLIOT";
    const std::string subtitle = "- VESPERANTHOR -";
    const double titleWidth = StrokeFont::Measure(title, letterHeight, 1.6);
    const double x = width - 12.0 - titleWidth;
    const double y = height * 0.22;
    Mask letters(width, height);
    StrokeFont::Draw(letters, title, {x, y}, letterHeight, std::max(1.6, letterHeight / 7.0), 1.6, 0.1);
    picture.Paint(letters, Rgb(0xDCDCDC));

    Mask rule(width, height);
    const double ruleY = y + letterHeight + letterHeight * 0.45;
    rule.Stroke({x, ruleY}, {width - 12.0, ruleY}, 1.5);
    picture.Paint(rule, Rgb(0xF08A1C));

    const double subHeight = letterHeight * 0.55;
    const double subWidth = StrokeFont::Measure(subtitle, subHeight, 1.8);
    Mask sub(width, height);
    StrokeFont::Draw(sub, subtitle, {width - 12.0 - subWidth, ruleY + letterHeight * 0.4}, subHeight,
                     std::max(1.2, subHeight / 7.0), 1.8);
    picture.Paint(sub, Rgb(0xB06A64));
    return picture;
}

} // namespace

void MakeImages(OutputFolder& out)
{
    out.Write("formimage\\wallpaper_title.png", EncodePng(TitleWallpaper(), false));
    out.Write("formimage\\wallpaper02.png", EncodePng(SecondWallpaper(), false));
    out.Write("formimage\\VumoLogo.png", EncodePng(MakerLogo(), true));
    out.Write("formimage\\brannoc_logo.png", EncodePng(PublisherLogo(), true));
    out.Write("formimage\\CrossHatch2x.png", EncodePng(CrossHatch(), true));
    out.Write("formimage\\CaptionUnderline.png", EncodePng(CaptionUnderline(), true));
    out.Write("formimage\\ReplayIcon.png", EncodePng(ReplayIcon(), true));
    out.Write("WindowBanner1.bmp", EncodeBmp24(Banner(320, 80, Rgb(0x202020), Rgb(0x202020), 12.0)));
    out.Write("DialogBanner1.bmp", EncodeBmp24(Banner(400, 72, Rgb(0x18224A), Rgb(0x06070C), 13.0)));
}

} // namespace assetgen
