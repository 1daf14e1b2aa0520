/** @file StoreService.h The state behind the store's interfaces: requests in flight, users, boards, files. */
#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <unordered_map>
#include <variant>
#include <vector>

#include "os/store/CallbackBase.h"
#include "os/store/Leaderboard.h"
#include "os/store/StoreFiles.h"
#include "os/store/StoreTesting.h"
#include "os/store/StoreTypes.h"

namespace os::store
{

/// One process-wide instance, never destroyed (holders may unregister during exit). One
/// lock guards everything; handlers run without it, so they may call back in.
class StoreService
{
public:
    static StoreService& Get();

    bool Init();
    void Shutdown();
    bool IsRunning() const { return running_.load(std::memory_order_acquire); }
    void RunCallbacks();
    void SetSaveFolder(const std::string& folder);
    void SetLogFunction(std::function<void(const std::string&)> log);
    void DebugOutput(const char* text);

    void RegisterCallResult(CallbackBase* holder, CallHandle call);
    void UnregisterCallResult(CallbackBase* holder, CallHandle call);
    void RegisterCallback(CallbackBase* holder);
    void UnregisterCallback(CallbackBase* holder);

    bool RequestCurrentStats();
    bool GetAchievement(const char* id, bool* achieved);
    const char* GetAchievementDisplayAttribute(const char* id, const char* key);
    bool SetAchievement(const char* id);
    bool StoreStats();
    CallHandle FindOrCreateLeaderboard(const char* name, std::int32_t sort, std::int32_t display);
    CallHandle UploadLeaderboardScore(LeaderboardHandle board, std::int32_t method, std::int32_t score,
                                      const std::int32_t* details, std::int32_t count);
    CallHandle DownloadLeaderboardEntries(LeaderboardHandle board, std::int32_t request, std::int32_t start,
                                          std::int32_t end);
    std::int32_t GetLeaderboardEntryCount(LeaderboardHandle board);
    bool GetDownloadedLeaderboardEntry(EntriesHandle entries, std::int32_t index, LeaderboardEntry* entry,
                                       std::int32_t* details, std::int32_t maxDetails);

    bool IsLoggedOn();
    std::uint64_t GetUserId();
    std::int32_t GetFriendCount(std::int32_t flags);
    std::uint64_t GetFriendByIndex(std::int32_t index, std::int32_t flags);
    const char* GetPersonaName();
    const char* GetFriendPersonaName(std::uint64_t user);
    const char* GetCurrentGameLanguage();

    // Test hooks (StoreTesting.h).
    void FailNext(os::testing::StoreRequest request, os::testing::StoreFailure failure, std::int32_t code);
    void SetDelay(int pumps);
    void SetLoggedOn(bool loggedOn);
    void SetUser(std::uint64_t id, const std::string& name);
    void SetLanguage(const std::string& language);
    void SetFriends(const std::vector<std::uint64_t>& friends);
    void SetUserName(std::uint64_t id, const std::string& name);
    bool Seed(const std::string& board, const std::vector<os::testing::SeedEntry>& entries);
    void SetAchievementDisplay(const std::string& id, const std::string& name, const std::string& desc);
    void CaptureDebugOutput(std::function<void(const std::string&)> sink);
    void ResetHooks();

private:
    using Record = std::variant<LeaderboardFindResult, LeaderboardScoreUploaded, LeaderboardScoresDownloaded,
                                UserStatsReceived, UserStatsStored, UserAchievementStored>;
    struct Injected
    {
        os::testing::StoreFailure failure;
        std::int32_t code;
    };
    struct Pending
    {
        os::testing::StoreRequest kind;
        CallHandle call = 0;
        int pumpsLeft = 1;
        std::optional<Injected> injected;
        std::string name;
        std::int32_t a = 0, b = 0, c = 0;
        LeaderboardHandle board = 0;
        std::vector<std::int32_t> details;
    };
    struct Delivery
    {
        CallHandle call = 0;
        int callbackId = 0;
        Record record;
        bool ioFailure = false;
    };
    struct Board
    {
        explicit Board(Leaderboard b) : board(std::move(b)) {}
        Leaderboard board;
        bool writable = true; ///< false when a damaged file could not be set aside
    };
    struct Downloaded
    {
        EntriesHandle handle = 0;
        std::vector<LeaderboardEntry> entries;
        std::vector<std::vector<std::int32_t>> details;
    };
    struct Unlock
    {
        std::uint64_t time = 0;
        bool stored = false;
    };

    StoreService() = default;

    // All below run with mutex_ held.
    std::optional<Injected> TakeInjected(os::testing::StoreRequest request);
    bool TakeNoHandle(os::testing::StoreRequest request);
    CallHandle Queue(Pending pending);
    void Complete(Pending& pending, std::vector<Delivery>& out);
    void CompleteFind(Pending& pending, std::vector<Delivery>& out);
    void CompleteUpload(Pending& pending, std::vector<Delivery>& out);
    void CompleteDownload(Pending& pending, std::vector<Delivery>& out);
    void CompleteRequestStats(Pending& pending, std::vector<Delivery>& out);
    void CompleteStoreStats(Pending& pending, std::vector<Delivery>& out);
    /// The board of that name, loaded from its file on first use; null on a read failure.
    Board* LoadBoard(const std::string& name, std::int32_t sort, std::int32_t display);
    Board* FindBoard(LeaderboardHandle handle);
    bool WriteBoard(Board& board);
    UserRecord& LoadUser();
    void SaveUser();
    /// False when the file could not be read (not when it is missing or damaged).
    bool LoadAchievements();
    bool PersistsFiles() const { return saveFolder_.has_value(); }
    std::string PathOf(const std::string& fileName) const { return saveFolder_.value_or(std::string()) + fileName; }
    /// A damaged file: reported, set aside; false when it could not be moved out of the way.
    bool SetAside(const std::string& path, const std::string& why);
    void Log(const std::string& text);
    void ClearState();

    mutable std::mutex mutex_;
    std::atomic<bool> running_{false};
    bool pumping_ = false;

    std::optional<std::string> saveFolder_;
    std::function<void(const std::string&)> log_;

    CallHandle nextCall_ = 1;
    EntriesHandle nextEntries_ = 1;
    LeaderboardHandle nextBoard_ = 1;
    std::vector<Pending> pending_;
    std::unordered_map<CallHandle, CallbackBase*> callResults_;
    std::vector<CallbackBase*> callbacks_;

    std::optional<UserRecord> user_;
    bool userWritable_ = true;
    std::map<LeaderboardHandle, std::unique_ptr<Board>> boards_;
    std::unordered_map<std::string, LeaderboardHandle> boardsByName_;
    std::unordered_map<std::uint64_t, std::string> boardNames_;
    Downloaded downloaded_;

    bool achievementsLoaded_ = false;
    bool achievementsWritable_ = true;
    bool statsReceived_ = false;
    std::map<std::string, Unlock> achieved_;
    std::vector<std::string> unstored_;
    std::string attributeText_;

    // Test hooks: they survive Shutdown.
    std::map<os::testing::StoreRequest, Injected> failNext_;
    int delay_ = 0;
    bool loggedOn_ = true;
    std::vector<std::uint64_t> friends_;
    std::unordered_map<std::uint64_t, std::string> seededNames_;
    std::map<std::string, std::pair<std::string, std::string>> displayTexts_;
    std::mutex debugMutex_;
    std::function<void(const std::string&)> debugSink_;
};

} // namespace os::store
