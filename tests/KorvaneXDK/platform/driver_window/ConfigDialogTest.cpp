/** @file ConfigDialogTest.cpp The dialog block, the library exchange and the chosen mode, against a
 * recording dialog library; and the program's own library: its default mode, its previous choice read from a damaged
 * file, saved under a data root that does not exist yet, and a choice it cannot keep. */

#include <grp.h>
#include <pwd.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstring>
#include <filesystem>
#include <functional>
#include <optional>
#include <set>

#include <gmock/gmock.h>

#include "KorvaneXDK/core/FileSystemDataLoader.h"
#include "KorvaneXDK/platform/ConfigDialogDX9.h"
#include "KorvaneXDK/platform/GameApplicationDriverCX.h"
#include "os/gfx/Direct3D.h"
#include "os/gfx/Testing.h"
#include "os/system/System.h"
#include "support/ExpectThrow.h"
#include "support/LogCapture.h"
#include "support/TempDir.h"

namespace
{

using korvane::CConfigDialogDX9;
using korvane::test::LogCapture;
using os::gfx::Format;

using ScriptFunction = void (*)(const ConfigDialogResult*, int, int);
using BlockFunction = const ConfigDialogBlock* (*)(int*, int*);

class ConfigDialogTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        os::testing::SetMessageBoxSink([this](const std::string&, const std::string& text) { boxes.push_back(text); });
        // The test keeps the recording library loaded, so the dialog's load finds the same copy.
        recorder = os::system::LoadLibrary(RECORDING_CONFDLG_PATH);
        ASSERT_NE(nullptr, recorder) << os::system::GetLastErrorText();
        script = reinterpret_cast<ScriptFunction>(os::system::GetProcAddress(recorder, "RecordingConfDlgScript"));
        block = reinterpret_cast<BlockFunction>(os::system::GetProcAddress(recorder, "RecordingConfDlgBlock"));
        os::testing::RedirectLibrary(kConfDlgLibraryName, RECORDING_CONFDLG_PATH);
        direct3D = os::gfx::Direct3DCreate9(os::gfx::kSdkVersion);
        ASSERT_NE(nullptr, direct3D);
        os::testing::ReplaceAdapterList({"Primary"});
        os::testing::ReplaceAdapterModes(
            0, {{640, 480, 60, Format::X8R8G8B8}, {1280, 720, 60, Format::X8R8G8B8}, {320, 240, 60, Format::X8R8G8B8}});
        dialog.SetDirect3D(direct3D.get());
    }
    void TearDown() override
    {
        direct3D.reset();
        os::system::FreeLibrary(recorder);
        os::testing::ResetLibraryHooks();
        os::testing::ResetGraphicsHooks();
        os::testing::SetMessageBoxSink({});
        unsetenv("XDG_DATA_HOME");
    }

    void Script(ConfigDialogResult result, int showAnswer, int version = 5) { script(&result, showAnswer, version); }
    /// The block the library was given; `shows` and `previous` count the calls of the last run.
    const ConfigDialogBlock& Recorded() { return *block(&shows, &previous); }

    korvane::test::TempDir dir;
    LogCapture log;
    std::vector<std::string> boxes;
    int shows = 0, previous = 0;
    os::system::LibraryHandle recorder = nullptr;
    ScriptFunction script = nullptr;
    BlockFunction block = nullptr;
    std::shared_ptr<os::gfx::Direct3D> direct3D;
    CConfigDialogDX9 dialog;
};

