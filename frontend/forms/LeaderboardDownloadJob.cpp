/** @file LeaderboardDownloadJob.cpp The job that finds a board, downloads its pages and fills the list view. */
#include "frontend/forms/LeaderboardDownloadJob.h"

#include <algorithm>
#include <cstddef>
#include <cstdio>
#include <ctime>
#include <memory>
#include <type_traits>

#include "frontend/forms/DialogForm.h"
#include "frontend/forms/FormHelpers.h"
#include "frontend/forms/FormSceneLink.h"
#include "frontend/forms/LeaderboardDialogs.h"
#include "frontend/forms/LeaderboardListForm.h"
#include "frontend/forms/LeaderboardModeNames.h"
#include "frontend/forms/LeaderboardSelectForm.h"
#include "frontend/steam/SteamLeaderboards.h"
#include "frontend/steam/SteamServices.h"
#include "host/FrontEndTaskPool.h"
#include "os/store/Friends.h"
#include "os/store/Store.h"
#include "os/store/User.h"

static_assert(std::is_trivially_copyable_v<LeaderboardDownloadWork>);
static_assert(sizeof(LeaderboardDownloadWork) <= sizeof(FrontEndTask::Work));
static_assert(offsetof(FrontEndTask, Work) % alignof(LeaderboardDownloadWork) == 0);

namespace
{

/// What the task record's state byte holds between the job's passes, one pass a frame.
enum DownloadState : std::uint8_t
{
    kAllocated = 0, ///< as the pool hands the record out
    kPosted = 1,    ///< the chooser's post runs the first pass at once
    kSearch = 4,    ///< starts finding the board (again, on a retry)
    kWaitForBoard = 5,
    kDownload = 6, ///< starts the download of the page or view
    kWaitForDownload = 7,
    kShowPage = 8, ///< collects the rows, places the page and fills the list
    kServe = 9,    ///< serves the list's paging and view requests
    kAsk = 15,     ///< asks "CONFIRM": try again?
    kWaitForAnswer = 16,
    kEnd = 255, ///< frees the rows and the record
};

constexpr std::int32_t kViewOverall = 0;
constexpr std::int32_t kViewMyScore = 1;
constexpr std::int32_t kViewFriends = 2;
constexpr std::int32_t kPageRows = 10;
constexpr std::int32_t kAnswerFrames = 40;
constexpr std::size_t kNameBytes = 15;

boost::shared_ptr<CDialogForm> g_downloadDialog;

std::int32_t g_statesHeld = 0;

/// Owns every job's heap state. A job frees its own when it ends; one the program ends under
/// (no pass of the pool is left to end it) goes with this owner, among the program's statics.
class JobStates
{
public:
    JobStates() = default;
    JobStates(const JobStates&) = delete;
    JobStates& operator=(const JobStates&) = delete;
    ~JobStates() { g_statesHeld -= static_cast<std::int32_t>(states_.size()); }

    LeaderboardJobState* Make()
    {
        states_.push_back(std::make_unique<LeaderboardJobState>());
        ++g_statesHeld;
        return states_.back().get();
    }

    void Free(LeaderboardJobState* state)
    {
        const auto found =
            std::find_if(states_.begin(), states_.end(),
                         [state](const std::unique_ptr<LeaderboardJobState>& held) { return held.get() == state; });
        if (found != states_.end()) {
            states_.erase(found);
            --g_statesHeld;
        }
    }

private:
    std::vector<std::unique_ptr<LeaderboardJobState>> states_;
};

/// Made at the first job: from then on it outlives every job of the run.
JobStates& States()
{
    static JobStates states;
    return states;
}

std::uint64_t SelfId()
{
    os::store::User* user = os::store::GetUser();
    return user ? user->GetUserId() : 0;
}

boost::shared_ptr<CLeaderboardListForm> FormOf(const LeaderboardDownloadWork& work)
{
    return work.State ? work.State->ListForm.lock() : boost::shared_ptr<CLeaderboardListForm>();
}

std::string Formatted(const char* format, std::int32_t value)
{
    char buffer[32];
    std::snprintf(buffer, sizeof(buffer), format, value);
    return buffer;
}

} // namespace

