/** @file Library.h Shared libraries loaded at run time. */
#pragma once

#include <string>

namespace os::system
{

using LibraryHandle = void*;

/// Loads a shared library. A bare file name is looked for beside the program first, then on the
/// system's library search path. Null on failure, with the reason as the thread's last error.
LibraryHandle LoadLibrary(const std::string& name);
/// The address of an export, or null (last error set) when the library has none of that name.
void* GetProcAddress(LibraryHandle library, const std::string& exportName);
/// Unloads a library; null is ignored.
void FreeLibrary(LibraryHandle library);

} // namespace os::system

namespace os::testing
{

/// Loading `name` opens the file at `path` instead; an empty path makes the library missing.
void RedirectLibrary(const std::string& name, const std::string& path);
/// Every library seems to lack the export of this name.
void HideLibraryExport(const std::string& exportName);
/// Clears every redirection and hidden export.
void ResetLibraryHooks();

} // namespace os::testing