TEST_F(ConfigDialogTest, TheBlockHoldsCutNamesTheListedModesAndTheThreeGroupsOfAtMostEightAdapters)
{
    os::testing::ReplaceAdapterList({"Broken", std::string(100, 'N'), "Third"});
    os::testing::FailAdapterCaps(0, true);
    for (std::uint32_t a = 1; a < 3; ++a)
        os::testing::ReplaceAdapterModes(a, {{640, 480, 60, Format::X8R8G8B8}, {2000, 480, 60, Format::X8R8G8B8}});
    dialog.SetTitle(std::string(80, 'T'));
    dialog.SetMaximumScreenSize(1920, 1080);
    Script({1, 0, 0, 1, 1, 24, 1}, 1);
    ASSERT_TRUE(dialog.Run(false)) << LogCapture::All();

    const ConfigDialogBlock& b = Recorded();
    EXPECT_EQ(std::string(63, 'T'), std::string(b.title));
    ASSERT_EQ(2, b.adapterCount); // the adapter without capabilities is skipped, its record reused
    EXPECT_TRUE(LogCapture::Contains("HAL デバイスの能力を取得できません. このディスプレイアダプタをスキップします."));
    const ConfigDialogAdapter& a = b.adapters[0];
    EXPECT_EQ(std::make_tuple(1u, std::string(63, 'N'), std::string("Third (モニタ3)")),
              std::make_tuple(a.ordinal, std::string(a.name), std::string(b.adapters[1].name)));
    // 640 x 480 once per format; 2000 wide is past the limit.
    ASSERT_EQ(std::make_pair(3, 3), std::make_pair(a.modeCount, a.formatGroupCount));
    const int bits[3] = {32, 16, 15};
    for (int g = 0; g < 3; ++g) {
        EXPECT_EQ(std::make_tuple(640u, std::uint32_t(bits[g]), bits[g]),
                  std::make_tuple(a.modes[g].width, a.modes[g].bitsPerPixel, a.formatGroups[g].bitsPerPixel));
        EXPECT_EQ((std::vector<int>{0, 0, 1, 0}),
                  std::vector<int>(a.formatGroups[g].multiSample, a.formatGroups[g].multiSample + 4));
    }
    EXPECT_EQ(std::vector<int>(20, 0), std::vector<int>(std::begin(a.reserved), std::end(a.reserved)));
    // Records past the count stay zero.
    const auto* rest = reinterpret_cast<const unsigned char*>(&b.adapters[2]);
    EXPECT_EQ(nullptr, std::memchr(rest, 1, sizeof(ConfigDialogAdapter) * 6));
    EXPECT_TRUE(LogCapture::Contains("Display adapter #1: " + std::string(63, 'N') + " (3 modes)"));

    // More than eight adapters are cut; none at all is reported.
    os::testing::FailAdapterCaps(0, false);
    os::testing::ReplaceAdapterList(std::vector<std::string>(9, "Same"));
    ASSERT_TRUE(dialog.Run(false));
    EXPECT_EQ(8, Recorded().adapterCount);
    EXPECT_TRUE(LogCapture::Contains("ディスプレイアダプタは最大 8 個までの対応です. 9 "
                                     "個め以降のアダプタはリストアップされません."));

    os::testing::ReplaceAdapterList({"Only"});
    os::testing::FailAdapterCaps(0, true);
    EXPECT_FALSE(dialog.Run(false));
    EXPECT_EQ(
        std::vector<std::string>{
            "Direct3D 対応ディスプレイデバイスが見つかりませんでした.\nグラフィックカードが DirectX 9 "
            "に対応しているか確認してください.\n\nプログラムの実行を中止します."},
        boxes);
}

