/** @file PreferenceManagerTest.cpp The bytes the manager writes, compared with the oracle, what survives from one
 * run to the next, default mappings and resets, the display keys, and failed saves. */

#include <csignal>
#include <filesystem>
#include <optional>
#include <set>
#include <stdexcept>
#include <tuple>

#include <sys/resource.h>

#include "PreferenceTestSupport.h"

using namespace prefs_test;
using korvane::test::LogCapture;
using korvane::test::VirtualJoystick;
using oracle::Record;
using oracle::Standard;

constexpr std::uint32_t kSentinel = 0x77;
// The records the defaults write when no pad is connected.
const std::vector<Record> kDefaults = {Standard(0, oracle::kKeyboard), Standard(2, oracle::kMouse),
                                       Standard(3, oracle::kXInput)};

TEST_F(PreferenceTest, DefaultFileMatchesTheOracleByteForByteAndAPadAndRemappedKeysAreWrittenFromTheLiveBindings)
{
    ProgramRun run(dir);
    run.Start();
    EXPECT_TRUE(LogHasInOrder(
        {"INFO: Loading preference data...", "INFO: Can't open a configuration file. Default settings used."}));
    run.manager.Save();
    const std::string bytes = SavedFile();
    EXPECT_EQ(oracle::File(kDefaults), bytes);
    // The oracle's layout: 12 + 60 + 26 + 25 (no pad byte after the 17 bytes of "mver") + 488.
    EXPECT_EQ(std::tuple(std::size_t{611}, std::string("keym")), std::tuple(bytes.size(), bytes.substr(123, 4)));
    EXPECT_TRUE(LogHasInOrder(
        {"INFO: Saving preference data...", "INFO: OK.", "INFO: Saving display configuration...", "INFO: OK."}));

    // A DirectInput pad and remapped keys are written from the live bindings.
    auto stick = VirtualJoystick::Stick(0x1234, 0x0001, "Stick", 2, 12, 1);
    ProgramRun padRun(dir);
    padRun.Start();
    padRun.host.SetMusicVolume(-2500);
    padRun.host.SetEffectVolume(-10000);
    padRun.host.SetMusicVersion(0);
    padRun.OfType(0).SetMapping("decide", 0, 0x39);
    padRun.OfType(0).SetMapping("x4", 0, 0xFFFFFFFFu);
    padRun.OfType(1).SetMapping("pause", 0, 9);
    // The last controller of a type speaks for it.
    padRun.OfType(3).SetMapping("x1", 0, 9);
    padRun.Controller(padRun.input->GetControllerCount() - 1).SetMapping("x2", 0, 4);
    padRun.manager.Save();
    EXPECT_EQ(oracle::File({Standard(0, oracle::With(oracle::kKeyboard, {{0, 0x39}, {10, -1}})),
                            Standard(1, oracle::With(oracle::kJoystick, {{2, 9}})), Standard(2, oracle::kMouse),
                            Standard(3, oracle::With(oracle::kXInput, {{8, 4}}))},
                           -2500, -10000, 0),
              SavedFile());
}

TEST_F(PreferenceTest, RecordsApplyInFileOrderAndAnAbsentPadTypeIsCarriedVerbatimAndAppliesWhenThePadReturns)
{
    const oracle::Codes first = oracle::With(oracle::kKeyboard, {{0, 0x10}});
    const oracle::Codes second = oracle::With(oracle::kKeyboard, {{0, 0x20}});
    const Record unknown{0, {{"jump", 0x39}}};
    // The records; then the keyboard's "decide", the stored types and the pairs stored for the keyboard.
    const std::tuple<const char*, std::vector<Record>, std::int32_t, std::size_t, std::size_t> cases[] = {
        {"duplicate types: the second wins", {Standard(0, first), Standard(0, second)}, 0x20, 1, 11},
        {"count 0 empties the store", {}, 0x1C, 0, 0},
        {"unknown action names are added", {Standard(0, first), unknown}, 0x10, 1, 1},
    };
    for (const auto& [name, records, decide, storedTypes, keyboardPairs] : cases) {
        SCOPED_TRACE(name);
        // A store filled by an earlier load must not leak into this one.
        dir.Write("preference.dat", oracle::File({Record{1, {{"x1", 3}}}}));
        ProgramRun run(dir);
        run.Start();
        ASSERT_EQ(1u, run.manager.GetStoredKeyMappings().size());
        dir.Write("preference.dat", oracle::File(records));
        run.manager.Load();
        const auto& stored = run.manager.GetStoredKeyMappings();
        const auto found = stored.find(0);
        EXPECT_EQ(std::tuple(decide, storedTypes, keyboardPairs),
                  std::tuple(run.Code(0, "decide"), stored.size(), found == stored.end() ? 0u : found->second.size()));
    }

    // A pad type that is not connected, with pairs in its own order and an unknown action.
    const Record absent{1, {{"cancel", 4}, {"jump", 7}, {"decide", 5}, {"x1", 7}}};
    dir.Write("preference.dat", oracle::File({Standard(0, oracle::kKeyboard), absent}));
    {
        ProgramRun run(dir);
        run.Start();
        run.manager.Save();
    }
    // After the connected types, whatever the order of the stored ones.
    EXPECT_EQ(oracle::File(
                  {Standard(0, oracle::kKeyboard), Standard(2, oracle::kMouse), Standard(3, oracle::kXInput), absent}),
              SavedFile());
    auto stick = VirtualJoystick::Stick(0x1234, 0x0001, "Stick", 2, 12, 1);
    ProgramRun run(dir);
    run.Start();
    // Binding 1 keeps its default; a name the controller did not have is added.
    EXPECT_EQ(std::tuple(7, 0x2001, 7), std::tuple(run.Code(1, "x1"), run.Code(1, "up", 1), run.Code(1, "jump")));
}

