/** @file PreferenceFileTest.cpp The bytes the manager writes, compared with the oracle, and what
 * survives from one run to the next. */
#include <set>

#include <gtest/gtest.h>

#include "PreferenceOracle.h"
#include "PreferenceTestSupport.h"

namespace
{

using namespace prefs_test;
using korvane::test::VirtualJoystick;
using oracle::Record;
using oracle::Standard;

std::set<std::uint32_t> StoredTypes(CPreferenceManager& manager)
{
    std::set<std::uint32_t> types;
    for (const auto& entry : manager.GetStoredKeyMappings())
        types.insert(static_cast<std::uint32_t>(entry.first));
    return types;
}

TEST_F(PreferenceTest, DefaultFileMatchesTheOracleByteForByte)
{
    ProgramRun run(dir);
    run.Start();
    EXPECT_TRUE(LogHasInOrder(
        {"INFO: Loading preference data...", "INFO: Can't open a configuration file. Default settings used."}));
    run.manager.Save();

    const std::string bytes = SavedFile();
    EXPECT_EQ(oracle::File({Standard(0, oracle::kKeyboard), Standard(2, oracle::kMouse), Standard(3, oracle::kXInput)}),
              bytes);
    // The oracle's layout: 12 + 60 + 26 + 25 (no pad byte after the 17 bytes of "mver") + 488.
    EXPECT_EQ(611u, bytes.size());
    EXPECT_EQ("keym", bytes.substr(123, 4));
    EXPECT_TRUE(LogHasInOrder(
        {"INFO: Saving preference data...", "INFO: OK.", "INFO: Saving display configuration...", "INFO: OK."}));

    // The next run reads it back without complaint.
    korvane::test::LogCapture::Clear();
    ProgramRun next(dir);
    next.Start();
    EXPECT_TRUE(LogHasInOrder({"INFO: Loading preference data...", "INFO:   Ver.1.0", "INFO:   Build:0", "INFO: OK."}));
    EXPECT_EQ((std::set<std::uint32_t>{0, 2, 3}), StoredTypes(next.manager));
}

TEST_F(PreferenceTest, DirectInputPadAndRemappedKeysAreWrittenFromTheLiveBindings)
{
    auto stick = VirtualJoystick::Stick(0x1234, 0x0001, "Stick", 2, 12, 1);
    ProgramRun run(dir);
    run.Start();
    run.host.SetMusicVolume(-2500);
    run.host.SetEffectVolume(-10000);
    run.host.SetMusicVersion(0);
    run.OfType(0).SetMapping("decide", 0, 0x39);
    run.OfType(0).SetMapping("x4", 0, 0xFFFFFFFFu);
    run.OfType(1).SetMapping("pause", 0, 9);
    // The last controller of a type speaks for it.
    run.OfType(3).SetMapping("x1", 0, 9);
    run.Controller(run.input->GetControllerCount() - 1).SetMapping("x2", 0, 4);
    run.manager.Save();

    oracle::Codes keyboard = oracle::kKeyboard, joystick = oracle::kJoystick, pad = oracle::kXInput;
    keyboard[0] = 0x39;
    keyboard[10] = -1;
    joystick[2] = 9;
    pad[8] = 4;
    EXPECT_EQ(
        oracle::File({Standard(0, keyboard), Standard(1, joystick), Standard(2, oracle::kMouse), Standard(3, pad)},
                     -2500, -10000, 0),
        SavedFile());
}

TEST_F(PreferenceTest, AbsentTypeIsCarriedVerbatimAfterTheConnectedOnes)
{
    // A pad type that is not connected, with pairs in its own order and an unknown action.
    const Record absent{1, {{"cancel", 4}, {"jump", 7}, {"decide", 5}}};
    dir.Write("preference.dat", oracle::File({Standard(0, oracle::kKeyboard), absent}));
    ProgramRun run(dir);
    run.Start();
    ASSERT_EQ(1u, run.manager.GetStoredKeyMappings().count(1));
    run.manager.Save();

    // After the connected types, whatever the order of the stored ones.
    EXPECT_EQ(oracle::File(
                  {Standard(0, oracle::kKeyboard), Standard(2, oracle::kMouse), Standard(3, oracle::kXInput), absent}),
              SavedFile());
}

TEST_F(PreferenceTest, PadMappingSurvivesARunWithoutThePad)
{
    {
        auto stick = VirtualJoystick::Stick(0x1234, 0x0001, "Stick", 2, 12, 1);
        ProgramRun run(dir);
        run.Start();
        run.OfType(1).SetMapping("x1", 0, 7);
        run.manager.Save();
    }
    {
        ProgramRun run(dir);
        run.Start();
        EXPECT_EQ(1u, run.manager.GetStoredKeyMappings().count(1));
        run.manager.Save();
    }
    auto stick = VirtualJoystick::Stick(0x1234, 0x0001, "Stick", 2, 12, 1);
    ProgramRun run(dir);
    run.Start();
    EXPECT_EQ(7, run.Code(1, "x1"));
    EXPECT_EQ(0x2001, run.Code(1, "up", 1)) << "binding 1 keeps its default";
}

TEST_F(PreferenceTest, RecordsApplyInFileOrder)
{
    oracle::Codes first = oracle::kKeyboard, second = oracle::kKeyboard;
    first[0] = 0x10;
    second[0] = 0x20;
    const Record unknown{0, {{"jump", 0x39}}};
    struct Case
    {
        const char* name;
        std::vector<Record> records;
        std::int32_t decide;       // keyboard "decide" after loading
        std::size_t stored;        // stored types
        std::size_t keyboardPairs; // pairs stored for the keyboard
    };
    const Case cases[] = {
        {"duplicate types: the second wins", {Standard(0, first), Standard(0, second)}, 0x20, 1, 11},
        {"count 0 empties the store", {}, 0x1C, 0, 0},
        {"unknown action names are added", {Standard(0, first), unknown}, 0x10, 1, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        // A store filled by an earlier load must not leak into this one.
        dir.Write("preference.dat", oracle::File({Record{1, {{"x1", 3}}}}));
        ProgramRun run(dir);
        run.Start();
        ASSERT_EQ(1u, run.manager.GetStoredKeyMappings().size());
        dir.Write("preference.dat", oracle::File(c.records));
        run.manager.Load();
        EXPECT_EQ(c.decide, run.Code(0, "decide"));
        EXPECT_EQ(c.stored, run.manager.GetStoredKeyMappings().size());
        const auto found = run.manager.GetStoredKeyMappings().find(0);
        EXPECT_EQ(c.keyboardPairs, found == run.manager.GetStoredKeyMappings().end() ? 0u : found->second.size());
    }
    ProgramRun run(dir);
    run.Start();
    EXPECT_EQ(0x10, run.Code(0, "decide"));
    EXPECT_EQ(0x39, run.Code(0, "jump")) << "a name the controller did not have is added";
}

} // namespace
