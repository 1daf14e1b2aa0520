/** @file DownloadJobTest.cpp The download job against the local store and a recording list view: paging, views, the
 * user's row, failures, a view that closes with a request in flight and a program that ends with one. */
#include <cstdlib>
#include <tuple>

#include <boost/make_shared.hpp>

#include "LeaderboardTestSupport.h"
#include "frontend/forms/LeaderboardDownloadJob.h"

using lbtest::JobFixture;
using lbtest::kSelf;
using lbtest::RecordingListForm;

/// A record outside the pool, in the state that serves requests.
struct ServingJob
{
    ServingJob(std::int32_t view, std::int32_t total, std::int32_t count, std::int32_t first)
    {
        task.State = 9;
        work().State = &state;
        std::tie(work().View, work().LastView, work().Total, work().Count, work().FirstRank) =
            std::tuple(view, view, total, count, first);
        state.Rows.assign(static_cast<std::size_t>(count), LeaderboardRecord{});
        for (std::size_t i = 0; i < state.Rows.size(); ++i)
            std::tie(state.Rows[i].Rank, state.Rows[i].UserId) = std::tuple(static_cast<std::int32_t>(i + 1), 100u + i);
        form->view = view;
        state.ListForm = form;
    }
    LeaderboardDownloadWork& work() { return GetLeaderboardDownloadWork(&task); }

    FrontEndTask task{};
    LeaderboardJobState state;
    boost::shared_ptr<RecordingListForm> form = boost::make_shared<RecordingListForm>();
};

class DownloadJobTest : public JobFixture
{
protected:
    /// A job whose view went with the test ends at the pool's next pass and frees its state, so
    /// the next test starts with none held.
    void TearDown() override
    {
        Frames(2);
        JobFixture::TearDown();
    }

    /// The companion game's second mode (board 11), as the chooser posts it.
    static FrontEndTask* Post(const boost::shared_ptr<RecordingListForm>& form)
    {
        return PostLeaderboardDownload(1, 1, form);
    }

    /// Frames until the job serves requests again (a bounded number).
    static void Settle(FrontEndTask* task)
    {
        for (int i = 0; i < 20 && task->State != 9 && task->State != 16; ++i)
            Frame();
    }
};

