/** @file RegularFile.h The save folder's files: opened only when they are regular files, never waited on, and
 * set aside when damaged. */
#pragma once

#include <string>

namespace os::system
{

/// Opens the file at `path` with open(2)'s `flags` (O_CLOEXEC is added; `mode` for a file it creates). Only a
/// regular file is taken: a folder, a named pipe, a socket or a device in its place is refused, and the call
/// never waits on one (a named pipe holds a reader until a writer comes, and a writer until a reader does).
/// Returns the descriptor, in blocking mode unless `flags` asked for O_NONBLOCK, or -1 with errno set and `why`
/// holding the reason: the system's text for errno, or what stands there ("Is a directory", "Is a named pipe",
/// "Is a socket", "Is a device"; errno is EISDIR for a folder and EINVAL for the others).
int OpenRegularFile(const std::string& path, int flags, std::string& why, unsigned mode = 0666);

/// Renames a damaged file to "<path>.corrupt" (or "<path>.corrupt<n>" when that exists) so that nothing
/// writes over it; returns the new path, or empty with errno set when it could not be renamed.
std::string SetFileAside(const std::string& path);

/// The system's text for an error number (strerror_r's, thread-safe), without a line break.
std::string ErrnoText(int error);

} // namespace os::system
