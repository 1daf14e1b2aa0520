/** @file SystemTest.cpp The clock, sleep hooks, the wait for a deadline, last error, message boxes and user folders. */
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <pwd.h>
#include <thread>
#include <tuple>
#include <unistd.h>
#include <vector>

#include "os/system/FineSleep.h"
#include "os/system/StartGate.h"
#include "os/system/System.h"
#include "os/system/UserDataRoot.h"
#include "support/NamedPipe.h"
#include "support/TempDir.h"

namespace os::system
{
namespace
{

TEST(SystemTest, ClockWaitsLastErrorHeadlessMessageBoxesStartGatesAndTheUserDataRootFollowTheirRules)
{
    std::uint64_t a = MonotonicNanoseconds();
    Sleep(0);
    Sleep(1);
    std::uint64_t b = MonotonicNanoseconds();
    EXPECT_GE(b - a, 1000000u);
    os::testing::SetClockFunction([] { return std::uint64_t{5'000'000'000}; });
    EXPECT_EQ(MillisecondTicks(), 5000u);
    os::testing::SetClockFunction(nullptr);
    EXPECT_GE(MonotonicNanoseconds(), b);

    // The wait for a deadline returns not before it; under a test's sleep it yields once through it.
    for (std::uint64_t ahead : {0ull, 100000ull, 2000000ull}) {
        const std::uint64_t deadline = MonotonicNanoseconds() + ahead;
        SleepUntil(deadline);
        EXPECT_GE(MonotonicNanoseconds(), deadline) << ahead;
    }
    std::vector<std::uint32_t> sleeps;
    os::testing::SetSleepFunction([&](std::uint32_t ms) { sleeps.push_back(ms); });
    SleepUntil(MonotonicNanoseconds() + 1000000000ull);
    os::testing::SetSleepFunction({});
    EXPECT_EQ(std::vector<std::uint32_t>{0}, sleeps);

    // The last error belongs to the calling thread.
    SetLastError(5, "Access is denied.\n");
    std::thread([] {
        EXPECT_EQ(GetLastErrorCode(), 0u);
        SetLastErrorFromErrno(ENOENT);
        EXPECT_EQ(std::pair(GetLastErrorCode(), GetLastErrorText()),
                  std::pair(2u, std::string("No such file or directory\n")));
    }).join();
    EXPECT_EQ(std::pair(GetLastErrorCode(), GetLastErrorText()), std::pair(5u, std::string("Access is denied.\n")));
    SetLastError(0);

    // Without a window system a message box goes to standard error; its sink is the start-up tests' means.
    setenv("KORVANE_NO_MESSAGE_BOX", "1", 1);
    ::testing::internal::CaptureStderr();
    ShowErrorMessageBox("Game", "Headless.", nullptr);
    EXPECT_EQ(::testing::internal::GetCapturedStderr(), "[Game]\nHeadless.\n");

    // The first decision of a start gate wins.
    StartGate opened;
    opened.Open();
    opened.Cancel();
    EXPECT_TRUE(opened.Wait());
    StartGate cancelled;
    EXPECT_FALSE(cancelled.IsDecided());
    std::thread waiter([&] { EXPECT_FALSE(cancelled.Wait()); });
    cancelled.Cancel();
    waiter.join();
    cancelled.Open();
    EXPECT_FALSE(cancelled.Wait());

    // The user data root follows XDG; an absolute XDG_DATA_HOME is the save data folder test's.
    const std::string saved = std::getenv("XDG_DATA_HOME") ? std::getenv("XDG_DATA_HOME") : "";
    const std::string savedHome = std::getenv("HOME") ? std::getenv("HOME") : "";
    setenv("XDG_DATA_HOME", "relative/ignored", 1);
    setenv("HOME", "/home/player", 1);
    EXPECT_EQ(GetUserDataRoot(), "/home/player/.local/share/");
    // Without HOME, the account's own home folder rather than a folder shared by all users.
    unsetenv("HOME");
    if (const passwd* account = getpwuid(getuid()); account && account->pw_dir && *account->pw_dir) {
        EXPECT_EQ(GetUserDataRoot(), std::string(account->pw_dir) + "/.local/share/");
    }
    setenv("HOME", savedHome.c_str(), 1);
    setenv("XDG_DATA_HOME", saved.c_str(), 1); // empty reads as unset
}

} // namespace
} // namespace os::system

// Why a folder cannot hold files, or a file cannot be written, in the system's words: the first thing in the way.
TEST(SystemTest, WriteProblemsNameTheFirstObstacleOnThePath)
{
    korvane::test::TempDir dir;
    const std::string file = dir.Write("file", "x");
    std::filesystem::create_directories(dir.File("folder/log"));
    std::vector<std::tuple<std::string, std::string>> folders = {
        {dir.Path(), ""},
        {dir.File("folder"), ""},
        {file, "Not a directory"},
        {file + "/below/deeper/", "Not a directory"},
        {dir.File("missing/"), "No such file or directory"},
    };
    // Root writes anyway; others meet the missing write permission, also for a folder still to be made below.
    if (geteuid() != 0) {
        std::filesystem::create_directories(dir.File("locked"));
        std::filesystem::permissions(dir.File("locked"),
                                     std::filesystem::perms::owner_read | std::filesystem::perms::owner_exec);
        folders.emplace_back(dir.File("locked"), "Permission denied");
        folders.emplace_back(dir.File("locked/below/"), "Permission denied");
    }
    for (const auto& [folder, problem] : folders)
        EXPECT_EQ(problem, os::system::FolderWriteProblem(folder)) << folder;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(dir.Path()))
        EXPECT_TRUE(entry.path() == file || !entry.is_regular_file()) << "a probe was left behind: " << entry.path();

    for (const auto& [path, problem] :
         {std::pair(dir.File("folder/new.log"), ""), std::pair(dir.File("folder/log"), "Is a directory"),
          std::pair(file + "/x.log", "Not a directory")})
        EXPECT_EQ(problem, os::system::FileWriteProblem(path)) << path;
    EXPECT_EQ("", korvane::test::TempDir::Read(dir.File("folder/new.log")));
    // A named pipe would hold a writer until a reader came: it is a problem, found at once.
    const std::string pipe = dir.File("pipe.log");
    korvane::test::MakeNamedPipe(pipe);
    std::string pipeProblem = "(not asked)";
    korvane::test::EndsWithoutWaiting([&] { pipeProblem = os::system::FileWriteProblem(pipe); }, pipe,
                                      "FileWriteProblem");
    EXPECT_EQ("Is a named pipe", pipeProblem);
    if (std::filesystem::exists(dir.File("locked")))
        std::filesystem::permissions(dir.File("locked"), std::filesystem::perms::owner_all);
}