namespace
{

/// The list emptied (total and first rank kept) before the retry question.
void FailDownload(FrontEndTask* task, LeaderboardDownloadWork& work, CLeaderboardListForm& form)
{
    work.Count = 0;
    FreeLeaderboardDetails(work);
    FormatLeaderboardDetail(work);
    form.SetLoading(false);
    task->State = kAsk;
}

void Search(FrontEndTask* task, LeaderboardDownloadWork& work, CLeaderboardListForm& form)
{
    form.SetLoading(true);
    work.Locate = 1;
    // A request still running (from a job that ended early) would answer this one's holder.
    if (IsSteamRequestPending()) {
        return;
    }
    if (gSteamLeaderboards) {
        FindLeaderboardByIndex(work.Board);
    }
    task->State = kWaitForBoard;
}

void StartDownload(FrontEndTask* task, LeaderboardDownloadWork& work, CLeaderboardListForm& form)
{
    form.SetLoading(true);
    if (work.View == kViewOverall && work.Locate != 0) {
        work.FirstRank = 1;
    }
    // A download that did not start fails now, whatever an earlier request left behind.
    if (DownloadLeaderboardPage(work.FirstRank, work.View, work.Locate)) {
        task->State = kWaitForDownload;
    } else {
        FailDownload(task, work, form);
    }
}

void ShowPage(FrontEndTask* task, LeaderboardDownloadWork& work, CLeaderboardListForm& form)
{
    CollectLeaderboardRows(work.View, work);
    PlaceLeaderboardPage(work, SelfId());
    FormatLeaderboardDetail(work);
    form.SetLoading(false);
    task->State = kServe;
}

void Ask(FrontEndTask* task, LeaderboardDownloadWork& work)
{
    const std::string line1 = LeaderboardText("808_1");
    g_downloadDialog.reset(new CDialogForm(2, "CONFIRM", line1, LeaderboardText("808_2"), std::string()));
    ShowLeaderboardDialog(g_downloadDialog);
    work.Counter = kAnswerFrames;
    task->State = kWaitForAnswer;
}

/// Once the question has stood its frames and closed: search again, or give up and go back to
/// the chooser on the same title and mode.
void TakeAnswer(FrontEndTask* task, LeaderboardDownloadWork& work, CLeaderboardListForm& form)
{
    if (work.Counter > 0) {
        --work.Counter;
    }
    if (work.Counter != 0 || (g_downloadDialog && g_downloadDialog->IsVisible())) {
        return;
    }
    if (g_downloadDialog && g_downloadDialog->IsAccepted()) {
        task->State = kSearch;
        return;
    }
    form.Close();
    boost::shared_ptr<CLeaderboardSelectForm> chooser(new CLeaderboardSelectForm());
    ShowForm(chooser);
    chooser->SetSelection(work.Title, work.Mode);
    task->State = kEnd;
}

void EndJob(FrontEndTask* task, LeaderboardDownloadWork& work)
{
    FreeLeaderboardDetails(work);
    States().Free(work.State);
    work.State = nullptr;
    TaskPoolFree(task);
}

} // namespace

LeaderboardDownloadWork& GetLeaderboardDownloadWork(FrontEndTask* task)
{
    return *reinterpret_cast<LeaderboardDownloadWork*>(task->Work);
}

FrontEndTask* PostLeaderboardDownload(std::int32_t title, std::int32_t mode,
                                      const boost::shared_ptr<CLeaderboardListForm>& list)
{
    FrontEndTask* task = TaskPoolAlloc(LeaderboardDownloadJob);
    if (task->Index == kFrontEndTaskSpare) {
        return nullptr;
    }
    LeaderboardDownloadWork& work = GetLeaderboardDownloadWork(task);
    work.Title = static_cast<std::uint8_t>(title);
    work.Mode = static_cast<std::uint8_t>(mode);
    work.Board = static_cast<std::uint8_t>(title == 0 ? mode : kCompanionFirstBoard + mode);
    SetLeaderboardDownloadForm(work, list);
    GetLeaderboardName(work);
    return task;
}

