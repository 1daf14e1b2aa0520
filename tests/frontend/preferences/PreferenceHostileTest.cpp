/** @file PreferenceHostileTest.cpp Damaged and hostile "preference.dat" files: what is logged, what
 * is applied, and that nothing crashes, hangs, grows without bound or touches the file. */
#include <algorithm>
#include <cstdint>

#include <gtest/gtest.h>

#include "PreferenceOracle.h"
#include "PreferenceTestSupport.h"

namespace
{

using namespace prefs_test;
using namespace oracle;

// A file whose every value differs from the defaults, so that what was applied shows.
constexpr std::int32_t kMusic = -3000;
constexpr std::int32_t kEffect = -4000;
constexpr std::int32_t kDecide = 0x39;
constexpr std::size_t kAllocationLimit = 64 * 1024;

std::vector<Record> MarkedRecords()
{
    Codes keyboard = kKeyboard;
    keyboard[0] = kDecide;
    return {Standard(0, keyboard), Standard(2, kMouse), Standard(3, kXInput)};
}

const std::string kHead = Chunk("head", HeadData());
const std::string kVol = Chunk("vol ", VolumeData(kMusic, kEffect));
const std::string kMver = Chunk("mver", MusicVersionData(0));
const std::string kKeym = Chunk("keym", KeyMappingData(MarkedRecords()));
const std::string kMarked = Riff(kHead + kVol + kMver + kKeym);

/// The bytes with `value` written over four of them at `offset`.
std::string Patch(std::string bytes, std::size_t offset, std::uint32_t value)
{
    return bytes.replace(offset, 4, U32(value));
}
/// The bytes with the first `from` replaced by `to`.
std::string Replace(std::string bytes, const std::string& from, const std::string& to)
{
    return bytes.replace(bytes.find(from), from.size(), to);
}
std::string Keym(const std::string& data)
{
    return Riff(kHead + kVol + kMver + Chunk("keym", data));
}

/// What the run holds after loading.
struct State
{
    std::int32_t music, effect;
    int version;
    std::int32_t decide;
    std::vector<std::int32_t> stored;
    bool operator==(const State&) const = default;
};
std::ostream& operator<<(std::ostream& out, const State& s)
{
    return out << "music " << s.music << ", effect " << s.effect << ", version " << s.version << ", decide " << s.decide
               << ", stored " << ::testing::PrintToString(s.stored);
}

const State kNothing{0, 0, 1, 0x1C, {}};
const State kAll{kMusic, kEffect, 0, kDecide, {0, 2, 3}};
const State kVolumeAndVersion{kMusic, kEffect, 0, 0x1C, {}};

const std::string kCorrupt = "Configuration file is corrupt. Default settings used.";
const std::string kVolumeFallback = "Failed to load volume settings. Default settings used.";
const std::string kVersionFallback = "Failed to music version settings. Default settings used.";
const std::string kReader = "class korvane::CRIFFReader";
const std::string kManager = "class CPreferenceManager";

std::vector<std::string> Lines(std::initializer_list<std::vector<std::string>> parts)
{
    std::vector<std::string> all;
    for (const auto& part : parts)
        all.insert(all.end(), part.begin(), part.end());
    return all;
}
std::vector<std::string> NotFound(const std::string& id, const char* code)
{
    return Report("chunk not found - \"" + id + "\"(" + code + ")", "EReadError", kReader);
}

class PreferenceHostileTest : public PreferenceTest
{
protected:
    /// Loads the bytes after the defaults, as at start, and checks what every case must hold.
    State Load(const std::string& bytes, bool loaded)
    {
        dir.Write("preference.dat", bytes);
        korvane::test::LogCapture::Clear();
        ProgramRun run(dir);
        run.manager.ResetAllKeyMappings();
        ResetLargestAllocation();
        run.manager.Load();
        EXPECT_LT(LargestAllocation(), kAllocationLimit);
        EXPECT_EQ(bytes, SavedFile()) << "a file that is read stays as it was";
        EXPECT_TRUE(LogHasInOrder({"INFO: Loading preference data..."}));
        EXPECT_EQ(loaded, korvane::test::LogCapture::HasLine("INFO: OK."));
        // The corrupt message names where it was raised.
        const auto lines = LogLines();
        const auto corrupt = std::find(lines.begin(), lines.end(), kCorrupt);
        EXPECT_EQ(!loaded, corrupt != lines.end() && corrupt + 1 != lines.end() &&
                               corrupt[1].rfind("PreferenceManager.cpp(", 0) == 0);
        State state{run.host.GetMusicVolume(),
                    run.host.GetEffectVolume(),
                    run.host.GetMusicVersion(),
                    run.Code(0, "decide"),
                    {}};
        for (const auto& entry : run.manager.GetStoredKeyMappings())
            state.stored.push_back(entry.first);
        return state;
    }
};

TEST_F(PreferenceHostileTest, EachDamageLogsItsLinesAndAppliesNoMoreThanItMay)
{
    std::string badRecord = KeyMappingData(MarkedRecords());
    badRecord = Replace(badRecord, RecordData(Standard(2, kMouse)),
                        Replace(RecordData(Standard(2, kMouse)), "MappingData", "MappingDatA"));
    struct Case
    {
        const char* name;
        std::string bytes;
        bool loaded;
        State state;
        std::vector<std::string> lines;
    };
    const auto notRiff = Report("file format error: not RIFF header.", "EInvalidFileFormat", kReader);
    const auto badHead = Report("loadHeader: header data incorrect.", "EInvalidFileFormat", kManager);
    const auto badVolume = Report("loadMainPreference: error", "EReadError", kManager);
    const auto badKeym = Report("CPreferenceManager::loadKeyMapping: load error", "EInvalidFileFormat", kManager);
    const auto noHead = NotFound("head", "0x64616568");
    const auto noVol = NotFound("vol ", "0x206C6F76");
    const auto noMver = NotFound("mver", "0x7265766D");
    const auto noKeym = NotFound("keym", "0x6D79656B");
    const std::size_t keymData = 12 + kHead.size() + kVol.size() + kMver.size() + 8;
    const std::size_t record0 = keymData + Str("KeyMapping").size() + Str("Count").size() + 4;

    const Case cases[] = {
        {"empty file", "", false, kNothing, Lines({notRiff, {kCorrupt}})},
        {"big-endian container", Replace(kMarked, "RIFF", "RIFX"), false, kNothing, Lines({notRiff, {kCorrupt}})},
        {"other container id", Replace(kMarked, "RIFF", "LIST"), false, kNothing, Lines({notRiff, {kCorrupt}})},
        {"container size 0", Patch(kMarked, 4, 0), false, kNothing, Lines({noHead, {kCorrupt}})},
        {"container size short of the chunks", Patch(kMarked, 4, 20), false, kNothing,
         Lines({{"INFO:   Ver.1.0"}, noVol, {kVolumeFallback}, noMver, {kVersionFallback}, noKeym, {kCorrupt}})},
        {"container size huge", Patch(kMarked, 4, 0x7FFFFFF0), true, kAll, {}},
        {"container size negative", Patch(kMarked, 4, 0xFFFFFFFB), false, kNothing, Lines({noHead, {kCorrupt}})},
        {"last chunk's size past the end", Patch(kMarked, keymData - 4, 5000), true, kAll, {}},
        {"middle chunk's size past the end", Patch(kMarked, 12 + kHead.size() + 4, 0x10000), false,
         State{kMusic, kEffect, 1, 0x1C, {}}, Lines({noMver, {kVersionFallback}, noKeym, {kCorrupt}})},
        {"middle chunk's size negative", Patch(kMarked, 12 + kHead.size() + kVol.size() + 4, 0xFFFFFFFF), false,
         kVolumeAndVersion, Lines({noKeym, {kCorrupt}})},
        {"last chunk's size negative", Patch(kMarked, keymData - 4, 0xFFFFFFF0), true, kAll, {}},
        {"unknown chunk", Riff(kHead + kVol + Chunk("junk", "xyz") + kMver + kKeym), true, kAll, {}},
        {"shuffled chunks", Riff(kKeym + kMver + kVol + kHead), true, kAll, {}},
        {"duplicate chunk: the last wins",
         Riff(kHead + kVol + kMver + kKeym + Chunk("vol ", VolumeData(-5000, -6000))),
         true,
         State{-5000, -6000, 0, kDecide, {0, 2, 3}},
         {}},
        {"no \"head\"", Riff(kVol + kMver + kKeym), false, kNothing, Lines({noHead, {kCorrupt}})},
        {"no \"keym\"", Riff(kHead + kVol + kMver), false, kVolumeAndVersion, Lines({noKeym, {kCorrupt}})},
        {"no \"vol \"", Riff(kHead + kMver + kKeym), true, State{0, 0, 0, kDecide, {0, 2, 3}},
         Lines({noVol, {kVolumeFallback, "INFO: OK."}})},
        {"no \"mver\"", Riff(kHead + kVol + kKeym), true, State{kMusic, kEffect, 1, kDecide, {0, 2, 3}},
         Lines({noMver, {kVersionFallback, "INFO: OK."}})},
        {"signature changed by one character", Replace(kMarked, "QVR2WinPreference", "QVR2WinPreferencf"), false,
         kNothing, Lines({badHead, {kCorrupt}})},
        {"bad version label", Replace(kMarked, "Version", "Versiom"), false, kNothing, Lines({badHead, {kCorrupt}})},
        {"bad build label", Replace(kMarked, "Build", "Built"), false, kNothing, Lines({badHead, {kCorrupt}})},
        {"bad volume label", Replace(kMarked, "Volume", "Volumf"), true, State{0, 0, 0, kDecide, {0, 2, 3}},
         Lines({badVolume, {kVolumeFallback}})},
        {"bad music version label", Replace(kMarked, "MusicVersion", "MusicVersiom"), true,
         State{kMusic, kEffect, 1, kDecide, {0, 2, 3}}, Lines({badVolume, {kVersionFallback}})},
        {"bad key mapping label", Replace(kMarked, "KeyMapping", "KeyMappinh"), false, kVolumeAndVersion,
         Lines({badKeym, {kCorrupt}})},
        {"bad count label", Replace(kMarked, "Count", "Coint"), false, kVolumeAndVersion, Lines({badKeym, {kCorrupt}})},
        {"bad first record label", Replace(kMarked, "MappingData", "MappingDatA"), false, kVolumeAndVersion,
         Lines({badKeym, {kCorrupt}})},
        {"bad record 1: record 0 stays applied and stored", Keym(badRecord), false,
         State{kMusic, kEffect, 0, kDecide, {0}}, Lines({badKeym, {kCorrupt}})},
        {"string length -1", Patch(kMarked, 20, 0xFFFFFFFF), false, kNothing,
         Lines({Report("loadHeader: invalid string length in chunk \"head\"", "EReadError", kManager), {kCorrupt}})},
        {"string length 2^31-1 in \"vol \"", Patch(kMarked, 80, 0x7FFFFFFF), true, State{0, 0, 0, kDecide, {0, 2, 3}},
         Lines({Report("loadMainPreference: invalid string length in chunk \"vol \"", "EReadError", kManager),
                {kVolumeFallback}})},
        {"string length 2^31-1 in a pair", Patch(kMarked, record0 + 15 + 8, 0x7FFFFFFF), false, kVolumeAndVersion,
         Lines(
             {Report("loadKeyMapping: invalid string length in chunk \"keym\"", "EReadError", kManager), {kCorrupt}})},
        {"huge record count: the records present apply", Patch(kMarked, record0 - 4, 0x7FFFFFFF), false, kAll,
         Lines({Report("loadKeyMapping: record exceeds the data in chunk \"keym\"", "EReadError", kManager),
                {kCorrupt}})},
        {"negative record count", Patch(kMarked, record0 - 4, 0xFFFFFFFF), true, kVolumeAndVersion, {}},
        {"huge pair count", Patch(kMarked, record0 + 15 + 4, 0x40000000), false, kVolumeAndVersion,
         Lines({Report("loadKeyMapping: pair count exceeds the data in chunk \"keym\"", "EReadError", kManager),
                {kCorrupt}})},
        {"negative pair count",
         Keym(Str("KeyMapping") + Str("Count") + U32(1) + Str("MappingData") + U32(0) + I32(-1)),
         true,
         State{kMusic, kEffect, 0, 0x1C, {0}},
         {}},
        {"fixed field cut short", Riff(kHead + kVol + Chunk("mver", Str("MusicVersion")) + kKeym), true,
         State{kMusic, kEffect, 1, kDecide, {0, 2, 3}},
         Lines({Report("loadMainPreference: unexpected end of data in chunk \"mver\"", "EReadError", kManager),
                {kVersionFallback}})},
        {"another version and build",
         Riff(Chunk("head", HeadData("2.5", 77)) + kVol + kMver + kKeym),
         true,
         kAll,
         {"INFO:   Ver.2.5", "INFO:   Build:77", "INFO: OK."}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(c.state, Load(c.bytes, c.loaded));
        EXPECT_TRUE(LogHasInOrder(c.lines));
    }
}

TEST_F(PreferenceHostileTest, EveryCutOfTheFileIsCorrupt)
{
    for (std::size_t length = 0; length < kMarked.size(); ++length) {
        SCOPED_TRACE("cut at " + std::to_string(length));
        Load(kMarked.substr(0, length), false);
    }
}

} // namespace
