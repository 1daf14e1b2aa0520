/** @file ProgramRunTest.cpp The built program on the X server: its first frames, and the orderly close. */
#include <gtest/gtest.h>

#include <chrono>
#include <cstdint>
#include <cstring>
#include <filesystem>
#include <thread>

#include "../ProgramProcess.h"
#include "support/TempDir.h"

namespace
{

std::uint32_t ReadLittle32(const std::string& bytes, std::size_t at)
{
    std::uint32_t value = 0;
    for (int i = 3; i >= 0; --i)
        value = value << 8 | static_cast<unsigned char>(bytes[at + static_cast<std::size_t>(i)]);
    return value;
}

TEST(ProgramRunTest, ShowsTheClearedFrameAndClosesInOrder)
{
    const std::string built = std::string(KORVANE_BINARY_DIR) + "/bin/vorthenix";
    ASSERT_TRUE(std::filesystem::exists(built)) << "build the program target first";
    korvane::test::TempDir dir;

    // The program beside the build's archive: the interface needs its fonts, shader and skin.
    const std::string archive = std::string(KORVANE_BINARY_DIR) + "/bin/data.kva";
    ASSERT_TRUE(std::filesystem::exists(archive)) << "build the data_archive target first";
    std::filesystem::create_directories(dir.File("program"));
    std::filesystem::copy_file(archive, dir.File("program/data.kva"));
    std::filesystem::copy_file(built, dir.File("program/vorthenix"));

    program_test::ProgramProcess program(
        dir.File("program/vorthenix"),
        {{"XDG_DATA_HOME", dir.File("data")}, {"SDL_NO_SIGNAL_HANDLERS", ""}, {"KORVANE_NO_MESSAGE_BOX", "1"}});
    ASSERT_TRUE(program.Started());

    // Wait for the window's first frames: the interface's black logo splash over the cleared
    // back buffer (the program's own pace, not a synchronisation).
    // The log tells when the interface has started, so a window not yet painted is not taken for it.
    const std::string logFile = dir.File("data/Vumo/VorthenixZambrelliot/vorthenix.log");
    auto started = [&] {
        return std::filesystem::exists(logFile) && korvane::test::TempDir::Read(logFile).find(
                                                       "load appearance: skin\\skintrackbar.ini") != std::string::npos;
    };
    auto dark = [](std::uint32_t p) { return p != 0 && (p & 0x00F0F0F0u) == 0; };
    std::uint32_t pixel = 0;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(30);
    while (!(started() && dark(pixel)) && !program.HasExited() && std::chrono::steady_clock::now() < deadline) {
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
        pixel = program_test::WindowCentrePixel("VORTHENIX ZAMBRELLIOT  - Vesperanthor -");
    }
    EXPECT_TRUE(started());
    EXPECT_TRUE(dark(pixel)) << std::hex << pixel;
    ASSERT_FALSE(program.HasExited()) << "the program ended by itself";

    // A termination request closes the window like its close box.
    program.Terminate();
    EXPECT_EQ(0, program.Wait());

    const std::string folder = dir.File("data/Vumo/VorthenixZambrelliot/");
    std::string log = korvane::test::TempDir::Read(folder + "vorthenix.log");
    // A first run finds no settings and no preferences (each logged); nothing else fails.
    for (std::size_t at = log.find("Detail: "); at != std::string::npos; at = log.find("Detail: ", at + 1)) {
        const std::string detail = log.substr(at, log.find('\n', at) - at);
        EXPECT_TRUE(detail.find("display_setting.ini") != std::string::npos ||
                    detail.find("preference.dat") != std::string::npos)
            << detail;
    }
    while (!log.empty() && log.back() == '\n')
        log.pop_back();
    EXPECT_EQ("INFO: ---- Application finalized ----", log.substr(log.find_last_of('\n') + 1));

    // "preference.dat" whole: a RIFF form whose size covers the file exactly.
    const std::string preferences = korvane::test::TempDir::Read(folder + "preference.dat");
    ASSERT_GE(preferences.size(), 12u);
    EXPECT_EQ(0, std::memcmp(preferences.data(), "RIFF", 4));
    EXPECT_EQ(preferences.size(), ReadLittle32(preferences, 4) + 8u);
}

} // namespace