void SetLeaderboardDownloadForm(LeaderboardDownloadWork& work, const boost::shared_ptr<CLeaderboardListForm>& form)
{
    if (work.State) {
        work.State->ListForm = form;
    }
}

std::string MakeLeaderboardName(std::int32_t title, std::int32_t board)
{
    if (title == 0) {
        std::string name = "QVR/";
        if (board >= 0 && board < kCompanionFirstBoard) {
            name += kMainGameModeNames[board];
        }
        return name;
    }
    std::string name = "TV/";
    if (board == kCompanionFirstBoard || board == kCompanionFirstBoard + 1) {
        name += kCompanionGameModeNames[board - kCompanionFirstBoard];
    }
    return name;
}

void GetLeaderboardName(LeaderboardDownloadWork& work)
{
    if (auto form = FormOf(work)) {
        form->SetBoardName(MakeLeaderboardName(work.Title, work.Board));
    }
}

bool DownloadLeaderboardPage(std::int32_t firstRank, std::int32_t view, std::int32_t locate)
{
    if (gSteamLeaderboards == nullptr) {
        return false;
    }
    if (view == kViewFriends) {
        os::store::Friends* friends = os::store::GetFriends();
        const std::int32_t count = friends ? friends->GetFriendCount(4) : 0;
        return gSteamLeaderboards->DownloadScores(2, std::max(count, 0) + 1, 0, 0);
    }
    if (view == kViewMyScore) {
        if (locate == 1) {
            return gSteamLeaderboards->DownloadScores(1, kPageRows, -4, 5);
        }
        return gSteamLeaderboards->DownloadScores(0, kPageRows, firstRank, firstRank + 9);
    }
    // One more than the page holds; the client keeps what fits.
    return gSteamLeaderboards->DownloadScores(0, kPageRows, firstRank, firstRank + 10);
}

void CollectLeaderboardRows(std::int32_t view, LeaderboardDownloadWork& work)
{
    FreeLeaderboardDetails(work);
    if (gSteamLeaderboards == nullptr || work.State == nullptr) {
        work.Total = 0;
        work.Count = 0;
        return;
    }
    const std::int32_t kept = gSteamLeaderboards->GetKeptEntries();
    work.Total = view == kViewFriends ? kept : gSteamLeaderboards->GetBoardTotal();
    work.Count = kept;
    os::store::Friends* friends = os::store::GetFriends();
    work.State->Rows.assign(static_cast<std::size_t>(std::max(kept, 0)), LeaderboardRecord{});
    for (std::int32_t i = 0; i < kept; ++i) {
        const os::store::LeaderboardEntry& entry = gSteamLeaderboards->GetEntry(i);
        const std::int32_t* details = gSteamLeaderboards->GetDetails(i);
        LeaderboardRecord& row = work.State->Rows[static_cast<std::size_t>(i)];
        row.UserId = entry.user;
        row.Rank = entry.globalRank;
        row.Score = entry.score;
        const char* name = friends ? friends->GetFriendPersonaName(entry.user) : "";
        const std::string cut = CutUtf8(name ? name : "", kNameBytes);
        std::copy(cut.begin(), cut.end(), row.Name);
        row.Name[cut.size()] = '\0';
        row.Progress = details[0];
        row.Word1 = details[1];
        row.Word2 = details[2];
        row.UploadTime = static_cast<std::uint64_t>(static_cast<std::uint32_t>(details[3])) |
                         (static_cast<std::uint64_t>(static_cast<std::uint32_t>(details[4])) << 32);
    }
}

void FreeLeaderboardDetails(LeaderboardDownloadWork& work)
{
    if (work.State) {
        work.State->Rows.clear();
        work.State->Rows.shrink_to_fit();
    }
}