TEST_F(ConfigDialogTest, TheResultBecomesPresentParametersCancelAndBadIndicesMakeNoChoiceAndLibraryFailuresThrow)
{
    // Cancel and bad indices make no choice: the dialog keeps none.
    Script({0, 0, 0, 1, 1, 24, 1}, 0);
    EXPECT_FALSE(dialog.Run(false));
    EXPECT_TRUE(LogCapture::Contains("コンフィグダイアログをキャンセルしました."));
    EXPECT_EQ(-1, dialog.GetAdapter());

    const ConfigDialogResult bad[] = {
        {1, 0, 0, 1, 1, 24, 1}, {-1, 0, 0, 1, 1, 24, 1}, {0, 6, 0, 1, 1, 24, 1}, {0, -1, 0, 1, 1, 24, 1}};
    for (const ConfigDialogResult& r : bad) {
        SCOPED_TRACE(r.adapter * 100000 + r.mode);
        Script(r, 0);
        LogCapture::Clear();
        // The previous choice is used without asking (its answer is ignored), and then refused.
        EXPECT_FALSE(dialog.Run(true));
        Recorded();
        EXPECT_EQ(std::make_pair(0, 1), std::make_pair(shows, previous));
        EXPECT_TRUE(LogCapture::Contains("index from the config dialog")) << LogCapture::All();
        EXPECT_EQ(-1, dialog.GetAdapter());
    }

    // Modes per adapter: 640 x 480 and 1280 x 720 in 32, then 16, then 15 bits.
    const std::tuple<ConfigDialogResult, Format, Format, std::uint32_t, std::uint32_t> cases[] = {
        {{0, 1, 0, 4, 1, 24, 1}, Format::X8R8G8B8, Format::D24X8, 1u, os::gfx::present::IntervalOne},
        {{0, 3, 4, 2, 0, 32, 0}, Format::R5G6B5, Format::D32, 0u, os::gfx::present::IntervalImmediate},
        {{0, 5, 0, 1, 1, 8, 2}, Format::X1R5G5B5, Format::D16, 1u, os::gfx::present::IntervalOne}};
    for (const auto& [result, backBuffer, depth, flags, interval] : cases) {
        SCOPED_TRACE(result.mode);
        Script(result, 1);
        ASSERT_TRUE(dialog.Run(false));
        const os::gfx::PresentParameters& full = dialog.GetFullscreenPresentParameters();
        const os::gfx::PresentParameters& windowed = dialog.GetWindowedPresentParameters();
        EXPECT_EQ(std::make_tuple(1280u, backBuffer, depth, flags, interval, 60u, false),
                  std::make_tuple(full.BackBufferWidth, full.BackBufferFormat, full.AutoDepthStencilFormat, full.Flags,
                                  full.PresentationInterval, full.FullScreenRefreshRateInHz, full.Windowed));
        EXPECT_EQ(std::make_tuple(true, Format::Unknown, 0u),
                  std::make_tuple(windowed.Windowed, windowed.BackBufferFormat, windowed.FullScreenRefreshRateInHz));
        EXPECT_EQ(std::make_tuple(std::uint32_t(result.anisotropy), result.windowed == 0, 0),
                  std::make_tuple(dialog.GetAnisotropy(), dialog.GetFullscreen(), dialog.GetAdapter()));
    }
    EXPECT_TRUE(LogCapture::Contains("Selected display mode: Adapter = #0, Mode = 5, MultiSample = 0, Anisotropy = 1, "
                                     "Windowed = 1, DepthBufferBits = 8, VSync = 2"));
    EXPECT_TRUE(LogCapture::Contains("Selected display mode description: 1280 x 720, 15 bpp, 60 Hz"));

    dialog.SetEnablePerfHUD(true);
    ASSERT_TRUE(dialog.Run(false));
    EXPECT_TRUE(LogCapture::Contains("No NVIDIA PerfHUD: 'Primary (モニタ1)'"));
    EXPECT_EQ(os::gfx::DeviceType::Hal, dialog.GetDeviceType());

    // Library failures throw their texts.
    const auto runFails = [&](const char* message) {
        korvane::test::ExpectThrowWith<korvane::EIOError>([&] { dialog.Run(false); }, message);
    };
    os::testing::RedirectLibrary(kConfDlgLibraryName, "");
    runFails("DLLをロードできません : 'libConfDlg.so'");
    os::testing::RedirectLibrary(kConfDlgLibraryName, RECORDING_CONFDLG_PATH);
    Script({0, 0, 0, 1, 1, 24, 1}, 1, 4);
    runFails("Unsupported DLL version : 'libConfDlg.so'");
    Script({0, 0, 0, 1, 1, 24, 1}, 1, 5);
    os::testing::HideLibraryExport("GetPreviousConfig");
    runFails("Function import failure : 'libConfDlg.so' - 'GetPreviousConfig()'");
}

