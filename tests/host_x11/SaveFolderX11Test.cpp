/** @file SaveFolderX11Test.cpp The built program on a real X server with a save folder it cannot make. */
#include <gtest/gtest.h>

#include <X11/Xlib.h>

#include <string>

#include "host/ProgramStderr.h"
#include "host_x11/ProgramWindow.h"
#include "support/TempDir.h"

namespace
{

// The data folder is a regular file, so the save folder below it cannot be made (for root too: the failure is
// ENOTDIR). The program says that reason once on stderr and once in its message box (the boxes' text goes to stderr
// here), shows its window all the same and ends cleanly when asked.
TEST(SaveFolderX11Test, AFolderThatCannotBeMadeIsSaidOnceAndTheProgramRunsAndEndsCleanly)
{
    Display* display = XOpenDisplay(nullptr);
    if (display == nullptr)
        GTEST_SKIP() << "no X display";
    XSetErrorHandler([](Display*, XErrorEvent*) { return 0; });
    korvane::test::TempDir dir;
    const std::string blocker = dir.Write("blocker", "a file where the data folder should be");
    setenv("XDG_DATA_HOME", blocker.c_str(), 1);
    unsetenv("SDL_NO_SIGNAL_HANDLERS");
    setenv("KORVANE_NO_MESSAGE_BOX", "1", 1);

    auto program = program_test::StartWithStderrTo(KORVANE_BINARY_DIR "/bin/vorthenix", dir.File("stderr.txt"));
    ASSERT_TRUE(program && program->Started());
    const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(60);
    bool shown = false;
    while (!(shown = program_test::FindProgramWindow(display) != 0) && !program->HasExited() &&
           std::chrono::steady_clock::now() < end)
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    XCloseDisplay(display);
    EXPECT_TRUE(shown) << "no window";
    program->Terminate();
    ASSERT_TRUE(program_test::WaitForExit(*program, 60.0));
    EXPECT_EQ(0, program->Wait());

    const std::string text = korvane::test::TempDir::Read(dir.File("stderr.txt"));
    const std::string said =
        "cannot write in the save folder '" + blocker + "/Vumo/VorthenixZambrelliot/' (Not a directory)";
    const std::size_t first = text.find(said);
    EXPECT_NE(std::string::npos, first) << text;
    EXPECT_EQ(std::string::npos, text.find(said, first + 1)) << text;
    const std::string box = std::string("[") + program_test::kProgramWindowTitle +
                            "]\nThe game cannot write in its save folder \"" + blocker +
                            "/Vumo/VorthenixZambrelliot/\" (Not a directory).";
    const std::size_t boxed = text.find(box);
    EXPECT_NE(std::string::npos, boxed) << text;
    EXPECT_EQ(std::string::npos, text.find(box, boxed + 1)) << text;
    EXPECT_EQ(std::string::npos, text.find("No such file or directory")) << text;
    EXPECT_EQ(std::string::npos, text.find("store:")) << text;
}

} // namespace