void PlaceLeaderboardPage(LeaderboardDownloadWork& work, std::uint64_t self)
{
    if (work.Count <= 0) {
        work.FirstRank = 0;
        return;
    }
    if (work.Locate == 0) {
        return;
    }
    work.Locate = 0;
    const std::vector<LeaderboardRecord>& rows = work.State->Rows;
    const std::int32_t count = std::min(work.Count, static_cast<std::int32_t>(rows.size()));
    if (work.View == kViewOverall) {
        work.CursorRow = 0;
    } else {
        for (std::int32_t i = 0; i < count; ++i) {
            if (rows[static_cast<std::size_t>(i)].UserId == self) {
                work.CursorRow = i;
                break;
            }
        }
    }
    if (work.View == kViewFriends) {
        work.FirstRank = (work.CursorRow / kPageRows) * kPageRows + 1;
        work.CursorRow = 0;
        if (work.FirstRank > work.Count - 9) {
            work.FirstRank = work.Count - 9;
        }
        if (work.FirstRank < 1) {
            work.FirstRank = 1;
        }
        for (std::int32_t k = 0; k < kPageRows && work.FirstRank - 1 + k < count; ++k) {
            if (rows[static_cast<std::size_t>(work.FirstRank - 1 + k)].UserId == self) {
                work.CursorRow = k;
                break;
            }
        }
    } else if (count > 0) {
        work.FirstRank = rows[0].Rank;
    }
}

std::string LeaderboardStageText(std::int32_t title, std::int32_t board, std::int32_t progress)
{
    if (title == 0) {
        if (board == 4 || board == 9) {
            return progress < 10 ? Formatted("PHASE %2d", progress) : std::string("PHASE ALL");
        }
        switch (progress) {
        case 31:
        case 32:
            return "AREA ALL";
        case 100:
            return "AREA 31";
        case 101:
            return "AREA ALL!";
        default:
            return Formatted("AREA %2d", progress);
        }
    }
    return progress <= 8 ? Formatted("STAGE %d", progress) : std::string("STAGE ALL");
}

std::string LeaderboardDateText(std::uint64_t fileTime)
{
    constexpr std::int64_t kSecondsFrom1601To1970 = 11644473600ll;
    const std::int64_t seconds = static_cast<std::int64_t>(fileTime / 10000000ull) - kSecondsFrom1601To1970;
    const std::time_t when = static_cast<std::time_t>(seconds);
    std::tm local{};
    if (localtime_r(&when, &local) == nullptr) {
        return std::string();
    }
    const long long year = static_cast<long long>(local.tm_year) + 1900;
    if (year < 1601 || year > 30827) {
        return std::string();
    }
    char buffer[64];
    std::snprintf(buffer, sizeof(buffer), "%4lld/%2d/%2d %02d:%02d:%02d", year, local.tm_mon + 1, local.tm_mday,
                  local.tm_hour, local.tm_min, local.tm_sec);
    return buffer;
}

std::string CutUtf8(const std::string& text, std::size_t maxBytes)
{
    if (text.size() <= maxBytes) {
        return text;
    }
    std::size_t end = maxBytes;
    // Step back over continuation bytes to the start of the character that does not fit.
    while (end > 0 && (static_cast<unsigned char>(text[end]) & 0xC0u) == 0x80u) {
        --end;
    }
    return text.substr(0, end);
}

void FormatLeaderboardDetail(LeaderboardDownloadWork& work)
{
    auto form = FormOf(work);
    if (!form) {
        return;
    }
    const std::uint64_t self = SelfId();
    form->SetPaging(work.Total, work.FirstRank);
    const std::int32_t n = std::clamp(work.Count, 0, kPageRows);
    form->SetRowCount(n);
    const std::vector<LeaderboardRecord>& rows = work.State->Rows;
    for (std::int32_t i = 0; i < n; ++i) {
        const std::int32_t at = work.View == kViewFriends ? work.FirstRank - 1 + i : i;
        if (at < 0 || static_cast<std::size_t>(at) >= rows.size()) {
            continue;
        }
        const LeaderboardRecord& row = rows[static_cast<std::size_t>(at)];
        form->SetRow(i, row.Rank, false, row.UserId == self, row.Name, static_cast<std::int64_t>(row.Score),
                     LeaderboardStageText(work.Title, work.Board, row.Progress), LeaderboardDateText(row.UploadTime));
    }
    form->SetCursorRow(work.CursorRow);
}

