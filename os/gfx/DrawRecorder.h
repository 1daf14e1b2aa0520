/** @file DrawRecorder.h Keeps the last draws for tests while recording is on. */
#pragma once

#include <cstdint>

#include "os/gfx/Types.h"

namespace os::gfx::detail
{

/// Whether draws are being recorded (one relaxed load: the draw path checks it every call).
bool IsRecordingDraws();
/// Records a draw with the programs in use and the 2D texture bound on each unit.
void RecordDraw(PrimitiveType type, std::uint32_t primitiveCount, std::uint32_t vertexCount, std::uint32_t stride,
                bool indexed, std::uint32_t vertexProgram, std::uint32_t pixelProgram);

} // namespace os::gfx::detail
