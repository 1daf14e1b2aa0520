/** @file DirectXError.h The engine's one way of logging a failed platform result. */
#pragma once

#include "os/gfx/Types.h"

namespace korvane
{

/// Logs "DirectX Error: <name>(0x<code>): <description>" as an error line with the source position.
void ReportDirectXError(os::gfx::Result result, const char* sourceFile, int line);

} // namespace korvane