TEST_F(PreferenceTest, DefaultsReachEveryControllerOfTheirTypeWithALinePerControllerAndDisplayKeysStayInRange)
{
    {
        ProgramRun run(dir);
        run.manager.SetDefaultDirectInputJoystickMapping();
        EXPECT_FALSE(LogCapture::Contains("Joystick Device")) << "no DirectInput pad: no line";
    }
    LogCapture::Clear();
    auto stick = VirtualJoystick::Stick(0x1234, 0x0001, "Stick", 2, 12, 1);
    ProgramRun run(dir);
    run.manager.ResetAllKeyMappings();
    EXPECT_TRUE(LogHasInOrder({"INFO: #0: DirectInput Keyboard Device", "INFO: #2: DirectInput Joystick Device",
                               "INFO: #3: XInput Device", "INFO: #4: XInput Device", "INFO: #5: XInput Device",
                               "INFO: #6: XInput Device"}));
    // Controller, action, binding, code (binding 0 of the last of each type: the default file's bytes).
    const std::tuple<int, const char*, int, std::int32_t> bindings[] = {
        {0, "up", 1, 0x48},     {0, "down", 1, 0x50},    {0, "left", 1, 0x4B}, {0, "right", 1, 0x4D},
        {0, "decide", 1, 0x9C}, {0, "x1", 1, -1},        {2, "up", 1, 0x2001}, {2, "down", 1, 0x2003},
        {2, "left", 1, 0x2004}, {2, "right", 1, 0x2002}, {6, "up", 1, 0x0A},   {6, "down", 1, 0x0B},
        {6, "left", 1, 0x0C},   {6, "right", 1, 0x0D},   {3, "x4", 0, 1}};
    for (const auto& [controller, action, slot, code] : bindings)
        EXPECT_EQ(code, static_cast<std::int32_t>(run.Controller(controller).GetMapping(action, slot)))
            << "#" << controller << " " << action << " binding " << slot;

    // The display keys load whatever the preference file and stay in range: the preference file, the rotation and
    // aspect written, and the ones loaded.
    const std::string good = oracle::File({});
    const std::tuple<std::optional<std::string>, const char*, const char*, std::int32_t, std::int32_t> cases[] = {
        {std::nullopt, "2", "3", 2, 3},
        {"RIFF", "1", "4", 1, 4},
        {good, "4", "5", 0, 0},
        {good, "-1", "-2", 0, 0},
        {good, "left", "", 0, 0}};
    for (const auto& [preferenceFile, rotation, aspect, expectedRotation, expectedAspect] : cases) {
        SCOPED_TRACE(std::string(rotation) + " " + aspect + (preferenceFile ? "" : ", no preference file"));
        std::filesystem::remove(dir.File("preference.dat"));
        if (preferenceFile)
            dir.Write("preference.dat", *preferenceFile);
        dir.Write("display_setting.ini",
                  std::string("ScreenRotation=") + rotation + "\r\nScreenAspectRatio=" + aspect + "\r\n");
        ProgramRun loaded(dir);
        loaded.host.SetScreenRotation(3);
        loaded.host.SetAspectRatio(3);
        loaded.Start();
        EXPECT_EQ(std::tuple(expectedRotation, expectedAspect),
                  std::tuple(loaded.host.GetScreenRotation(), loaded.host.GetAspectRatio()));
    }
}

