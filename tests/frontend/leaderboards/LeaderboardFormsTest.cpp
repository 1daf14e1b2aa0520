/** @file LeaderboardFormsTest.cpp The chooser, the list view and the credits on the OpenGL device over the built
 * archive, with the screen driven a frame at a time. */
#include "LeaderboardTestSupport.h"
#include "frontend/forms/CreditsForm.h"
#include "frontend/forms/FormNames.h"
#include "frontend/forms/GameSelectForm.h"
#include "frontend/forms/LeaderboardDownloadJob.h"
#include "frontend/forms/LeaderboardSelectForm.h"

// The run-wide driver on an offscreen device, the archive's fonts and skin, as the form tests have them.
#include "frontend/forms/FormsTestSupport.cpp"

using formtest::kFrame;

class LeaderboardFormsTest : public lbtest::TJobFixture<formtest::FormsTest>
{
protected:
    void SetUp() override
    {
        TJobFixture::SetUp();
        // The jobs' dialogs go on the screen as in the program.
        SetLeaderboardDialogShower({});
    }

    /// One frame as the program runs it: the screen, then the pool and the store.
    void ScreenFrame(int count = 1)
    {
        for (int i = 0; i < count; ++i, Frame())
            screen->Update(kFrame);
    }
};

TEST_F(LeaderboardFormsTest,
       ChooserSearchesIntoTheListAndReopensWhenAFailedSearchIsDeclinedAndTheListAndCreditsAnswerTheirKeys)
{
    ASSERT_TRUE(os::testing::SeedLeaderboard("LB_TV_DEF_NORMAL", lbtest::Entries(25)));
    auto chooser = boost::make_shared<CLeaderboardSelectForm>();
    screen->AddControl(chooser);
    EXPECT_EQ(std::tuple(chooser->TitleLabel, 10u),
              std::tuple(chooser->GetFocusedLeaf(), chooser->GameModeSelector->GetItems().size()));
    sounds.clear();
    chooser->TitleSelector->SetSelectedIndex(1);
    EXPECT_EQ(std::tuple(std::vector<std::string>{"TRIAL", "NORMAL"}, 0),
              std::tuple(chooser->GameModeSelector->GetItems(), chooser->GameModeSelector->GetSelectedIndex()));
    chooser->GameModeSelector->SetSelectedIndex(1);
    EXPECT_EQ(2u, sounds.size());

    chooser->Search(nullptr);
    EXPECT_TRUE(chooser->IsClosing());
    ASSERT_EQ(1u, FormsOf<CLeaderboardListForm>().size());
    auto list = FormsOf<CLeaderboardListForm>()[0];
    ScreenFrame();
    EXPECT_TRUE(list->ProgressPanel->IsVisible()) << "ACCESSING...";
    ScreenFrame(10);
    ASSERT_EQ(10u, list->GetRows().size());
    EXPECT_EQ(std::tuple(false, "00025"),
              std::tuple(list->ProgressPanel->IsVisible(), list->TotalPlayersLabel->GetCaption()));

    // Down on the last row pages, with the job's cursor sound only.
    list->SetCursorRow(9);
    sounds.clear();
    screen->OnKeyDown(0x28);
    ScreenFrame(10);
    EXPECT_EQ(std::tuple(11, std::vector<EUiSound>{EUiSound::Cursor}), std::tuple(list->GetRows()[0].Rank, sounds));

    // Escape reopens the chooser on the same title and mode, and the job ends.
    sounds.clear();
    screen->OnKeyDown(0x1B);
    ScreenFrame();
    EXPECT_EQ(std::tuple(0, EUiSound::Cancel), std::tuple(TaskPoolCount(), sounds.front()));
    chooser = FormsOf<CLeaderboardSelectForm>().back();
    EXPECT_EQ(std::tuple(1, 1),
              std::tuple(chooser->TitleSelector->GetSelectedIndex(), chooser->GameModeSelector->GetSelectedIndex()));

    // Declining a failed search reopens the chooser too.
    ScreenFrame(100);
    os::testing::FailNextStoreRequest(os::testing::StoreRequest::FindLeaderboard, os::testing::StoreFailure::NotFound);
    chooser->Search(nullptr);
    list = FormsOf<CLeaderboardListForm>().at(0);
    for (int i = 0; i < 20 && !GetLeaderboardDownloadDialog(); ++i)
        ScreenFrame();
    auto dialog = GetLeaderboardDownloadDialog();
    ASSERT_TRUE(dialog);
    EXPECT_TRUE(list->ProgressPanel->IsVisible()) << "still accessing under the question";
    screen->OnKeyDown(0x1B);
    ScreenFrame(100);
    EXPECT_EQ(std::tuple(0, 0u), std::tuple(TaskPoolCount(), FormsOf<CLeaderboardListForm>().size()))
        << "closed and gone";
    const auto reopened = FormsOf<CLeaderboardSelectForm>();
    ASSERT_EQ(1u, reopened.size());
    EXPECT_EQ(std::tuple(true, 1, 1), std::tuple(chooser != reopened[0], reopened[0]->TitleSelector->GetSelectedIndex(),
                                                 reopened[0]->GameModeSelector->GetSelectedIndex()));

    // A list of its own: paging captions and keys; then the credits from the title menu and back.
    screen->RemoveAllControls();
    list = boost::make_shared<CLeaderboardListForm>();
    screen->AddControl(list);
    list->SetRowCount(10);
    list->SetPaging(25, 11);
    EXPECT_EQ(std::tuple(25.0, 10.0, true, "00025"),
              std::tuple(list->ScrollBar->GetMaximum(), list->ScrollBar->GetValue(), list->ScrollBar->IsVisible(),
                         list->TotalPlayersLabel->GetCaption()));
    list->SetPaging(8, 1);
    EXPECT_FALSE(list->ScrollBar->IsVisible());
    list->SetPaging(123456, 1);
    EXPECT_EQ("123456", list->TotalPlayersLabel->GetCaption());

    list->SetCursorRow(4);
    sounds.clear();
    screen->OnKeyDown(0x28);
    EXPECT_EQ(std::tuple(std::vector<EUiSound>{EUiSound::Cursor}, 5),
              std::tuple(sounds, list->ListBox->GetSelectedIndex()));
    list->SetCursorRow(0);
    screen->OnKeyDown(0x26);
    EXPECT_EQ(CLeaderboardListForm::kRequestPrevious, list->GetRequest());
    EXPECT_THROW(list->SetRow(10, 1, false, false, "", 0, "", ""), std::out_of_range);

    sounds.clear();
    screen->OnKeyDown(0x25);
    EXPECT_TRUE(sounds.empty()) << "no view before Overall";
    screen->OnKeyDown(0x27);
    EXPECT_EQ(std::tuple(1, std::vector<EUiSound>{EUiSound::Cursor}), std::tuple(list->GetView(), sounds));
    list->SetRowCount(0);
    list->SetLoading(false);
    EXPECT_TRUE(list->NoEntryLabel->IsVisible());
    list->SetLoading(true);
    EXPECT_FALSE(list->NoEntryLabel->IsVisible());
    screen->RemoveAllControls();

    auto menu = Show(boost::make_shared<CGameSelectForm>());
    menu->CreditsButton->SetFocus();
    menu->OnCredits(nullptr);
    ASSERT_EQ(1u, FormsOf<CCreditsForm>().size());
    auto credits = FormsOf<CCreditsForm>()[0];
    // The window scene hands keys only to a keyed form with a focused leaf: an empty container holding the focus
    // leaves none, and the credits could not be left.
    EXPECT_EQ(std::tuple("credits_1", credits->KeyPanel, form_names::kGroupKeyed, true),
              std::tuple(credits->Lines[0]->GetCaption(), credits->GetFocusedLeaf(), credits->GetGroup(),
                         credits->IsFocusable() && credits->IsEnabled()));
    sounds.clear();
    screen->OnKeyDown(0x1B);
    EXPECT_EQ(std::vector<EUiSound>{EUiSound::Cancel}, sounds);
    auto menus = FormsOf<CGameSelectForm>();
    ASSERT_EQ(2u, menus.size());
    EXPECT_EQ(menus.back()->CreditsButton, menus.back()->GetFocusedLeaf());
}