TEST_F(ConfigDialogTest, ACancelledDialogEndsTheStartUpAndTheProgramsLibraryOffersAModeAndKeepsItsChoice)
{
    ASSERT_TRUE(korvane::CreateApplicationDriver(nullptr));
    korvane::CGameApplicationDriverCX* driver = korvane::GetApplicationDriver();
    driver->SetDataLoader(boost::shared_ptr<korvane::IDataLoader>(new korvane::CFileSystemDataLoader(dir.Path())));
    driver->SetDialogBannerImage("DialogBanner1.bmp");
    Script({0, 0, 0, 1, 1, 24, 1}, 0);
    EXPECT_FALSE(driver->Initialize());
    EXPECT_TRUE(LogCapture::Contains("ダイアログバナーイメージ \"DialogBanner1.bmp\" のロードに失敗しました."));
    EXPECT_EQ(std::make_tuple(nullptr, nullptr, true),
              std::make_tuple(driver->GetGraphics(), driver->GetGraphicsModePreference().direct3D, boxes.empty()));
    korvane::DestroyApplicationDriver();

    // The program's own library offers the mode nearest 1280 x 720 in a window.
    os::testing::RedirectLibrary(kConfDlgLibraryName, CONFDLG_PATH);
    setenv("XDG_DATA_HOME", dir.Path().c_str(), 1);
    const os::gfx::PresentParameters& full = dialog.GetFullscreenPresentParameters();
    os::testing::ReplaceAdapterModes(0, {{640, 480, 60, Format::X8R8G8B8}, {1280, 768, 60, Format::X8R8G8B8}});
    ASSERT_TRUE(dialog.Run(true));
    EXPECT_EQ(std::make_tuple(1280u, Format::X8R8G8B8, Format::D24X8, os::gfx::present::IntervalOne, false),
              std::make_tuple(full.BackBufferWidth, full.BackBufferFormat, full.AutoDepthStencilFormat,
                              full.PresentationInterval, dialog.GetFullscreen()));

    // A previous choice whose numbers do not fit an int is damaged: it must give the default
    // choice, not numbers wrapped into valid-looking indices (mode 1, full screen here).
    dir.Write("ConfDlg/previous_choice.txt", "4294967296 4294967297 0 1 0 24 1\n");
    os::testing::ReplaceAdapterModes(0, {{1280, 720, 60, Format::X8R8G8B8}, {640, 480, 60, Format::X8R8G8B8}});
    ASSERT_TRUE(dialog.Run(true));
    EXPECT_EQ(std::make_pair(1280u, false), std::make_pair(full.BackBufferWidth, dialog.GetFullscreen()));

    // The library keeps the choice under the per-user data root; on a fresh account that folder may
    // not exist yet, and the choice must still be kept.
    const std::string root = dir.File("fresh/share");
    setenv("XDG_DATA_HOME", root.c_str(), 1);
    // Without a display the dialog cannot show a box and takes the offered choice as it is.
    const char* display = std::getenv("DISPLAY");
    const std::string savedDisplay = display != nullptr ? display : "";
    unsetenv("DISPLAY");
    EXPECT_TRUE(dialog.Run(false));
    if (!savedDisplay.empty())
        setenv("DISPLAY", savedDisplay.c_str(), 1);
    EXPECT_EQ(0, access((root + "/ConfDlg/previous_choice.txt").c_str(), R_OK));
}