TEST_F(PreferenceTest, ResetAllForgetsStoredTypesAndVersionButKeepsVolumesAndOneTypeResetTouchesOnlyItsBindingZero)
{
    dir.Write("preference.dat",
              oracle::File({Standard(0, oracle::With(oracle::kKeyboard, {{0, 0x39}})), Record{1, {{"x1", 3}}}}, -3000,
                           -4000, 0));
    ProgramRun run(dir);
    run.Start();
    ASSERT_EQ(std::tuple(0, 0x39), std::tuple(int(run.host.GetMusicVersion()), run.Code(0, "decide")));
    run.manager.ResetAllKeyMappings();
    EXPECT_TRUE(run.manager.GetStoredKeyMappings().empty());
    // The saved file shows it: volumes kept, version 1, default codes, no stored type 1.
    run.manager.Save();
    EXPECT_EQ(oracle::File(kDefaults, -3000, -4000, 1), SavedFile());

    // One type's reset touches only binding 0 of that type.
    auto stick = VirtualJoystick::Stick(0x1234, 0x0001, "Stick", 2, 12, 1);
    dir.Write("preference.dat", oracle::File({Record{7, {{"x1", 3}}}}));
    const std::tuple<void (CPreferenceManager::*)(), int> cases[] = {
        {&CPreferenceManager::ResetKeyboardMapping, 0},
        {&CPreferenceManager::ResetDirectInputJoystickMapping, 1},
        {&CPreferenceManager::ResetXInputMapping, 3}};
    for (const auto& [reset, type] : cases) {
        SCOPED_TRACE("controller type " + std::to_string(type));
        ProgramRun run(dir);
        run.Start();
        const auto stored = run.manager.GetStoredKeyMappings();
        for (int i = 0; i < run.input->GetControllerCount(); ++i)
            for (const char* action : {"up", "x1", "cancel", "pause"})
                for (int slot : {0, 1})
                    run.Controller(i).SetMapping(action, slot, kSentinel);
        (run.manager.*reset)();
        EXPECT_EQ(stored, run.manager.GetStoredKeyMappings());
        for (int i = 0; i < run.input->GetControllerCount(); ++i) {
            korvane::IController& controller = run.Controller(i);
            for (int slot : {0, 1})
                EXPECT_EQ(controller.GetDeviceType() == type, controller.GetMapping("up", slot) != kSentinel)
                    << "#" << i << " binding " << slot;
            for (const char* action : {"x1", "cancel", "pause"})
                EXPECT_EQ(kSentinel, controller.GetMapping(action, 1)) << "#" << i << " " << action;
        }
    }
}

/// A host whose volumes fail with an exception from outside the engine.
class ThrowingHost : public CStandardPreferenceHost
{
public:
    using CStandardPreferenceHost::CStandardPreferenceHost;
    std::int32_t GetMusicVolume() override { throw std::length_error("volume unavailable"); }
    void SetMusicVolume(std::int32_t) override { throw std::length_error("volume unavailable"); }
};

TEST_F(PreferenceTest, NeitherOutsideExceptionsNorAFailedWriteLeaveSaveOrLoseTheOldFileOrTheDisplay)
{
    dir.Write("preference.dat", oracle::File({}));
    ProgramRun run(dir);
    ThrowingHost host(run.input.get(), run.display, run.displayPath, dir.Path());
    host.SetScreenRotation(2);
    CPreferenceManager manager(host);
    EXPECT_NO_THROW(manager.Save());
    EXPECT_TRUE(
        LogHasInOrder({"Can't save preference data.", "ERROR: Exception occurred.", "  Detail: volume unavailable",
                       "  Exception: class std::length_error", "INFO: Saving display configuration...", "INFO: OK."}));
    EXPECT_EQ(std::tuple(oracle::File({}), std::string("2")),
              std::tuple(SavedFile(), run.display.GetValue("ScreenRotation", "")));

    LogCapture::Clear();
    EXPECT_NO_THROW(manager.Load());
    EXPECT_TRUE(
        LogHasInOrder({"  Detail: volume unavailable", "Configuration file is corrupt. Default settings used."}));

    // A write that fails part-way (a file-size limit stops even the super-user; the display file stays below it)
    // keeps the old file and leaves no temporary file; the display is still saved and read at the next start.
    LogCapture::Clear();
    rlimit saved{};
    ::getrlimit(RLIMIT_FSIZE, &saved);
    const rlimit small{400, saved.rlim_max};
    const auto previous = std::signal(SIGXFSZ, SIG_IGN);
    {
        ProgramRun full(dir);
        full.Start().host.SetScreenRotation(3);
        full.host.SetMusicVolume(-2000);
        ::setrlimit(RLIMIT_FSIZE, &small);
        full.manager.Save();
        ::setrlimit(RLIMIT_FSIZE, &saved);
    }
    std::signal(SIGXFSZ, previous);
    EXPECT_TRUE(LogHasInOrder({"INFO: Saving preference data...", "Can't save preference data.",
                               "ERROR: Exception occurred.", "INFO: Saving display configuration...", "INFO: OK."}));
    std::set<std::string> left;
    for (const auto& entry : std::filesystem::directory_iterator(dir.Path()))
        left.insert(entry.path().filename().string());
    EXPECT_EQ((std::set<std::string>{"display_setting.ini", "preference.dat"}), left);
    ProgramRun next(dir);
    EXPECT_EQ(std::tuple(oracle::File({}), 3, 0),
              std::tuple(SavedFile(), next.Start().host.GetScreenRotation(), next.host.GetMusicVolume()));
}
