/** @file DirectXError.cpp The engine's one way of logging a failed platform result. */
#include "KorvaneXDK/platform/graphics/DirectXError.h"

#include "KorvaneXDK/core/Log.h"
#include "KorvaneXDK/core/StringUtility.h"
#include "os/system/ResultText.h"

namespace korvane
{

void ReportDirectXError(os::gfx::Result result, const char* sourceFile, int line)
{
    LogErrorAt(FormatString("DirectX Error: %s(0x%x): %s", os::system::GetResultName(result),
                            static_cast<unsigned>(result), os::system::GetResultDescription(result)),
               sourceFile, line);
}

bool ReportOnDirectXFailure(os::gfx::Result result, const char* sourceFile, int line)
{
    if (result >= 0)
        return false;
    ReportDirectXError(result, sourceFile, line);
    return true;
}

} // namespace korvane
