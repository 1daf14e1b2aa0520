/** @file StoreTesting.h Test hooks of the store service: delays, injected failures, users, friends, output. */
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace os::testing
{

/// The requests whose next instance a test can make fail.
enum class StoreRequest
{
    FindLeaderboard,
    UploadScore,
    DownloadEntries,
    RequestStats,
    StoreStats,
};

enum class StoreFailure
{
    IoFailure,  ///< the result arrives with the I/O-failure flag (call results only)
    NoHandle,   ///< the request does not start: the call returns 0 (or false)
    NotFound,   ///< a board search answers "not found"
    Refused,    ///< an upload answers "not successful"
    ResultCode, ///< a statistics callback carries the given result code
};

/// The next request of that kind fails so (one pending failure per kind).
void FailNextStoreRequest(StoreRequest request, StoreFailure failure, std::int32_t resultCode = 2);
/// Results of requests started from now on arrive `pumps` pumps later than the next one.
void DelayStoreResults(int pumps);
void SetStoreLoggedOn(bool loggedOn);
/// The local user (written to the user file when a save folder is set).
void SetStoreUser(std::uint64_t id, const std::string& name);
/// The language setting of the user ("japanese", "english", or empty to follow the locale).
void SetStoreLanguage(const std::string& language);
/// The user's friends, in friend-list order.
void SetStoreFriends(const std::vector<std::uint64_t>& friends);
/// A name for another user's id.
void SetStoreUserName(std::uint64_t id, const std::string& name);

struct SeedEntry
{
    std::uint64_t user = 0;
    std::string name;
    std::int32_t score = 0;
    std::vector<std::int32_t> details;
};
/// Puts entries on a board at once (created descending and numeric when new), in the given
/// order, and writes the board file when a save folder is set. False when the board cannot be
/// loaded or written.
bool SeedLeaderboard(const std::string& board, const std::vector<SeedEntry>& entries);

/// Display texts of an achievement ("name" and "desc").
void SetAchievementDisplay(const std::string& id, const std::string& name, const std::string& desc);

/// Receives every DebugOutput text in place of stderr; empty restores the default.
void CaptureStoreDebugOutput(std::function<void(const std::string&)> sink);

/// Back to defaults: no delay, no failures, logged on, no friends, no seeded names or texts,
/// no capture.
void ResetStoreHooks();

} // namespace os::testing
