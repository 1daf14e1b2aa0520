/** @file DrawRecorder.cpp Keeps the last draws for tests while recording is on. */
#include "os/gfx/DrawRecorder.h"

#include <atomic>
#include <deque>
#include <mutex>

#include <epoxy/gl.h>

#include "os/gfx/Testing.h"

namespace os::gfx::detail
{

namespace
{

/// Enough for a frame of glyphs or canvas quads; older draws fall off the front.
constexpr std::size_t kKeptDraws = 4096;

struct Recorder
{
    std::atomic<bool> on{false};
    std::mutex mutex;
    std::deque<os::testing::DrawRecord> draws;
};

Recorder& TheRecorder()
{
    static Recorder recorder;
    return recorder;
}

} // namespace

bool IsRecordingDraws()
{
    return TheRecorder().on.load(std::memory_order_relaxed);
}

void RecordDraw(PrimitiveType type, std::uint32_t primitiveCount, std::uint32_t vertexCount, std::uint32_t stride,
                bool indexed, std::uint32_t vertexProgram, std::uint32_t pixelProgram)
{
    os::testing::DrawRecord record;
    record.type = type;
    record.primitiveCount = primitiveCount;
    record.vertexCount = vertexCount;
    record.stride = stride;
    record.indexed = indexed;
    record.vertexProgram = vertexProgram;
    record.pixelProgram = pixelProgram;
    GLint active = 0;
    glGetIntegerv(GL_ACTIVE_TEXTURE, &active);
    for (std::uint32_t unit = 0; unit < os::testing::DrawRecord::kStages; ++unit) {
        glActiveTexture(GL_TEXTURE0 + unit);
        GLint bound = 0;
        glGetIntegerv(GL_TEXTURE_BINDING_2D, &bound);
        record.textures[unit] = static_cast<std::uint32_t>(bound);
    }
    glActiveTexture(static_cast<GLenum>(active));
    Recorder& recorder = TheRecorder();
    std::lock_guard<std::mutex> lock(recorder.mutex);
    recorder.draws.push_back(record);
    if (recorder.draws.size() > kKeptDraws) {
        recorder.draws.pop_front();
    }
}

} // namespace os::gfx::detail

namespace os::testing
{

void SetDrawRecording(bool on)
{
    os::gfx::detail::TheRecorder().on.store(on);
}

std::vector<DrawRecord> GetRecordedDraws()
{
    auto& recorder = os::gfx::detail::TheRecorder();
    std::lock_guard<std::mutex> lock(recorder.mutex);
    return std::vector<DrawRecord>(recorder.draws.begin(), recorder.draws.end());
}

void ClearRecordedDraws()
{
    auto& recorder = os::gfx::detail::TheRecorder();
    std::lock_guard<std::mutex> lock(recorder.mutex);
    recorder.draws.clear();
}

} // namespace os::testing
