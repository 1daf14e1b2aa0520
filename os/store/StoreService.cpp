/** @file StoreService.cpp Requests, their completion in the pump, and the files behind them. */
#include "os/store/StoreService.h"

#include <pwd.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <random>
#include <unordered_set>

#include "os/store/Utils.h"
#include "os/system/AtomicFile.h"
#include "os/system/System.h"

namespace os::store
{

using os::testing::StoreFailure;
using os::testing::StoreRequest;

namespace
{

constexpr std::size_t kMaxUserFile = 4096;
constexpr std::size_t kMaxAchievementFile = 1 << 20;
constexpr std::size_t kMaxBoardFile = std::size_t{256} << 20;
constexpr std::size_t kMaxPersonaName = 127;

std::string DefaultUserName()
{
    std::vector<char> buffer(16384);
    passwd entry{};
    passwd* found = nullptr;
    if (getpwuid_r(getuid(), &entry, buffer.data(), buffer.size(), &found) == 0 && found && found->pw_name &&
        *found->pw_name)
        return found->pw_name;
    const char* user = std::getenv("USER");
    return user && *user ? user : "Player";
}

std::uint64_t NewUserId()
{
    std::random_device device;
    std::uint64_t id = 0;
    while (id == 0)
        id = (static_cast<std::uint64_t>(device()) << 32) ^ device();
    return id;
}

bool LocaleIsJapanese()
{
    for (const char* name : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
        const char* value = std::getenv(name);
        if (value && *value)
            return std::strncmp(value, "ja", 2) == 0;
    }
    return false;
}

std::string LastErrorText()
{
    std::string text = os::system::GetLastErrorText();
    while (!text.empty() && (text.back() == '\n' || text.back() == '\r'))
        text.pop_back();
    return text;
}

} // namespace

StoreService& StoreService::Get()
{
    static StoreService* service = new StoreService;
    return *service;
}

bool StoreService::Init()
{
    std::lock_guard lock(mutex_);
    if (!running_) {
        ClearState();
        running_ = true;
    }
    return true;
}

void StoreService::Shutdown()
{
    std::lock_guard lock(mutex_);
    running_ = false;
    ClearState();
}

void StoreService::ClearState()
{
    pending_.clear();
    callResults_.clear();
    saveFolder_.reset();
    user_.reset();
    userWritable_ = true;
    boards_.clear();
    boardsByName_.clear();
    boardNames_.clear();
    downloaded_ = Downloaded{};
    achievementsLoaded_ = false;
    achievementsWritable_ = true;
    statsReceived_ = false;
    achieved_.clear();
    unstored_.clear();
}

void StoreService::SetSaveFolder(const std::string& folder)
{
    std::lock_guard lock(mutex_);
    std::string path = folder;
    // The program keeps backslashes in its paths; the file system wants slashes.
    std::replace(path.begin(), path.end(), '\\', '/');
    if (!path.empty() && path.back() != '/')
        path += '/';
    saveFolder_ = path;
    // What was read before came from nowhere; the folder's files decide from now on.
    user_.reset();
    userWritable_ = true;
    boards_.clear();
    boardsByName_.clear();
    boardNames_.clear();
    achievementsLoaded_ = false;
    achievementsWritable_ = true;
}

void StoreService::SetLogFunction(std::function<void(const std::string&)> log)
{
    std::lock_guard lock(mutex_);
    log_ = std::move(log);
}

void StoreService::Log(const std::string& text)
{
    if (log_)
        log_(text);
    else
        std::fprintf(stderr, "store: %s\n", text.c_str());
}

void StoreService::DebugOutput(const char* text)
{
    if (!text)
        return;
    std::lock_guard lock(debugMutex_);
    if (debugSink_) {
        debugSink_(text);
        return;
    }
    const char* wanted = std::getenv("KORVANE_STORE_DEBUG");
    if (wanted && *wanted && std::strcmp(wanted, "0") != 0) {
        std::fputs(text, stderr);
        std::fflush(stderr);
    }
}

// ---- registration and the pump ----

void StoreService::RegisterCallResult(CallbackBase* holder, CallHandle call)
{
    if (!holder || call == kInvalidCallHandle)
        return;
    std::lock_guard lock(mutex_);
    callResults_[call] = holder;
}

void StoreService::UnregisterCallResult(CallbackBase* holder, CallHandle call)
{
    std::lock_guard lock(mutex_);
    const auto found = callResults_.find(call);
    if (found != callResults_.end() && found->second == holder)
        callResults_.erase(found);
}

void StoreService::RegisterCallback(CallbackBase* holder)
{
    if (!holder)
        return;
    std::lock_guard lock(mutex_);
    if (std::find(callbacks_.begin(), callbacks_.end(), holder) == callbacks_.end())
        callbacks_.push_back(holder);
}

void StoreService::UnregisterCallback(CallbackBase* holder)
{
    std::lock_guard lock(mutex_);
    callbacks_.erase(std::remove(callbacks_.begin(), callbacks_.end(), holder), callbacks_.end());
}

void StoreService::RunCallbacks()
{
    std::vector<Delivery> ready;
    {
        std::lock_guard lock(mutex_);
        if (!running_ || pumping_)
            return;
        pumping_ = true;
    }
    // A handler that throws must not leave the pump shut for the rest of the run.
    struct PumpDone
    {
        StoreService* service;
        ~PumpDone()
        {
            std::lock_guard lock(service->mutex_);
            service->pumping_ = false;
        }
    } done{this};
    {
        std::lock_guard lock(mutex_);
        std::vector<Pending> waiting;
        for (Pending& pending : pending_) {
            if (--pending.pumpsLeft > 0)
                waiting.push_back(std::move(pending));
            else
                Complete(pending, ready);
        }
        pending_ = std::move(waiting);
    }
    for (Delivery& delivery : ready) {
        const void* record = std::visit([](const auto& r) -> const void* { return &r; }, delivery.record);
        if (delivery.call != kInvalidCallHandle) {
            CallbackBase* holder = nullptr;
            {
                std::lock_guard lock(mutex_);
                if (!running_)
                    break;
                const auto found = callResults_.find(delivery.call);
                if (found != callResults_.end()) {
                    holder = found->second;
                    callResults_.erase(found);
                }
            }
            if (holder && holder->GetCallbackId() == delivery.callbackId)
                holder->Run(record, delivery.ioFailure, delivery.call);
            continue;
        }
        std::vector<CallbackBase*> listeners;
        {
            std::lock_guard lock(mutex_);
            if (!running_)
                break;
            for (CallbackBase* holder : callbacks_)
                if (holder->GetCallbackId() == delivery.callbackId)
                    listeners.push_back(holder);
        }
        for (CallbackBase* holder : listeners) {
            {
                // An earlier handler may have unregistered (and freed) this one.
                std::lock_guard lock(mutex_);
                if (std::find(callbacks_.begin(), callbacks_.end(), holder) == callbacks_.end())
                    continue;
            }
            holder->Run(record, false, kInvalidCallHandle);
        }
    }
}

std::optional<StoreService::Injected> StoreService::TakeInjected(StoreRequest request)
{
    const auto found = failNext_.find(request);
    if (found == failNext_.end())
        return std::nullopt;
    Injected injected = found->second;
    failNext_.erase(found);
    return injected;
}

bool StoreService::TakeNoHandle(StoreRequest request)
{
    const auto found = failNext_.find(request);
    if (found == failNext_.end() || found->second.failure != StoreFailure::NoHandle)
        return false;
    failNext_.erase(found);
    return true;
}

CallHandle StoreService::Queue(Pending pending)
{
    pending.injected = TakeInjected(pending.kind);
    pending.pumpsLeft = 1 + delay_;
    if (pending.kind != StoreRequest::RequestStats && pending.kind != StoreRequest::StoreStats)
        pending.call = nextCall_++;
    const CallHandle call = pending.call;
    pending_.push_back(std::move(pending));
    return call;
}

void StoreService::Complete(Pending& pending, std::vector<Delivery>& out)
{
    switch (pending.kind) {
    case StoreRequest::FindLeaderboard:
        CompleteFind(pending, out);
        break;
    case StoreRequest::UploadScore:
        CompleteUpload(pending, out);
        break;
    case StoreRequest::DownloadEntries:
        CompleteDownload(pending, out);
        break;
    case StoreRequest::RequestStats:
        CompleteRequestStats(pending, out);
        break;
    case StoreRequest::StoreStats:
        CompleteStoreStats(pending, out);
        break;
    }
}

// ---- files ----

bool StoreService::SetAside(const std::string& path, const std::string& why)
{
    const std::string aside = SetFileAside(path);
    if (aside.empty()) {
        Log("'" + path + "' is damaged (" + why + ") and could not be set aside (" + LastErrorText() +
            "); it is left as it is and nothing is written over it");
        return false;
    }
    Log("'" + path + "' is damaged (" + why + "); kept as '" + aside + "', starting anew");
    return true;
}

UserRecord& StoreService::LoadUser()
{
    if (user_)
        return *user_;
    if (PersistsFiles()) {
        const std::string path = PathOf(kUserFileName);
        std::string bytes;
        switch (ReadWholeFile(path, kMaxUserFile, bytes)) {
        case FileRead::Ok:
            try {
                user_ = DecodeUser(bytes);
                return *user_;
            } catch (const std::exception& e) {
                userWritable_ = SetAside(path, e.what());
            }
            break;
        case FileRead::TooLarge:
            userWritable_ = SetAside(path, "too large");
            break;
        case FileRead::Missing:
            break;
        case FileRead::Failed:
            // An unreadable file may still be good: never write over it.
            Log("cannot read '" + path + "' (" + LastErrorText() + "); the user is kept in memory for this run");
            userWritable_ = false;
            break;
        }
    }
    UserRecord user;
    user.id = NewUserId();
    user.name = CutUtf8(DefaultUserName(), kMaxPersonaName);
    user_ = user;
    SaveUser();
    return *user_;
}

void StoreService::SaveUser()
{
    if (!PersistsFiles() || !userWritable_ || !user_)
        return;
    const std::string bytes = EncodeUser(*user_);
    const std::string path = PathOf(kUserFileName);
    if (!os::system::WriteFileAtomically(path, bytes.data(), bytes.size()))
        Log("cannot write '" + path + "' (" + LastErrorText() + ")");
}

bool StoreService::LoadAchievements()
{
    if (achievementsLoaded_)
        return true;
    if (PersistsFiles()) {
        const std::string path = PathOf(kAchievementsFileName);
        std::string bytes;
        switch (ReadWholeFile(path, kMaxAchievementFile, bytes)) {
        case FileRead::Ok:
            try {
                for (const AchievementRecord& record : DecodeAchievements(bytes))
                    achieved_[record.id] = Unlock{record.unlockTime, true};
            } catch (const std::exception& e) {
                // Nothing of the file was taken; unlocks made before the folder was set stay.
                achievementsWritable_ = SetAside(path, e.what());
            }
            break;
        case FileRead::TooLarge:
            achievementsWritable_ = SetAside(path, "too large");
            break;
        case FileRead::Missing:
            break;
        case FileRead::Failed:
            Log("cannot read '" + path + "' (" + LastErrorText() + ")");
            return false;
        }
    }
    achievementsLoaded_ = true;
    return true;
}

StoreService::Board* StoreService::FindBoard(LeaderboardHandle handle)
{
    const auto found = boards_.find(handle);
    return found == boards_.end() ? nullptr : found->second.get();
}

StoreService::Board* StoreService::LoadBoard(const std::string& name, std::int32_t sort, std::int32_t display)
{
    const auto known = boardsByName_.find(name);
    if (known != boardsByName_.end())
        return FindBoard(known->second);

    std::unique_ptr<Board> board;
    bool writable = true;
    if (PersistsFiles()) {
        const std::string path = PathOf(BoardFileName(name));
        std::string bytes;
        switch (ReadWholeFile(path, kMaxBoardFile, bytes)) {
        case FileRead::Ok:
            try {
                board = std::make_unique<Board>(Leaderboard::Decode(bytes, name));
            } catch (const std::exception& e) {
                writable = SetAside(path, e.what());
            }
            break;
        case FileRead::TooLarge:
            writable = SetAside(path, "too large");
            break;
        case FileRead::Missing:
            break;
        case FileRead::Failed:
            Log("cannot read '" + path + "' (" + LastErrorText() + ")");
            return nullptr;
        }
    }
    if (!board)
        board = std::make_unique<Board>(
            Leaderboard(name, static_cast<LeaderboardSortMethod>(sort), static_cast<LeaderboardDisplayType>(display)));
    board->writable = writable;
    for (const LeaderboardRow& row : board->board.GetRows())
        boardNames_.try_emplace(row.user, row.name);
    const LeaderboardHandle handle = nextBoard_++;
    boardsByName_[name] = handle;
    Board* result = board.get();
    boards_[handle] = std::move(board);
    return result;
}

bool StoreService::WriteBoard(Board& board)
{
    if (!board.writable) {
        Log("board '" + board.board.GetName() + "' is not written: its damaged file is still in the way");
        return false;
    }
    if (!PersistsFiles())
        return true;
    const std::string bytes = board.board.Encode();
    const std::string path = PathOf(BoardFileName(board.board.GetName()));
    if (!os::system::WriteFileAtomically(path, bytes.data(), bytes.size())) {
        Log("cannot write '" + path + "' (" + LastErrorText() + "); the board keeps its old contents");
        return false;
    }
    return true;
}

// ---- statistics and achievements ----

bool StoreService::RequestCurrentStats()
{
    std::lock_guard lock(mutex_);
    if (!running_ || !loggedOn_ || TakeNoHandle(StoreRequest::RequestStats))
        return false;
    Pending pending;
    pending.kind = StoreRequest::RequestStats;
    Queue(std::move(pending));
    return true;
}

void StoreService::CompleteRequestStats(Pending& pending, std::vector<Delivery>& out)
{
    UserStatsReceived result;
    result.gameId = kLocalAppId;
    result.user = LoadUser().id;
    if (pending.injected && pending.injected->failure == StoreFailure::ResultCode)
        result.result = static_cast<Result>(pending.injected->code);
    else if (pending.injected)
        result.result = kResultFail;
    else if (!LoadAchievements())
        result.result = kResultFail;
    else {
        result.result = kResultOk;
        statsReceived_ = true;
    }
    out.push_back(Delivery{0, UserStatsReceived::kCallbackId, result, false});
}

bool StoreService::GetAchievement(const char* id, bool* achieved)
{
    std::lock_guard lock(mutex_);
    if (!running_ || !statsReceived_ || !id || !achieved || !IsValidAchievementId(id))
        return false;
    // The statistics may have arrived before the save folder was set: its file counts too.
    (void)LoadAchievements();
    *achieved = achieved_.count(id) != 0;
    return true;
}

const char* StoreService::GetAchievementDisplayAttribute(const char* id, const char* key)
{
    std::lock_guard lock(mutex_);
    attributeText_.clear();
    if (!running_ || !statsReceived_ || !id || !key || !IsValidAchievementId(id))
        return attributeText_.c_str();
    const auto texts = displayTexts_.find(id);
    if (std::strcmp(key, "name") == 0)
        attributeText_ = texts != displayTexts_.end() ? texts->second.first : std::string(id);
    else if (std::strcmp(key, "desc") == 0)
        attributeText_ = texts != displayTexts_.end() ? texts->second.second : std::string();
    else if (std::strcmp(key, "hidden") == 0)
        attributeText_ = "0";
    return attributeText_.c_str();
}

bool StoreService::SetAchievement(const char* id)
{
    std::lock_guard lock(mutex_);
    if (!running_ || !statsReceived_ || !id || !IsValidAchievementId(id))
        return false;
    (void)LoadAchievements();
    const auto inserted = achieved_.try_emplace(id, Unlock{static_cast<std::uint64_t>(std::time(nullptr)), false});
    if (inserted.second)
        unstored_.push_back(id);
    return true;
}

bool StoreService::StoreStats()
{
    std::lock_guard lock(mutex_);
    if (!running_ || !statsReceived_ || TakeNoHandle(StoreRequest::StoreStats))
        return false;
    Pending pending;
    pending.kind = StoreRequest::StoreStats;
    Queue(std::move(pending));
    return true;
}

void StoreService::CompleteStoreStats(Pending& pending, std::vector<Delivery>& out)
{
    UserStatsStored result;
    result.gameId = kLocalAppId;
    result.result = kResultOk;
    if (pending.injected) {
        result.result = pending.injected->failure == StoreFailure::ResultCode
                            ? static_cast<Result>(pending.injected->code)
                            : kResultFail;
        out.push_back(Delivery{0, UserStatsStored::kCallbackId, result, false});
        return;
    }
    if (unstored_.empty()) {
        out.push_back(Delivery{0, UserStatsStored::kCallbackId, result, false});
        return;
    }
    // Written whole, so the folder's file must have been merged in first; one that cannot be
    // read may still be good and is never written over.
    bool written = achievementsWritable_ && LoadAchievements();
    if (!achievementsWritable_)
        Log("achievements are not written: their damaged file is still in the way");
    else if (PersistsFiles()) {
        std::vector<AchievementRecord> records;
        for (const auto& [id, unlock] : achieved_)
            records.push_back(AchievementRecord{id, unlock.time});
        const std::string bytes = EncodeAchievements(records);
        const std::string path = PathOf(kAchievementsFileName);
        written = os::system::WriteFileAtomically(path, bytes.data(), bytes.size());
        if (!written)
            Log("cannot write '" + path + "' (" + LastErrorText() + ")");
    }
    if (!written) {
        result.result = kResultFail;
        out.push_back(Delivery{0, UserStatsStored::kCallbackId, result, false});
        return;
    }
    out.push_back(Delivery{0, UserStatsStored::kCallbackId, result, false});
    for (const std::string& id : unstored_) {
        achieved_[id].stored = true;
        UserAchievementStored stored;
        stored.gameId = kLocalAppId;
        std::snprintf(stored.achievementName, sizeof(stored.achievementName), "%s", id.c_str());
        out.push_back(Delivery{0, UserAchievementStored::kCallbackId, stored, false});
    }
    unstored_.clear();
}

// ---- leaderboards ----

CallHandle StoreService::FindOrCreateLeaderboard(const char* name, std::int32_t sort, std::int32_t display)
{
    std::lock_guard lock(mutex_);
    if (!running_ || !loggedOn_ || !name || TakeNoHandle(StoreRequest::FindLeaderboard))
        return kInvalidCallHandle;
    Pending pending;
    pending.kind = StoreRequest::FindLeaderboard;
    pending.name = name;
    pending.a = sort;
    pending.b = display;
    return Queue(std::move(pending));
}

void StoreService::CompleteFind(Pending& pending, std::vector<Delivery>& out)
{
    LeaderboardFindResult result;
    bool ioFailure = false;
    if (pending.injected)
        ioFailure = pending.injected->failure == StoreFailure::IoFailure;
    else if (pending.name.empty() || pending.name.size() > kMaxLeaderboardNameLength ||
             BoardFileName(pending.name).empty() || (pending.a != kSortAscending && pending.a != kSortDescending) ||
             pending.b < kDisplayNumeric || pending.b > kDisplayTimeMilliseconds)
        ; // not a board this service can keep: not found
    else if (Board* board = LoadBoard(pending.name, pending.a, pending.b)) {
        result.leaderboard = boardsByName_[pending.name];
        result.found = 1;
        (void)board;
    } else
        ioFailure = true;
    out.push_back(Delivery{pending.call, LeaderboardFindResult::kCallbackId, result, ioFailure});
}

CallHandle StoreService::UploadLeaderboardScore(LeaderboardHandle board, std::int32_t method, std::int32_t score,
                                                const std::int32_t* details, std::int32_t count)
{
    std::lock_guard lock(mutex_);
    if (!running_ || !loggedOn_ || !FindBoard(board) || (method != kUploadKeepBest && method != kUploadForceUpdate) ||
        count < 0 || count > kMaxLeaderboardDetails || (count > 0 && !details) ||
        TakeNoHandle(StoreRequest::UploadScore))
        return kInvalidCallHandle;
    Pending pending;
    pending.kind = StoreRequest::UploadScore;
    pending.board = board;
    pending.a = method;
    pending.b = score;
    pending.details.assign(details, details + count);
    return Queue(std::move(pending));
}

void StoreService::CompleteUpload(Pending& pending, std::vector<Delivery>& out)
{
    LeaderboardScoreUploaded result;
    result.leaderboard = pending.board;
    result.score = pending.b;
    bool ioFailure = false;
    Board* board = FindBoard(pending.board);
    if (pending.injected)
        ioFailure = pending.injected->failure == StoreFailure::IoFailure;
    else if (!board)
        ioFailure = true;
    else {
        const UserRecord& user = LoadUser();
        Leaderboard::UploadOutcome outcome = board->board.Upload(
            user.id, user.name, pending.b, std::move(pending.details), pending.a == kUploadForceUpdate);
        if (outcome.changed && !WriteBoard(*board)) {
            board->board.Undo(outcome);
            ioFailure = true;
        } else {
            result.success = 1;
            result.scoreChanged = outcome.changed ? 1 : 0;
            result.globalRankNew = outcome.rankNew;
            result.globalRankPrevious = outcome.rankPrevious;
            boardNames_[user.id] = user.name;
        }
    }
    out.push_back(Delivery{pending.call, LeaderboardScoreUploaded::kCallbackId, result, ioFailure});
}

CallHandle StoreService::DownloadLeaderboardEntries(LeaderboardHandle board, std::int32_t request, std::int32_t start,
                                                    std::int32_t end)
{
    std::lock_guard lock(mutex_);
    if (!running_ || !loggedOn_ || !FindBoard(board) || request < kRequestGlobal || request > kRequestFriends ||
        TakeNoHandle(StoreRequest::DownloadEntries))
        return kInvalidCallHandle;
    Pending pending;
    pending.kind = StoreRequest::DownloadEntries;
    pending.board = board;
    pending.a = request;
    pending.b = start;
    pending.c = end;
    return Queue(std::move(pending));
}

void StoreService::CompleteDownload(Pending& pending, std::vector<Delivery>& out)
{
    LeaderboardScoresDownloaded result;
    result.leaderboard = pending.board;
    Board* board = FindBoard(pending.board);
    if (pending.injected || !board) {
        out.push_back(Delivery{pending.call, LeaderboardScoresDownloaded::kCallbackId, result, true});
        return;
    }
    const std::vector<LeaderboardRow>& rows = board->board.GetRows();
    const std::int64_t count = static_cast<std::int64_t>(rows.size());
    std::vector<std::size_t> picked;
    const std::uint64_t self = LoadUser().id;
    if (pending.a == kRequestFriends) {
        std::unordered_set<std::uint64_t> wanted(friends_.begin(), friends_.end());
        wanted.insert(self);
        for (std::size_t i = 0; i < rows.size(); ++i)
            if (wanted.count(rows[i].user))
                picked.push_back(i);
    } else {
        std::int64_t first = pending.b;
        std::int64_t last = pending.c;
        if (pending.a == kRequestGlobal) {
            first -= 1; // ranks are 1-based
            last -= 1;
        } else {
            const std::ptrdiff_t at = board->board.FindUser(self);
            if (at < 0)
                first = 1, last = 0; // no entry of the user: nothing around it
            else
                first += at, last += at;
        }
        first = std::max<std::int64_t>(first, 0);
        last = std::min<std::int64_t>(last, count - 1);
        for (std::int64_t i = first; i <= last; ++i)
            picked.push_back(static_cast<std::size_t>(i));
    }
    downloaded_ = Downloaded{};
    downloaded_.handle = nextEntries_++;
    downloaded_.entries.reserve(picked.size());
    downloaded_.details.reserve(picked.size());
    for (std::size_t index : picked) {
        const LeaderboardRow& row = rows[index];
        LeaderboardEntry entry;
        entry.user = row.user;
        entry.globalRank = static_cast<std::int32_t>(index + 1);
        entry.score = row.score;
        entry.details = static_cast<std::int32_t>(row.details.size());
        downloaded_.entries.push_back(entry);
        downloaded_.details.push_back(row.details);
    }
    result.entries = downloaded_.handle;
    result.entryCount = static_cast<std::int32_t>(picked.size());
    out.push_back(Delivery{pending.call, LeaderboardScoresDownloaded::kCallbackId, result, false});
}

std::int32_t StoreService::GetLeaderboardEntryCount(LeaderboardHandle handle)
{
    std::lock_guard lock(mutex_);
    const Board* board = running_ ? FindBoard(handle) : nullptr;
    return board ? static_cast<std::int32_t>(board->board.GetRows().size()) : 0;
}

bool StoreService::GetDownloadedLeaderboardEntry(EntriesHandle entries, std::int32_t index, LeaderboardEntry* entry,
                                                 std::int32_t* details, std::int32_t maxDetails)
{
    std::lock_guard lock(mutex_);
    if (!running_ || entries == 0 || entries != downloaded_.handle || !entry || index < 0 ||
        static_cast<std::size_t>(index) >= downloaded_.entries.size())
        return false;
    const std::size_t at = static_cast<std::size_t>(index);
    *entry = downloaded_.entries[at];
    if (details && maxDetails > 0) {
        const std::vector<std::int32_t>& words = downloaded_.details[at];
        const std::size_t copied = std::min(words.size(), static_cast<std::size_t>(maxDetails));
        std::copy_n(words.begin(), copied, details);
    }
    return true;
}

// ---- users, friends, language ----

bool StoreService::IsLoggedOn()
{
    std::lock_guard lock(mutex_);
    return running_ && loggedOn_;
}

std::uint64_t StoreService::GetUserId()
{
    std::lock_guard lock(mutex_);
    return running_ ? LoadUser().id : 0;
}

std::int32_t StoreService::GetFriendCount(std::int32_t flags)
{
    std::lock_guard lock(mutex_);
    if (!running_ || (flags & kFriendFlagImmediate) == 0)
        return 0;
    return static_cast<std::int32_t>(friends_.size());
}

std::uint64_t StoreService::GetFriendByIndex(std::int32_t index, std::int32_t flags)
{
    std::lock_guard lock(mutex_);
    if (!running_ || (flags & kFriendFlagImmediate) == 0 || index < 0 ||
        static_cast<std::size_t>(index) >= friends_.size())
        return 0;
    return friends_[static_cast<std::size_t>(index)];
}

const char* StoreService::GetPersonaName()
{
    std::lock_guard lock(mutex_);
    return running_ ? LoadUser().name.c_str() : "";
}

const char* StoreService::GetFriendPersonaName(std::uint64_t user)
{
    std::lock_guard lock(mutex_);
    if (!running_)
        return "";
    if (user == LoadUser().id)
        return user_->name.c_str();
    const auto seeded = seededNames_.find(user);
    if (seeded != seededNames_.end())
        return seeded->second.c_str();
    const auto known = boardNames_.find(user);
    return known != boardNames_.end() ? known->second.c_str() : "";
}

const char* StoreService::GetCurrentGameLanguage()
{
    std::lock_guard lock(mutex_);
    bool japanese = LocaleIsJapanese();
    if (running_ && !LoadUser().language.empty())
        japanese = user_->language == "japanese";
    return japanese ? "japanese" : "english";
}

// ---- test hooks ----

void StoreService::FailNext(StoreRequest request, StoreFailure failure, std::int32_t code)
{
    std::lock_guard lock(mutex_);
    failNext_[request] = Injected{failure, code};
}

void StoreService::SetDelay(int pumps)
{
    std::lock_guard lock(mutex_);
    delay_ = std::max(pumps, 0);
}

void StoreService::SetLoggedOn(bool loggedOn)
{
    std::lock_guard lock(mutex_);
    loggedOn_ = loggedOn;
}

void StoreService::SetUser(std::uint64_t id, const std::string& name)
{
    std::lock_guard lock(mutex_);
    UserRecord& user = LoadUser();
    user.id = id;
    user.name = CutUtf8(name, kMaxPersonaName);
    SaveUser();
}

void StoreService::SetLanguage(const std::string& language)
{
    std::lock_guard lock(mutex_);
    LoadUser().language = language;
    SaveUser();
}

void StoreService::SetFriends(const std::vector<std::uint64_t>& friends)
{
    std::lock_guard lock(mutex_);
    friends_ = friends;
}

void StoreService::SetUserName(std::uint64_t id, const std::string& name)
{
    std::lock_guard lock(mutex_);
    seededNames_[id] = name;
}

bool StoreService::Seed(const std::string& name, const std::vector<os::testing::SeedEntry>& entries)
{
    std::lock_guard lock(mutex_);
    Board* board = LoadBoard(name, kSortDescending, kDisplayNumeric);
    if (!board)
        return false;
    for (const os::testing::SeedEntry& entry : entries) {
        LeaderboardRow row;
        row.user = entry.user;
        row.name = entry.name;
        row.score = entry.score;
        row.details = entry.details;
        board->board.Put(std::move(row));
        boardNames_[entry.user] = entry.name;
    }
    return WriteBoard(*board);
}

void StoreService::SetAchievementDisplay(const std::string& id, const std::string& name, const std::string& desc)
{
    std::lock_guard lock(mutex_);
    displayTexts_[id] = {name, desc};
}

void StoreService::CaptureDebugOutput(std::function<void(const std::string&)> sink)
{
    std::lock_guard lock(debugMutex_);
    debugSink_ = std::move(sink);
}

void StoreService::ResetHooks()
{
    {
        std::lock_guard lock(mutex_);
        failNext_.clear();
        delay_ = 0;
        loggedOn_ = true;
        friends_.clear();
        seededNames_.clear();
        displayTexts_.clear();
    }
    CaptureDebugOutput(nullptr);
}

} // namespace os::store
