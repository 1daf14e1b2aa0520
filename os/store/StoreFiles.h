/** @file StoreFiles.h The service's files in the save folder: names, bounded reads, encodings, setting aside. */
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace os::store
{

/// The local user as stored in "store_user.dat".
struct UserRecord
{
    std::uint64_t id = 0;
    std::string name;
    std::string language; ///< empty: follow the locale
};

/// One unlocked achievement as stored in "store_achievements.dat".
struct AchievementRecord
{
    std::string id;
    std::uint64_t unlockTime = 0; ///< seconds since 1970
};

extern const char* const kUserFileName;
extern const char* const kAchievementsFileName;

/// "store_board_<name>.dat" with every byte outside [A-Za-z0-9_-] written as %XX; empty when
/// the name is empty or too long for a file name.
std::string BoardFileName(const std::string& board);

enum class FileRead
{
    Ok,
    Missing,
    TooLarge,
    Failed, ///< the calling thread's last error holds the cause
};
/// Reads a whole file of at most maxBytes bytes.
FileRead ReadWholeFile(const std::string& path, std::size_t maxBytes, std::string& bytes);

/// Renames a damaged file to "<path>.corrupt" (or "<path>.corrupt<n>" when that exists) so
/// nothing overwrites it; returns the new path, or empty when the rename failed.
std::string SetFileAside(const std::string& path);

std::string EncodeUser(const UserRecord& user);
/// Throws std::runtime_error on malformed data.
UserRecord DecodeUser(const std::string& bytes);
std::string EncodeAchievements(const std::vector<AchievementRecord>& achievements);
std::vector<AchievementRecord> DecodeAchievements(const std::string& bytes);

/// An achievement identifier: 1 to 127 letters, digits or underscores.
bool IsValidAchievementId(const std::string& id);
/// The longest prefix of at most maxBytes bytes that ends on a whole UTF-8 character.
std::string CutUtf8(const std::string& text, std::size_t maxBytes);

} // namespace os::store
