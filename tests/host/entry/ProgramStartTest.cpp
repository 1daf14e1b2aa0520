/** @file ProgramStartTest.cpp The built program refusing to start: without a display, and without a whole data archive;
 * a start that fails in the loop; a save folder it cannot write in; settings it cannot save at the end. */
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <map>
#include <optional>
#include <tuple>

#include "KorvaneXDK/core/ArchiveFileEntryHeader.h"
#include "KorvaneXDK/core/ArchiveFileLoader.h"
#include "KorvaneXDK/core/StringUtility.h"
#include "host/Application.h"
#include "host/ProgramStderr.h"
#include "support/TempDir.h"

namespace
{

namespace fs = std::filesystem;

const std::string kProgram = KORVANE_BINARY_DIR "/bin/vorthenix";

/// Environment variables set or removed for one test, as they were again afterwards: the entry's other tests run in
/// the same process when the whole program is run.
class ScopedEnvironment
{
public:
    ~ScopedEnvironment()
    {
        for (const auto& [name, value] : saved_)
            value ? setenv(name.c_str(), value->c_str(), 1) : unsetenv(name.c_str());
    }
    void Set(const std::string& name, const char* value)
    {
        if (saved_.count(name) == 0) {
            const char* old = std::getenv(name.c_str());
            saved_[name] = old ? std::optional<std::string>(old) : std::nullopt;
        }
        value ? setenv(name.c_str(), value, 1) : unsetenv(name.c_str());
    }

private:
    std::map<std::string, std::optional<std::string>> saved_;
};

/// Every file below the folder with its contents.
std::map<std::string, std::string> Contents(const std::string& folder)
{
    std::map<std::string, std::string> files;
    for (const auto& entry : fs::recursive_directory_iterator(folder))
        files[entry.path().string()] = entry.is_regular_file() ? korvane::test::TempDir::Read(entry.path()) : "";
    return files;
}

/// A copy of the program in the folder's "game/", without its data archive; returns its path.
std::string CopyProgram(const korvane::test::TempDir& dir)
{
    const std::string copy = dir.File("game/vorthenix");
    fs::create_directories(dir.File("game"));
    std::error_code linked;
    fs::create_hard_link(kProgram, copy, linked);
    if (linked)
        fs::copy_file(kProgram, copy);
    return copy;
}

/// The archive with the stored bytes of one entry turned over; empty when it has no such entry.
std::string TurnedOver(std::string archive, const std::string& name)
{
    korvane::CArchiveFileLoader table;
    table.Open(KORVANE_BINARY_DIR "/bin/data.kva");
    for (std::int32_t i = 0; i < table.GetEntryCount(); ++i) {
        const korvane::CArchiveFileEntryHeader& entry = *table.GetEntry(i);
        if (korvane::ToLowerString(entry.GetName()) != name)
            continue;
        const std::size_t start = static_cast<std::size_t>(table.GetDataBase() + entry.GetOffset());
        for (std::size_t at = start; at < start + static_cast<std::size_t>(entry.GetSize()); ++at)
            archive[at] = static_cast<char>(~archive[at]);
        return archive;
    }
    return std::string();
}

// With no window system to show on, and no driver asked for by name, the program says so and ends at once with a
// failure, before it writes anything: the saved settings keep the real screen's size.
TEST(ProgramStartTest, WithoutADisplayItSaysSoAndEndsAtOnceChangingNothing)
{
    korvane::test::TempDir dir;
    const std::string folder = dir.Path() + "data/Vumo/VorthenixZambrelliot/";
    dir.Write("data/Vumo/VorthenixZambrelliot/display_setting.ini", "ScreenWidth=1920\r\nScreenHeight=1080\r\n");
    const auto before = Contents(dir.Path());
    ScopedEnvironment environment;
    environment.Set("XDG_DATA_HOME", (dir.Path() + "data").c_str());
    for (const char* name : {"SDL_VIDEODRIVER", "DISPLAY", "WAYLAND_DISPLAY", "XDG_RUNTIME_DIR"})
        environment.Set(name, nullptr);

    auto program = program_test::StartWithStderrTo(kProgram, dir.File("stderr.txt"));
    ASSERT_TRUE(program && program->Started());
    ASSERT_TRUE(program_test::WaitForExit(*program, 5.0)) << "still running without a display";
    const std::string said = korvane::test::TempDir::Read(dir.File("stderr.txt"));
    EXPECT_NE(0, program->Wait());
    EXPECT_NE(std::string::npos, said.find("no display")) << said;
    fs::remove(dir.File("stderr.txt"));
    EXPECT_EQ(before, Contents(dir.Path()));
}

// A copy of the program whose data archive is missing, cut short or damaged names the file and where it looked, and
// ends with a failure.
TEST(ProgramStartTest, AMissingTruncatedOrDamagedArchiveIsNamedWithItsFolderAndTheProgramFails)
{
    const std::string archive = korvane::test::TempDir::Read(KORVANE_BINARY_DIR "/bin/data.kva");
    ASSERT_GT(archive.size(), 6000u);
    // An enciphered, compressed entry: its damage shows only when the start-up inflates it.
    const std::string damagedText = TurnedOver(archive, "text_en.properties");
    ASSERT_FALSE(damagedText.empty()) << "no English text table in the archive";
    ScopedEnvironment environment;
    environment.Set("SDL_VIDEODRIVER", "offscreen");
    environment.Set("KORVANE_NO_MESSAGE_BOX", "1");
    // Nothing, the entries cut off, the entry table cut off, the text table's data damaged.
    const std::tuple<const char*, std::optional<std::string>, const char*> cases[] = {
        {"missing", std::nullopt, "is missing: it was looked for in"},
        {"entries cut off", archive.substr(0, 5000), "is damaged"},
        {"table cut off", archive.substr(0, 100), "is damaged"},
        {"entry damaged", damagedText, "is damaged"},
    };
    for (const auto& [name, bytes, said] : cases) {
        korvane::test::TempDir dir;
        environment.Set("XDG_DATA_HOME", (dir.Path() + "data").c_str());
        const std::string copy = CopyProgram(dir);
        if (bytes)
            dir.Write("game/data.kva", *bytes);

        auto program = program_test::StartWithStderrTo(copy, dir.File("stderr.txt"));
        ASSERT_TRUE(program && program->Started());
        ASSERT_TRUE(program_test::WaitForExit(*program, 60.0)) << name;
        const std::string text = korvane::test::TempDir::Read(dir.File("stderr.txt"));
        EXPECT_NE(0, program->Wait()) << name;
        EXPECT_NE(std::string::npos, text.find("\"data.kva\"")) << text;
        EXPECT_NE(std::string::npos, text.find(said)) << text;
        EXPECT_NE(std::string::npos, text.find(dir.Path() + "game/")) << text;
        EXPECT_EQ(std::string::npos, text.find("Exception")) << text;
    }
}

// An archive whose table is whole but one of whose pictures is damaged fails where the start-up reads it, inside the
// loop: the loop shows the failure, the program ends with a failure status and keeps the display keys it read.
TEST(ProgramStartTest, AStartThatFailsInTheLoopEndsWithAFailureAndKeepsTheDisplayKeys)
{
    // Stored as it is: the picture's own bytes turned over.
    const std::string archive =
        TurnedOver(korvane::test::TempDir::Read(KORVANE_BINARY_DIR "/bin/data.kva"), "formimage\\vumologo.png");
    ASSERT_FALSE(archive.empty()) << "no such picture in the archive";

    korvane::test::TempDir dir;
    const std::string settings =
        dir.Write("data/Vumo/VorthenixZambrelliot/display_setting.ini", "ScreenRotation=3\r\nScreenAspectRatio=2\r\n");
    ScopedEnvironment environment;
    environment.Set("SDL_VIDEODRIVER", "offscreen");
    environment.Set("KORVANE_NO_MESSAGE_BOX", "1");
    environment.Set("XDG_DATA_HOME", (dir.Path() + "data").c_str());
    const std::string copy = CopyProgram(dir);
    dir.Write("game/data.kva", archive);

    auto program = program_test::StartWithStderrTo(copy, dir.File("stderr.txt"));
    ASSERT_TRUE(program && program->Started());
    ASSERT_TRUE(program_test::WaitForExit(*program, 60.0));
    const std::string text = korvane::test::TempDir::Read(dir.File("stderr.txt"));
    EXPECT_NE(0, program->Wait()) << text;
    EXPECT_NE(std::string::npos, text.find("Failed to load texture.")) << text;
    const std::string saved = korvane::test::TempDir::Read(settings);
    EXPECT_TRUE(saved.find("ScreenRotation=3") != std::string::npos &&
                saved.find("ScreenAspectRatio=2") != std::string::npos)
        << saved;
}

// A save folder that is there but read-only: the program says why it cannot keep anything, once, in its log (which it
// can still write), runs, and ends cleanly when asked. Root writes anyway, so as root the program runs as nobody, from
// a copy the unprivileged user can reach.
TEST(ProgramStartTest, AReadOnlySaveFolderIsSaidOnceAndTheProgramRunsAndEndsCleanly)
{
    korvane::test::TempDir dir;
    const std::string folder = dir.Path() + "data/Vumo/VorthenixZambrelliot/";
    const std::string log = dir.Write("data/Vumo/VorthenixZambrelliot/vorthenix.log", "");
    const std::string copy = CopyProgram(dir);
    std::error_code linked;
    fs::create_hard_link(KORVANE_BINARY_DIR "/bin/data.kva", dir.File("game/data.kva"), linked);
    if (linked)
        fs::copy_file(KORVANE_BINARY_DIR "/bin/data.kva", dir.File("game/data.kva"));
    std::string run = "exec \"" + copy + "\"\n";
    if (geteuid() == 0) {
        constexpr uid_t kNobody = 65534;
        ASSERT_EQ(0, chown(dir.Path().c_str(), kNobody, kNobody));
        for (const auto& entry : fs::recursive_directory_iterator(dir.Path()))
            ASSERT_EQ(0, lchown(entry.path().c_str(), kNobody, kNobody)) << entry.path();
        run = "exec setpriv --reuid=65534 --regid=65534 --clear-groups \"" + copy + "\"\n";
    }
    const std::string script = dir.Write("run.sh", "#!/bin/sh\n" + run);
    ASSERT_EQ(0, chmod(script.c_str(), 0755));
    ASSERT_EQ(0, chmod(dir.Path().c_str(), 0755));
    ASSERT_EQ(0, chmod(folder.c_str(), 0555));
    ScopedEnvironment environment;
    environment.Set("SDL_VIDEODRIVER", "offscreen");
    environment.Set("KORVANE_NO_MESSAGE_BOX", "1");
    environment.Set("SDL_NO_SIGNAL_HANDLERS", nullptr); // the termination request is a close request
    environment.Set("XDG_DATA_HOME", (dir.Path() + "data").c_str());

    auto program = program_test::StartWithStderrTo(script, dir.File("stderr.txt"));
    ASSERT_TRUE(program && program->Started());
    const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(60);
    std::string logged;
    while ((logged = korvane::test::TempDir::Read(log)).find("Starting application main-loop...") ==
               std::string::npos &&
           !program->HasExited() && std::chrono::steady_clock::now() < end)
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    ASSERT_NE(std::string::npos, logged.find("Starting application main-loop..."))
        << logged << korvane::test::TempDir::Read(dir.File("stderr.txt"));
    program->Terminate();
    ASSERT_TRUE(program_test::WaitForExit(*program, 60.0));
    EXPECT_EQ(0, program->Wait()) << korvane::test::TempDir::Read(dir.File("stderr.txt"));
    chmod(folder.c_str(), 0755);

    logged = korvane::test::TempDir::Read(log);
    const std::string said = "cannot write in the save folder '" + folder + "' (Permission denied)";
    const std::size_t first = logged.find(said);
    EXPECT_NE(std::string::npos, first) << logged;
    EXPECT_EQ(std::string::npos, logged.find(said, first + 1)) << logged;
    EXPECT_EQ(std::string::npos, korvane::test::TempDir::Read(dir.File("stderr.txt")).find(said));
    // Nothing else was written there.
    EXPECT_EQ(1, std::distance(fs::directory_iterator(folder), fs::directory_iterator()));
}

// A folder where "preference.dat" or "display_setting.ini" should be: the save at the end fails, the player is told
// which file and why (the message box's text goes to stderr here), and the program ends with a failure status.
TEST(ProgramStartTest, ASettingsFileThatCannotBeSavedAtTheEndIsShownAndTheProgramFails)
{
    for (const auto& [file, what] :
         {std::pair("preference.dat", "Your settings"), std::pair("display_setting.ini", "Your screen settings")}) {
        korvane::test::TempDir dir;
        const std::string folder = dir.Path() + "data/Vumo/VorthenixZambrelliot/";
        fs::create_directories(folder + file);
        ScopedEnvironment environment;
        environment.Set("SDL_VIDEODRIVER", "offscreen");
        environment.Set("KORVANE_NO_MESSAGE_BOX", "1");
        environment.Set("SDL_NO_SIGNAL_HANDLERS", nullptr); // the termination request is a close request
        environment.Set("XDG_DATA_HOME", (dir.Path() + "data").c_str());

        auto program = program_test::StartWithStderrTo(kProgram, dir.File("stderr.txt"));
        ASSERT_TRUE(program && program->Started());
        ASSERT_TRUE(program->WaitUntil(
            [&] {
                // Logged once the settings have been read: closed earlier, the program would save nothing.
                return fs::exists(folder + "vorthenix.log") &&
                       korvane::test::TempDir::Read(folder + "vorthenix.log").find("Current game language ==") !=
                           std::string::npos;
            },
            60.0))
            << file << korvane::test::TempDir::Read(dir.File("stderr.txt"));
        program->Terminate();
        ASSERT_TRUE(program_test::WaitForExit(*program, 60.0)) << file;
        EXPECT_NE(0, program->Wait()) << file;
        const std::string text = korvane::test::TempDir::Read(dir.File("stderr.txt"));
        EXPECT_NE(std::string::npos, text.find(std::string("[") + kApplicationTitle + "]\n" + what +
                                               " could not be saved in \"" + folder + file + "\" (Is a directory)."))
            << text;
    }
}

} // namespace
