/** @file AtomicFile.h Whole-file writes that never leave a torn file behind. */
#pragma once

#include <cstddef>
#include <string>

namespace os::system
{

/// Writes the bytes to a temporary file in the target's folder, flushes it to disk and
/// renames it over the target, so readers see either the old file or the whole new one.
/// On failure the temporary file is removed, the target is untouched, the calling thread's
/// last error holds the cause and false is returned.
bool WriteFileAtomically(const std::string& path, const void* data, std::size_t size);

} // namespace os::system
