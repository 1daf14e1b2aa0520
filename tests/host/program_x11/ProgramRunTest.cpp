/** @file ProgramRunTest.cpp The built program on the X server: its first frames, and the orderly close. */
#include <gtest/gtest.h>

#include <chrono>
#include <cstdint>
#include <cstring>
#include <filesystem>
#include <thread>

#include "../HostArchive.h"
#include "../ProgramProcess.h"
#include "support/TempDir.h"
#include "tools/kvatool/Packer.h"

namespace
{

std::uint32_t ReadLittle32(const std::string& bytes, std::size_t at)
{
    std::uint32_t value = 0;
    for (int i = 3; i >= 0; --i)
        value = value << 8 | static_cast<unsigned char>(bytes[at + static_cast<std::size_t>(i)]);
    return value;
}

/// A 24-bit BMP of 8 x 8 grey pixels, for the window banner the driver paints while starting.
std::string SmallBitmap()
{
    auto u32 = [](std::uint32_t v) {
        return std::string{static_cast<char>(v), static_cast<char>(v >> 8), static_cast<char>(v >> 16),
                           static_cast<char>(v >> 24)};
    };
    const std::string pixels(8 * 8 * 3, '\x80');
    const std::string info = u32(40) + u32(8) + u32(8) + std::string("\x01\x00\x18\x00", 4) + u32(0) +
                             u32(static_cast<std::uint32_t>(pixels.size())) + u32(2835) + u32(2835) + u32(0) + u32(0);
    return "BM" + u32(static_cast<std::uint32_t>(14 + info.size() + pixels.size())) + u32(0) + u32(54) + info + pixels;
}

TEST(ProgramRunTest, ShowsTheClearedFrameAndClosesInOrder)
{
    const std::string built = std::string(KORVANE_BINARY_DIR) + "/bin/vorthenix";
    ASSERT_TRUE(std::filesystem::exists(built)) << "build the program target first";
    korvane::test::TempDir dir;

    // The program beside an archive with the text table, the five interface sounds and the banner.
    dir.Write("src/text_en.properties", "greeting=Hello\r\n");
    dir.Write("src/windowbanner1.bmp", SmallBitmap());
    for (const std::string& name : host_test::UiSoundNames())
        dir.Write("src/se_qvr2/" + name + ".wav", host_test::MakeWave(11025, 64));
    std::filesystem::create_directories(dir.File("program"));
    kvatool::PackFolder(dir.File("src"), dir.File("program/data.kva"), kvatool::PackOptions());
    std::filesystem::copy_file(built, dir.File("program/vorthenix"));

    program_test::ProgramProcess program(
        dir.File("program/vorthenix"),
        {{"XDG_DATA_HOME", dir.File("data")}, {"SDL_NO_SIGNAL_HANDLERS", ""}, {"KORVANE_NO_MESSAGE_BOX", "1"}});
    ASSERT_TRUE(program.Started());

    // Wait for the window's first cleared frames (the program's own pace, not a synchronisation).
    std::uint32_t pixel = 0;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(30);
    while (pixel != 0xFF202020u && !program.HasExited() && std::chrono::steady_clock::now() < deadline) {
        pixel = program_test::WindowCentrePixel("VORTHENIX ZAMBRELLIOT  - Vesperanthor -");
        if (pixel != 0xFF202020u)
            std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
    EXPECT_EQ(0xFF202020u, pixel);
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
