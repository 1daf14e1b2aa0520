/** @file ResultText.h Symbolic names and descriptions of the platform result codes the layer returns. */
#pragma once

#include <cstdint>

namespace os::system
{

/// The symbolic name of a result code ("D3DERR_DEVICELOST", "DSERR_BUFFERLOST", ...); "Unknown"
/// for codes the layer never returns. One table serves graphics, sound and input.
const char* GetResultName(std::int32_t result);
/// A one-sentence description of a result code; "n/a" for unknown codes.
const char* GetResultDescription(std::int32_t result);

} // namespace os::system