TEST_F(DownloadJobTest, RequestsMoveThePageAndCursorFriendsPageLocallyAndAFailedSearchOrDownloadIsAnswered)
{
    // The request, the total and first rank; the first rank and cursor it leads to, and whether the page moved.
    const std::tuple<std::int32_t, std::int32_t, std::int32_t, std::int32_t, std::int32_t, bool> cases[] = {
        {3, 25, 11, 16, 5, true}, {3, 25, 16, 16, 9, false}, {4, 25, 5, 1, 3, true},
        {4, 25, 16, 6, 9, true},  {3, 10, 1, 1, -1, false},  {1, 25, 1, 1, -1, false}};
    for (const auto& [request, total, first, wantFirst, wantCursor, moved] : cases) {
        ServingJob job(0, total, 10, first);
        job.work().CursorRow = -1;
        sounds.clear();
        HandleLeaderboardListRequest(request, &job.task);
        // A moved page is downloaded (state 6), with the cursor sound.
        EXPECT_EQ(std::tuple(wantFirst, wantCursor, moved ? 6 : 9, moved ? 1u : 0u),
                  std::tuple(job.work().FirstRank, job.work().CursorRow, job.task.State, sounds.size()))
            << request << " from " << first;
    }

    // Friends: the page around the user, and paging locally.
    ServingJob job(2, 25, 25, 1);
    job.state.Rows[13].UserId = kSelf;
    job.work().Locate = 1;
    PlaceLeaderboardPage(job.work(), kSelf);
    EXPECT_EQ(std::tuple(11, 3, 0), std::tuple(job.work().FirstRank, job.work().CursorRow, job.work().Locate));

    job.state.Rows[12].Score = -1;
    FormatLeaderboardDetail(job.work());
    ASSERT_EQ(10u, job.form->rows.size());
    // The score sign-extended to 64 bits; the user highlighted under the cursor.
    EXPECT_EQ(std::tuple(11, std::int64_t{-1}, true, 3), std::tuple(job.form->rows[0].rank, job.form->rows[2].score,
                                                                    job.form->rows[3].highlight, job.form->cursor));
    HandleLeaderboardListRequest(3, &job.task);
    EXPECT_EQ(std::tuple(9, 16, 5), std::tuple(job.task.State, job.form->rows[0].rank, job.form->cursor))
        << "friends page from the rows held";
    job.form->view = 0;
    HandleLeaderboardListRequest(0, &job.task);
    EXPECT_EQ(std::tuple(6, 1), std::tuple(job.task.State, job.work().Locate)) << "a view change searches again";

    // Through the store: a failed search asks and retries, Overall and My Score find the user's row, and a failed
    // download empties the list.
    ASSERT_TRUE(os::testing::SeedLeaderboard("LB_TV_DEF_NORMAL", lbtest::Entries(25))); // the user's the 14th
    os::testing::FailNextStoreRequest(os::testing::StoreRequest::FindLeaderboard, os::testing::StoreFailure::NotFound);
    auto form = boost::make_shared<RecordingListForm>();
    FrontEndTask* task = Post(form);
    EXPECT_EQ("TV/NORMAL", form->boardName);
    Settle(task);
    ASSERT_EQ(std::tuple(16, std::size_t{1}), std::tuple(task->State, dialogs.size()));
    // A board never found leaves the view loading: no rows.
    EXPECT_EQ(std::tuple(2, std::vector<std::string>{"808_1", "808_2"}, 0u),
              std::tuple(dialogs[0]->GetKind(), texts, form->rows.size()));
    dialogs[0]->OnKeyDown(nullptr, 0x0D);
    Frames(40);
    Settle(task);
    ASSERT_EQ(std::tuple(9, std::size_t{10}), std::tuple(task->State, form->rows.size()));
    EXPECT_EQ(std::tuple(1, std::string("STAGE 0"), 25, 0, false),
              std::tuple(form->rows[0].rank, form->rows[0].stage, form->pagingTotal, form->cursor,
                         bool(form->loading.back())));

    form->view = 1;
    Frame();
    Settle(task);
    ASSERT_EQ(10u, form->rows.size());
    // Four above the user's 14th place, highlighted under the cursor.
    EXPECT_EQ(
        std::tuple(10, 10, 4, true, std::string("me")),
        std::tuple(form->rows[0].rank, form->pagingFirst, form->cursor, form->rows[4].highlight, form->rows[4].name));

    os::testing::FailNextStoreRequest(os::testing::StoreRequest::DownloadEntries, os::testing::StoreFailure::IoFailure);
    form->Raise(CLeaderboardListForm::kRequestNext);
    Frame();
    Settle(task);
    ASSERT_EQ(16, task->State);
    EXPECT_EQ(std::tuple(0, 25, false), std::tuple(form->rowCount, form->pagingTotal, bool(form->loading.back())))
        << "no rows, the total kept, not loading";
}

TEST_F(DownloadJobTest, ClosedViewEndsTheJobAndItsLateResultIsUnused)
{
    ASSERT_TRUE(os::testing::SeedLeaderboard("LB_TV_DEF_NORMAL", lbtest::Entries(25))); // the user's the 14th
    os::testing::DelayStoreResults(3);
    auto form = boost::make_shared<RecordingListForm>();
    FrontEndTask* task = Post(form);
    for (int i = 0; i < 20 && task->State != 7; ++i)
        Frame();
    ASSERT_EQ(7, task->State) << "the download is in flight";
    form->Raise(CLeaderboardListForm::kRequestClosed);
    Frame();
    EXPECT_EQ(0, TaskPoolCount());
    Frames(10);
    EXPECT_EQ(std::tuple(0u, -1), std::tuple(form->rows.size(), form->rowCount));

    // A view that is gone ends a job too.
    os::testing::DelayStoreResults(0);
    auto other = boost::make_shared<RecordingListForm>();
    Post(other);
    other.reset();
    Frames(2);
    EXPECT_EQ(std::tuple(0, 0), std::tuple(TaskPoolCount(), frontend_testing::LeaderboardJobStatesHeld()));
}

TEST_F(DownloadJobTest, AStateHeldWhenTheProgramEndsGoesWithTheProgram)
{
    // No pass of the pool is left to end the job. The child's exit code is the number of states
    // still held once the program's statics are gone.
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    const auto endDuringDownload = [this] {
        // Registered before the first state exists: it runs after that state's owner has gone.
        std::atexit([] { std::_Exit(frontend_testing::LeaderboardJobStatesHeld()); });
        os::testing::DelayStoreResults(3);
        auto form = boost::make_shared<RecordingListForm>();
        FrontEndTask* task = Post(form);
        for (int i = 0; i < 20 && task->State != 7; ++i)
            Frame();
        if (task->State != 7)
            std::_Exit(100); // no download in flight
        std::exit(0);
    };
    EXPECT_EXIT(endDuringDownload(), ::testing::ExitedWithCode(0), "");
}
