/** @file LeaderboardTestSupport.h A running store over a temporary folder, the task pool, recorded sounds, texts and
 * dialogs, and a list view that records what the download job hands it. */
#pragma once

#include <cstdint>
#include <string>
#include <tuple>
#include <vector>

#include <boost/shared_ptr.hpp>
#include <gtest/gtest.h>

#include "frontend/forms/DialogForm.h"
#include "frontend/forms/FormSceneLink.h"
#include "frontend/forms/LeaderboardDialogs.h"
#include "frontend/forms/LeaderboardListForm.h"
#include "frontend/steam/ScoreUpload.h"
#include "frontend/steam/SteamLeaderboards.h"
#include "frontend/steam/SteamServices.h"
#include "host/FrontEndTaskPool.h"
#include "os/store/Store.h"
#include "os/store/StoreTesting.h"
#include "support/TempDir.h"

namespace lbtest
{

constexpr std::uint64_t kSelf = 1000;

/// A board's entries in rank order, the user's the 14th, each with progress = its position.
inline std::vector<os::testing::SeedEntry> Entries(int count)
{
    std::vector<os::testing::SeedEntry> entries;
    for (int i = 0; i < count; ++i)
        entries.push_back({i == 13 ? kSelf : 100u + static_cast<std::uint64_t>(i), "p" + std::to_string(i),
                           10000 - i * 10, std::vector<std::int32_t>(61, i)});
    return entries;
}

/// What SetRow received.
struct RowCall
{
    std::int32_t rank;
    bool highlight;
    std::int64_t score;
    std::string name;
    std::string stage;
};

/// Never opened: it keeps what the job sets, and its view is the test's.
class RecordingListForm : public CLeaderboardListForm
{
public:
    std::int32_t GetView() override { return view; }
    void SetLoading(bool value) override { loading.push_back(value); }
    void SetRowCount(std::int32_t count) override
    {
        CLeaderboardListForm::SetRowCount(count);
        rowCount = count;
        rows.clear();
    }
    void SetRow(std::int32_t index, std::int32_t rank, bool replay, bool highlight, const std::string& name,
                std::int64_t score, const std::string& stage, const std::string& date) override
    {
        CLeaderboardListForm::SetRow(index, rank, replay, highlight, name, score, stage, date);
        rows.push_back({rank, highlight, score, name, stage});
    }
    void SetPaging(std::int32_t total, std::int32_t first) override
    {
        std::tie(pagingTotal, pagingFirst) = {total, first};
    }
    void SetCursorRow(std::int32_t row) override { cursor = row; }
    void SetBoardName(const std::string& name) override { boardName = name; }
    void Raise(std::int32_t code) { request_ = code; }

    std::int32_t view = 0;
    std::vector<bool> loading;
    std::vector<RowCall> rows;
    std::int32_t rowCount = -1;
    std::int32_t pagingTotal = -1;
    std::int32_t pagingFirst = -1;
    std::int32_t cursor = -1;
    std::string boardName;
};

/// Over the plain test, or over the form tests' screen fixture (whose sound record this one's hides).
template <class Base = ::testing::Test>
class TJobFixture : public Base
{
protected:
    void SetUp() override
    {
        Base::SetUp();
        os::testing::ResetStoreHooks();
        os::store::SetLogFunction([](const std::string&) {});
        os::testing::CaptureStoreDebugOutput([](const std::string&) {});
        ASSERT_TRUE(os::store::Init());
        os::store::SetSaveFolder(dir.Path());
        os::testing::SetStoreUser(kSelf, "me");
        if (gSteamLeaderboards == nullptr)
            CreateSteamServices();
        TaskPoolInit();
        // Every test here leaves the link reset.
        CFormSceneLink::SetSoundHandler([this](EUiSound sound) { sounds.push_back(sound); });
        SetLeaderboardTextLookup([this](const std::string& key) {
            texts.push_back(key);
            return key;
        });
        SetLeaderboardDialogShower([this](const boost::shared_ptr<CDialogForm>& dialog) { dialogs.push_back(dialog); });
    }

    void TearDown() override
    {
        Base::TearDown();
        TaskPoolInit();
        SetLeaderboardTextLookup({});
        SetLeaderboardDialogShower({});
        SetScoreUploadClock(nullptr);
        CFormSceneLink::Reset();
        os::store::Shutdown();
        os::testing::ResetStoreHooks();
        os::store::SetLogFunction(nullptr);
    }

    /// The main thread's share of one frame: the pool, then the store's results.
    static void Frame()
    {
        TaskPoolRunAll();
        os::store::RunCallbacks();
    }

    static void Frames(int count)
    {
        for (int i = 0; i < count; ++i)
            Frame();
    }

    korvane::test::TempDir dir;
    std::vector<EUiSound> sounds;
    std::vector<std::string> texts;
    std::vector<boost::shared_ptr<CDialogForm>> dialogs;
};
using JobFixture = TJobFixture<>;

} // namespace lbtest
