/** @file ScoreUpload.cpp The score upload request and its job. */
#include "frontend/steam/ScoreUpload.h"

#include <atomic>
#include <chrono>
#include <cstring>
#include <ctime>
#include <mutex>
#include <thread>
#include <type_traits>

#include "frontend/forms/DialogForm.h"
#include "frontend/forms/LeaderboardDialogs.h"
#include "frontend/steam/SteamLeaderboards.h"
#include "frontend/steam/SteamServices.h"
#include "host/FrontEndTaskPool.h"

LeaderboardRecord ScoreUploadRequest{};

static_assert(std::is_trivially_copyable_v<LeaderboardRecord>);

namespace
{

/// The job's states, by the numbers its task record's state byte holds. Each pass does its
/// state's work and stores the next state, whose work runs on the next frame.
enum UploadState : std::uint8_t
{
    kAllocated = 0, ///< a record the pool has just handed out
    kPosted = 1,    ///< the first pass, run inside the post
    kFind = 3,      ///< shows "MESSAGE" and starts finding the board (again, on a retry)
    kWaitForBoard = 4,
    kUpload = 7, ///< stamps the upload time and starts the upload
    kWaitForUpload = 8,
    kAsk = 9,            ///< asks "CONFIRM": try again?
    kWaitForAnswer = 10, ///< takes the answer once the question has closed
    kWaitForCanceled = 11,
    kEnd = 255, ///< frees the record, which lets the waiting game thread go on
};

constexpr std::int32_t kMessageFrames = 60;
constexpr std::int32_t kAnswerFrames = 40;
constexpr std::uint64_t kSecondsFrom1601To1970 = 11644473600ull;

/// The job's work area.
struct ScoreUploadWork
{
    std::int32_t Counter;
    /// The post that made the job; the job works on the record only while that post owns it.
    std::uint32_t Ticket;
};
static_assert(sizeof(ScoreUploadWork) <= sizeof(FrontEndTask::Work));

// The job's own copy of the request: written by the posting thread before the post, stamped by
// the job. It belongs to one post at a time: each post takes it with a new ticket, and a wait
// that stops gives it up. A job whose post no longer owns it ends at its next pass, so a job
// left behind by a stopped wait never reads, stamps or uploads the next post's request.
std::mutex& RecordLock()
{
    static std::mutex lock;
    return lock;
}
LeaderboardRecord g_jobRecord{};
std::uint32_t g_lastTicket = 0;  ///< under RecordLock
std::uint32_t g_recordOwner = 0; ///< under RecordLock; 0: no post

/// The serial the job's first call found, read by the posting thread after the post.
std::atomic<std::uint32_t> g_postedSerial{0};

boost::shared_ptr<CDialogForm> g_uploadDialog;

thread_local std::function<bool()> t_stopCheck;

std::function<std::uint64_t()>& Clock()
{
    static std::function<std::uint64_t()> clock;
    return clock;
}

void ClearRequest(std::int32_t board, std::uint32_t score, std::uint8_t progress)
{
    std::memset(&ScoreUploadRequest, 0, sizeof(ScoreUploadRequest));
    ScoreUploadRequest.BoardIndex = board;
    ScoreUploadRequest.Score = static_cast<std::int32_t>(score);
    ScoreUploadRequest.Progress = progress;
    ScoreUploadRequest.Word1 = 1;
    ScoreUploadRequest.Word2 = 0;
}

void ShowDialog(std::int32_t kind, const char* caption, const std::string& line1, const std::string& line2)
{
    g_uploadDialog.reset(new CDialogForm(kind, caption, line1, line2, std::string()));
    ShowLeaderboardDialog(g_uploadDialog);
}

void CloseDialog()
{
    if (g_uploadDialog) {
        g_uploadDialog->Close();
    }
}

bool DialogVisible()
{
    return g_uploadDialog && g_uploadDialog->IsVisible();
}

void CountDown(ScoreUploadWork& work)
{
    if (work.Counter > 0) {
        --work.Counter;
    }
}

/// Runs `use` on the job's record under the record's lock while the job's post still owns it;
/// false when the post has given it up.
template <class Use>
bool WithOwnRecord(const ScoreUploadWork& work, Use use)
{
    std::lock_guard<std::mutex> lock(RecordLock());
    if (work.Ticket == 0 || work.Ticket != g_recordOwner) {
        return false;
    }
    use(g_jobRecord);
    return true;
}

/// Ends a job whose post was given up: its dialog (once past finding, it has shown one) goes,
/// and nothing more is sent.
void EndAbandonedJob(FrontEndTask* task)
{
    const std::uint8_t state = task->State;
    if (state != kAllocated && state != kPosted && state != kFind) {
        CloseDialog();
    }
    TaskPoolFree(task);
}

/// Shows the message and starts finding the record's board.
void FindBoard(FrontEndTask* task, ScoreUploadWork& work)
{
    std::int32_t board = 0;
    if (!WithOwnRecord(work, [&board](LeaderboardRecord& record) { board = record.BoardIndex; })) {
        EndAbandonedJob(task);
        return;
    }
    ShowDialog(0, "MESSAGE", LeaderboardText("802"), std::string());
    work.Counter = kMessageFrames;
    FindLeaderboardByIndex(board);
    task->State = kWaitForBoard;
}

/// Stamps the record's upload time and starts the upload of its score.
void StartUpload(FrontEndTask* task, ScoreUploadWork& work)
{
    CountDown(work);
    bool started = false;
    // Checked and sent under one lock: a wait that stops now cannot slip in between.
    if (!WithOwnRecord(work, [&started](LeaderboardRecord& record) {
            record.UploadTime = Clock() ? Clock()() : CurrentFileTime();
            started = UploadScoreFromRequest(record);
        })) {
        EndAbandonedJob(task);
        return;
    }
    task->State = started ? kWaitForUpload : kAsk;
}

/// Once the message has stood its frames and no request is pending: done, or ask.
void WaitForUpload(FrontEndTask* task, ScoreUploadWork& work)
{
    CountDown(work);
    if (work.Counter == 0 && !IsSteamRequestPending()) {
        CloseDialog();
        task->State = (gSteamLeaderboards && gSteamLeaderboards->IsSucceeded()) ? kEnd : kAsk;
    }
}

void Ask(FrontEndTask* task, ScoreUploadWork& work)
{
    CloseDialog();
    const std::string line1 = LeaderboardText("805_1");
    ShowDialog(2, "CONFIRM", line1, LeaderboardText("805_2"));
    work.Counter = kAnswerFrames;
    task->State = kWaitForAnswer;
}

/// Once the question has stood its frames and closed: the whole attempt again, or give up.
void TakeAnswer(FrontEndTask* task, ScoreUploadWork& work)
{
    CountDown(work);
    if (work.Counter == 0 && !DialogVisible()) {
        if (g_uploadDialog && g_uploadDialog->IsAccepted()) {
            task->State = kFind;
        } else {
            ShowDialog(1, "CANCELED", LeaderboardText("806"), std::string());
            task->State = kWaitForCanceled;
        }
    }
}

} // namespace