TEST_F(ConfigDialogTest, TheProgramsLibraryKeepsAnOfferedSavedChoiceAndGivesTheDefaultForAFieldItDoesNotOffer)
{
    os::testing::RedirectLibrary(kConfDlgLibraryName, CONFDLG_PATH);
    setenv("XDG_DATA_HOME", dir.Path().c_str(), 1);
    // Modes 0 and 1 in 32 bits, 2 and 3 in 16; two samples work with every format; anisotropy goes to 16.
    os::testing::ReplaceAdapterModes(0, {{1280, 720, 60, Format::X8R8G8B8}, {640, 480, 60, Format::X8R8G8B8}});
    const os::gfx::PresentParameters& full = dialog.GetFullscreenPresentParameters();
    // Width, back-buffer format, samples, anisotropy, full screen, depth format, interval.
    using Chosen = std::tuple<std::uint32_t, Format, int, std::uint32_t, bool, Format, std::uint32_t>;
    const Chosen byDefault{1280, Format::X8R8G8B8, 0, 1, false, Format::D24X8, os::gfx::present::IntervalOne};
    const std::pair<const char*, Chosen> cases[] = {
        {"0 1 2 16 0 32 0\n", {640, Format::X8R8G8B8, 2, 16, true, Format::D32, os::gfx::present::IntervalImmediate}},
        {"0 3 2 4 1 16 1\n", {640, Format::R5G6B5, 2, 4, false, Format::D16, os::gfx::present::IntervalOne}},
        // Found by fuzzing: depth 8, multisample 3 and 99, anisotropy 9.
        {"\t0 0 0 1 1 8 1\n", byDefault},
        {"\t0 0 3 1 1 24 1\n", byDefault},
        {"\t0 0 0 9 1 24 1\n", byDefault},
        {"\t0 0 99 1 1 24 1\n", byDefault},
        {"0 1 2 32 0 32 0\n", byDefault}, // anisotropy past the adapter's
        {"0 1 2 0 0 32 0\n", byDefault},
        {"0 1 1 1 0 32 0\n", byDefault}, // one sample is no multisample type
        {"0 1 0 1 2 32 0\n", byDefault}, // a window or full screen, nothing else
        {"0 1 0 1 0 32 -1\n", byDefault},
        {"0 1 0 1 0 15 0\n", byDefault},
    };
    for (const auto& [text, expected] : cases) {
        SCOPED_TRACE(text);
        dir.Write("ConfDlg/previous_choice.txt", text);
        ASSERT_TRUE(dialog.Run(true));
        EXPECT_EQ(expected, Chosen(full.BackBufferWidth, full.BackBufferFormat, static_cast<int>(full.MultiSampleType),
                                   dialog.GetAnisotropy(), dialog.GetFullscreen(), full.AutoDepthStencilFormat,
                                   full.PresentationInterval));
    }
}

/// Sets an environment variable for its lifetime and puts the old value back (unset when there was none).
class ScopedEnvironment
{
public:
    ScopedEnvironment(const char* name, const char* value) : name_(name)
    {
        if (const char* old = std::getenv(name))
            old_ = old;
        if (value != nullptr)
            setenv(name, value, 1);
        else
            unsetenv(name);
    }
    ~ScopedEnvironment()
    {
        if (old_)
            setenv(name_, old_->c_str(), 1);
        else
            unsetenv(name_);
    }

private:
    const char* name_;
    std::optional<std::string> old_;
};

TEST_F(ConfigDialogTest, TheProgramsLibrarySaysWhenItCannotKeepTheChoiceAndItsSavesLeaveNoTemporaryFile)
{
    os::testing::RedirectLibrary(kConfDlgLibraryName, CONFDLG_PATH);
    const std::string root = dir.File("share");
    setenv("XDG_DATA_HOME", root.c_str(), 1);
    // Without a display the dialog takes the offered choice, and what it has to say goes to stderr.
    const ScopedEnvironment noDisplay("DISPLAY", nullptr);
    const ScopedEnvironment noBoxes("KORVANE_NO_MESSAGE_BOX", "1");
    const auto run = [&] {
        ::testing::internal::CaptureStderr();
        const bool chosen = dialog.Run(false);
        return std::pair(chosen, ::testing::internal::GetCapturedStderr());
    };
    const auto entries = [&] {
        std::set<std::string> names;
        for (const auto& entry : std::filesystem::directory_iterator(root + "/ConfDlg"))
            names.insert(entry.path().filename().string());
        return names;
    };
    EXPECT_EQ(run(), std::pair(true, std::string()));
    EXPECT_EQ(run(), std::pair(true, std::string()));
    EXPECT_EQ(entries(), std::set<std::string>{"previous_choice.txt"});

    // The choice still holds for this start; the user hears that it is not kept, and why.
    const std::string choice = root + "/ConfDlg/previous_choice.txt";
    std::vector<std::pair<std::function<void()>, std::string>> failures = {{[&] {
                                                                                std::filesystem::remove(choice);
                                                                                std::filesystem::create_directory(
                                                                                    choice);
                                                                            },
                                                                            "Is a directory"}};
    // Root writes into any folder.
    if (geteuid() != 0)
        failures.emplace_back(
            [&] {
                std::filesystem::remove(choice);
                std::filesystem::permissions(root + "/ConfDlg",
                                             std::filesystem::perms::owner_read | std::filesystem::perms::owner_exec);
            },
            "Permission denied");
    for (const auto& [cause, reason] : failures) {
        SCOPED_TRACE(reason);
        cause();
        const auto [chosen, said] = run();
        EXPECT_TRUE(chosen);
        EXPECT_THAT(said, ::testing::HasSubstr("could not be kept for the next: '" + choice + "': " + reason));
        EXPECT_TRUE(entries().size() <= 1) << "a temporary file was left behind";
    }
    std::filesystem::permissions(root + "/ConfDlg", std::filesystem::perms::owner_all);
}