void HandleLeaderboardListRequest(std::int32_t request, FrontEndTask* task)
{
    LeaderboardDownloadWork& work = GetLeaderboardDownloadWork(task);
    auto form = FormOf(work);
    if (!form) {
        return;
    }
    const std::int32_t view = form->GetView();
    if (view != work.LastView) {
        work.LastView = view;
        work.View = (view == kViewMyScore || view == kViewFriends) ? view : kViewOverall;
        work.Locate = 1;
        task->State = kDownload;
        return;
    }
    if (work.Count < 1 || work.Total <= kPageRows) {
        return;
    }
    const std::int32_t old = work.FirstRank;
    if (request == CLeaderboardListForm::kRequestNext) {
        work.FirstRank += kPageRows;
        work.CursorRow = 0;
        if (work.FirstRank > work.Total - 9) {
            work.FirstRank = work.Total - 9;
            work.CursorRow = std::clamp(old + kPageRows - (work.Total - 9), 0, 9);
        }
    } else if (request == CLeaderboardListForm::kRequestPrevious) {
        work.FirstRank -= kPageRows;
        work.CursorRow = 9;
        if (work.FirstRank < 1) {
            work.FirstRank = 1;
            work.CursorRow = std::clamp(old - 2, 0, 9);
        }
    } else {
        return;
    }
    if (work.FirstRank == old) {
        return;
    }
    if (work.View == kViewFriends) {
        FormatLeaderboardDetail(work);
    } else {
        task->State = kDownload;
    }
    CFormSceneLink::PlaySound(EUiSound::Cursor);
}

void LeaderboardDownloadJob(FrontEndTask* task)
{
    LeaderboardDownloadWork& work = GetLeaderboardDownloadWork(task);
    if (task->State == kAllocated || task->State == kPosted) {
        work.State = States().Make();
        work.CursorRow = 0;
        work.FirstRank = 1;
        task->State = kSearch;
        return;
    }
    auto form = FormOf(work);
    std::int32_t request = CLeaderboardListForm::kRequestNone;
    if (form) {
        request = form->GetRequest();
        form->ClearRequest();
    }
    // A view that has closed, or is gone, ends the job now; a result still in flight arrives
    // at the client later and is not read.
    if (request == CLeaderboardListForm::kRequestClosed || (!form && task->State != kEnd)) {
        task->State = kEnd;
    }
    // By the job's own states, so that the compiler names a state left out; any other byte does nothing.
    switch (static_cast<DownloadState>(task->State)) {
    case kAllocated:
    case kPosted:
        break; // taken at the top
    case kSearch:
        Search(task, work, *form);
        break;
    case kWaitForBoard:
        if (!IsSteamRequestPending()) {
            task->State = (gSteamLeaderboards && gSteamLeaderboards->IsSucceeded()) ? kDownload : kAsk;
        }
        break;
    case kDownload:
        StartDownload(task, work, *form);
        break;
    case kWaitForDownload:
        if (!IsSteamRequestPending()) {
            if (gSteamLeaderboards && gSteamLeaderboards->IsSucceeded()) {
                task->State = kShowPage;
            } else {
                FailDownload(task, work, *form);
            }
        }
        break;
    case kShowPage:
        ShowPage(task, work, *form);
        break;
    case kServe:
        HandleLeaderboardListRequest(request, task);
        break;
    case kAsk:
        Ask(task, work);
        break;
    case kWaitForAnswer:
        TakeAnswer(task, work, *form);
        break;
    case kEnd:
        EndJob(task, work);
        break;
    }
}

boost::shared_ptr<CDialogForm> GetLeaderboardDownloadDialog()
{
    return g_downloadDialog;
}

std::int32_t frontend_testing::LeaderboardJobStatesHeld()
{
    return g_statesHeld;
}