void PrepareMainGameScoreUpload(std::uint8_t difficulty, std::uint8_t variant, std::uint32_t score,
                                std::uint8_t progress)
{
    ClearRequest(difficulty + 5 * variant, score, progress);
}

void PrepareCompanionGameScoreUpload(std::uint8_t mode, std::uint32_t score, std::uint8_t progress)
{
    ClearRequest(10 + mode, score, progress);
}

std::int32_t RequestScoreUpload()
{
    std::uint32_t ticket = 0;
    {
        std::lock_guard<std::mutex> lock(RecordLock());
        if (++g_lastTicket == 0) {
            ++g_lastTicket; // 0 stands for no post
        }
        ticket = g_lastTicket;
        g_jobRecord = ScoreUploadRequest;
        g_recordOwner = ticket;
    }
    // The job's first step runs inside the post, under the pool's lock, and notes its serial
    // and ticket there: reading the serial from the record afterwards could already see the
    // freed one.
    FrontEndTask* task = TaskPoolAlloc(ScoreUploadJob);
    if (TaskPoolReadIndex(task) == kFrontEndTaskSpare) {
        return 1;
    }
    const std::uint32_t serial = g_postedSerial.load(std::memory_order_acquire);
    while (TaskPoolReadSerial(task) == serial) {
        if (t_stopCheck && t_stopCheck()) {
            // Nobody waits for the job any more: it must not go on with a record that the next
            // post overwrites. It ends at its next pass.
            std::lock_guard<std::mutex> lock(RecordLock());
            if (g_recordOwner == ticket) {
                g_recordOwner = 0;
            }
            break;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    return 1;
}

void SetScoreUploadStopCheck(std::function<bool()> check)
{
    t_stopCheck = std::move(check);
}

void ScoreUploadJob(FrontEndTask* task)
{
    auto& work = *reinterpret_cast<ScoreUploadWork*>(task->Work);
    if (task->FirstCall != 0) {
        // Inside the post, on the posting thread: the record is this post's now.
        g_postedSerial.store(task->Serial, std::memory_order_release);
        std::lock_guard<std::mutex> lock(RecordLock());
        work.Ticket = g_recordOwner;
    } else if (task->State != kEnd && !WithOwnRecord(work, [](LeaderboardRecord&) {})) {
        EndAbandonedJob(task);
        return;
    }
    // By the job's own states, so that the compiler names a state left out; any other byte does nothing.
    switch (static_cast<UploadState>(task->State)) {
    case kAllocated:
    case kPosted:
        task->State = kFind;
        break;
    case kFind:
        FindBoard(task, work);
        break;
    case kWaitForBoard:
        if (!IsSteamRequestPending()) {
            task->State = kUpload;
        }
        break;
    case kUpload:
        StartUpload(task, work);
        break;
    case kWaitForUpload:
        WaitForUpload(task, work);
        break;
    case kAsk:
        Ask(task, work);
        break;
    case kWaitForAnswer:
        TakeAnswer(task, work);
        break;
    case kWaitForCanceled:
        if (!DialogVisible()) {
            task->State = kEnd;
        }
        break;
    case kEnd:
        TaskPoolFree(task);
        break;
    }
}

void BuildScoreUploadDetails(const LeaderboardRecord& record, std::int32_t* details)
{
    const auto& v = record.SmallValues;
    details[0] = record.Progress;
    details[1] = record.Word1;
    details[2] = record.Word2;
    details[3] = static_cast<std::int32_t>(static_cast<std::uint32_t>(record.UploadTime & 0xFFFFFFFFu));
    details[4] = static_cast<std::int32_t>(static_cast<std::uint32_t>(record.UploadTime >> 32));
    details[5] = v[0] + 16 * v[1] + 256 * v[2] + 4096 * v[3];
    details[6] = v[4] + 16 * v[5] + 256 * v[6] + 4096 * v[7];
    details[7] = v[8] + 16 * v[9];
    for (int i = 0; i < 52; ++i) {
        details[9 + i] = record.Extra[i];
    }
    // Unsigned, so the wrap is defined.
    std::uint32_t sum = 0;
    for (int i = 0; i < CSteamLeaderboards::kDetailCount; ++i) {
        if (i != 8) {
            sum += static_cast<std::uint32_t>(details[i]);
        }
    }
    details[8] = static_cast<std::int32_t>(sum);
}

bool UploadScoreFromRequest(const LeaderboardRecord& record)
{
    if (gSteamLeaderboards == nullptr) {
        return false;
    }
    std::int32_t details[CSteamLeaderboards::kDetailCount];
    BuildScoreUploadDetails(record, details);
    return gSteamLeaderboards->UploadScore(record.Score, details);
}

std::uint64_t CurrentFileTime()
{
    timespec now{};
    clock_gettime(CLOCK_REALTIME, &now);
    return (static_cast<std::uint64_t>(now.tv_sec) + kSecondsFrom1601To1970) * 10000000ull +
           static_cast<std::uint64_t>(now.tv_nsec) / 100u;
}

void SetScoreUploadClock(std::function<std::uint64_t()> clock)
{
    Clock() = std::move(clock);
}

boost::shared_ptr<CDialogForm> GetScoreUploadDialog()
{
    return g_uploadDialog;
}

LeaderboardRecord GetScoreUploadJobRecord()
{
    std::lock_guard<std::mutex> lock(RecordLock());
    return g_jobRecord;
}
