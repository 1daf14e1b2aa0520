/** @file FakeFont.cpp The recording font. */
#include "support/FakeFont.h"

#include "support/RecordingCanvasDevice.h"

namespace korvane::test
{

void FakeFont::DrawText(const std::string& text, std::int32_t x, std::int32_t y, PackedColor color)
{
    Record({false, text, x, y, {}, color});
}

void FakeFont::DrawTextClipped(std::int32_t x, std::int32_t y, const os::gfx::Rect& rect, const std::string& text,
                               PackedColor color)
{
    Record({true, text, x, y, rect, color});
}

void FakeFont::Record(const Call& call)
{
    if (device_ != nullptr) {
        device_->Append({.kind = CanvasCall::Kind::Text, .index = calls.size()});
    }
    calls.push_back(call);
}

} // namespace korvane::test
