/** @file FakeFont.h A font of fixed metrics that records what it is asked to draw. */
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "KorvaneXDK/platform/graphics/FontInterface.h"

namespace korvane::test
{

class RecordingCanvasDevice;

/// Every byte of a text advances `advance` pixels; every text is `height` high. Draw calls are
/// kept in `calls` and, when a recording device is given, also appended to its call list.
class FakeFont : public IFont
{
public:
    struct Call
    {
        bool clipped = false;
        std::string text;
        std::int32_t x = 0;
        std::int32_t y = 0;
        os::gfx::Rect rect; ///< DrawTextClipped only
        std::uint32_t color = 0;
    };

    explicit FakeFont(RecordingCanvasDevice* device = nullptr, std::int32_t advance = 8, std::int32_t height = 16,
                      std::int32_t pixelScale = 1)
        : device_(device), advance_(advance), height_(height), pixelScale_(pixelScale)
    {}

    void DrawText(const std::string& text, std::int32_t x, std::int32_t y, PackedColor color) override;
    void DrawTextClipped(std::int32_t x, std::int32_t y, const os::gfx::Rect& rect, const std::string& text,
                         PackedColor color) override;
    void MeasureText(const std::string& text, std::int32_t& width, std::int32_t& height) override
    {
        width = static_cast<std::int32_t>(text.size()) * advance_;
        height = height_;
    }
    std::int32_t GetLineHeight(const std::string&) override { return height_; }
    std::int32_t GetPixelScale() override { return pixelScale_; }

    /// Where the factory of a registry test got it from.
    std::string path;
    std::vector<Call> calls;

private:
    void Record(const Call& call);

    RecordingCanvasDevice* device_;
    std::int32_t advance_;
    std::int32_t height_;
    std::int32_t pixelScale_;
};

} // namespace korvane::test
