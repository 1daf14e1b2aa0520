/** @file DirectXError.h The engine's one way of logging a failed platform result. */
#pragma once

#include "KorvaneXDK/core/Object.h"
#include "os/gfx/Types.h"

namespace korvane
{

/// Logs "DirectX Error: <name>(0x<code>): <description>" as an error line with the source position.
void ReportDirectXError(os::gfx::Result result, const char* sourceFile, int line);

/// For steps whose failure the caller survives: a failed result is reported as above and true
/// returned, so the caller can give up; a successful result does nothing and returns false.
bool ReportOnDirectXFailure(os::gfx::Result result, const char* sourceFile, int line);

/// For set-up steps that must succeed: a failed result is reported as above, then TException
/// is thrown with the sender and message. A successful result does nothing.
template <typename TException>
void ThrowOnDirectXFailure(os::gfx::Result result, const CObject* sender, const char* message, const char* sourceFile,
                           int line)
{
    if (ReportOnDirectXFailure(result, sourceFile, line))
        throw TException(sender, message);
}

} // namespace korvane