/// Makes this process another account, groups and all; false when it cannot (no administrator, or a user
/// namespace that maps no such id).
bool BecomeAccount(uid_t uid, gid_t gid)
{
    return setgroups(0, nullptr) == 0 && setgid(gid) == 0 && setuid(uid) == 0;
}

/// Whether a child process can become the account, tried in a child that ends at once.
bool CanBecomeAccount(uid_t uid, gid_t gid)
{
    const pid_t child = fork();
    if (child == 0)
        std::_Exit(BecomeAccount(uid, gid) ? 0 : 1);
    int status = 0;
    return child > 0 && waitpid(child, &status, 0) == child && WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

TEST_F(ConfigDialogTest, TheProgramsLibraryFindsTheHomeAsTheProgramDoesAndNeverKeepsTheChoiceInASharedFolder)
{
    struct Case
    {
        const char* name;
        uid_t uid;
        gid_t gid;
        std::string said; ///< on stderr; empty: nothing is said
    };
    std::vector<Case> rows;
    constexpr uid_t kHomeless = 2000000000;
    if (getpwuid(kHomeless) == nullptr && CanBecomeAccount(kHomeless, kHomeless))
        rows.push_back({"an account with no home keeps no choice", kHomeless, kHomeless, ""});
    // The account database names a home that does not exist: the report names it.
    if (const passwd* nobody = getpwnam("nobody");
        nobody != nullptr && access(nobody->pw_dir, F_OK) != 0 && CanBecomeAccount(nobody->pw_uid, nobody->pw_gid))
        rows.push_back({"the home the account database names", nobody->pw_uid, nobody->pw_gid,
                        "could not be kept for the next: '" + std::string(nobody->pw_dir) +
                            "/.local/share/ConfDlg/previous_choice.txt'"});
    if (rows.empty())
        GTEST_SKIP() << "this process cannot become another account";

    os::testing::RedirectLibrary(kConfDlgLibraryName, CONFDLG_PATH);
    // Loaded here, so that an account that cannot read the build folder still finds it loaded.
    const os::system::LibraryHandle library = os::system::LoadLibrary(CONFDLG_PATH);
    ASSERT_NE(nullptr, library) << os::system::GetLastErrorText();
    const ScopedEnvironment noHome("HOME", nullptr);
    const ScopedEnvironment noDataHome("XDG_DATA_HOME", nullptr);
    const ScopedEnvironment noDisplay("DISPLAY", nullptr);
    const ScopedEnvironment noBoxes("KORVANE_NO_MESSAGE_BOX", "1");
    // What stands where a folder every account shares would take the choice.
    const auto shared = [] {
        std::string state;
        for (const char* path : {"/tmp/.local", "/tmp/.local/share/ConfDlg/previous_choice.txt"}) {
            struct stat info;
            state += ::lstat(path, &info) != 0
                         ? std::string("none")
                         : std::to_string(info.st_ino) + "@" + std::to_string(info.st_mtim.tv_sec) + "." +
                               std::to_string(info.st_mtim.tv_nsec);
            state += ' ';
        }
        return state;
    };

    for (const Case& row : rows) {
        SCOPED_TRACE(row.name);
        const std::string before = shared();
        // What the dialog says reaches stderr; the exit status tells whether it took a choice.
        EXPECT_EXIT(
            {
                if (!BecomeAccount(row.uid, row.gid))
                    std::_Exit(2);
                std::_Exit(dialog.Run(false) ? 0 : 1);
            },
            ::testing::ExitedWithCode(0),
            row.said.empty() ? ::testing::Matcher<const std::string&>(::testing::IsEmpty())
                             : ::testing::HasSubstr(row.said));
        EXPECT_EQ(shared(), before) << "written under /tmp";
    }
    os::system::FreeLibrary(library);
}

} // namespace
