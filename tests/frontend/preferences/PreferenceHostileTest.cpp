/** @file PreferenceHostileTest.cpp Damaged and hostile "preference.dat" files: what is logged, what
 * is applied, and that nothing crashes, hangs, grows without bound or touches the file before a save sets it
 * aside; display settings files too large to be the program's own; folders and named pipes in place of either. */
#include <algorithm>
#include <atomic>
#include <filesystem>
#include <optional>
#include <set>
#include <tuple>

#include "PreferenceTestSupport.h"
#include "support/NamedPipe.h"

/// The largest single operator-new request since it was last cleared (AllocationTracker.cpp).
extern std::atomic<std::size_t> gLargestAllocation;

using namespace prefs_test;
using namespace oracle;

// A file whose every value differs from the defaults, so that what was applied shows.
constexpr std::int32_t kMusic = -3000;
constexpr std::int32_t kEffect = -4000;
constexpr std::int32_t kDecide = 0x39;

const std::vector<Record> kMarkedRecords = {Standard(0, With(kKeyboard, {{0, kDecide}})), Standard(2, kMouse),
                                            Standard(3, kXInput)};

const std::string kHead = Chunk("head", HeadData());
const std::string kVol = Chunk("vol ", VolumeData(kMusic, kEffect));
const std::string kMver = Chunk("mver", MusicVersionData(0));
const std::string kKeym = Chunk("keym", KeyMappingData(kMarkedRecords));
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

/// What the run holds after loading: music and effect volume, music version, keyboard decide, stored types.
using State = std::tuple<std::int32_t, std::int32_t, int, std::int32_t, std::vector<std::int32_t>>;

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
/// The lines followed by the corrupt-file message.
std::vector<std::string> Corrupt(std::vector<std::string> lines)
{
    lines.push_back(kCorrupt);
    return lines;
}
/// The four lines of an engine exception report.
std::vector<std::string> Report(const std::string& detail, const std::string& exception, const std::string& where)
{
    return {"ERROR: Exception occurred.", "  Detail: " + detail, "  Exception: class korvane::" + exception,
            "  Where: " + where};
}
std::vector<std::string> NotFound(const std::string& id, const char* code)
{
    return Report("chunk not found - \"" + id + "\"(" + code + ")", "EReadError", kReader);
}

TEST_F(PreferenceTest, EachDamageAndEveryCutLogsItsLinesAndAppliesNoMoreThanItMay)
{
    // Loads the bytes after the defaults, as at start, and checks what every case must hold.
    const auto load = [this](const std::string& bytes, bool loaded) {
        dir.Write("preference.dat", bytes);
        korvane::test::LogCapture::Clear();
        ProgramRun run(dir);
        run.manager.ResetAllKeyMappings();
        gLargestAllocation.store(0);
        run.manager.Load();
        EXPECT_LT(gLargestAllocation.load(), std::size_t{64 * 1024});
        EXPECT_EQ(bytes, SavedFile()) << "a file that is read stays as it was";
        EXPECT_TRUE(LogHasInOrder({"INFO: Loading preference data..."}));
        EXPECT_EQ(loaded, korvane::test::LogCapture::HasLine("INFO: OK."));
        // The corrupt message names where it was raised.
        const auto lines = LogLines();
        const auto corrupt = std::find(lines.begin(), lines.end(), kCorrupt);
        EXPECT_EQ(!loaded, corrupt != lines.end() && corrupt + 1 != lines.end() &&
                               corrupt[1].rfind("PreferenceManager(", 0) == 0);
        std::vector<std::int32_t> types;
        for (const auto& entry : run.manager.GetStoredKeyMappings())
            types.push_back(entry.first);
        return State{run.host.GetMusicVolume(), run.host.GetEffectVolume(), run.host.GetMusicVersion(),
                     run.Code(0, "decide"), types};
    };
    // The marked file with record 1's label changed by one character.
    const std::string badRecord = Replace(kMarked, RecordData(Standard(2, kMouse)),
                                          Replace(RecordData(Standard(2, kMouse)), "MappingData", "MappingDatA"));
    struct Case
    {
        const char* name;
        std::string bytes;
        bool loaded;
        State state;
        std::vector<std::string> lines = {};
    };
    const auto notRiff = Corrupt(Report("file format error: not RIFF header.", "EInvalidFileFormat", kReader));
    const auto badHead = Corrupt(Report("loadHeader: header data incorrect.", "EInvalidFileFormat", kManager));
    const auto badVolume = Report("loadMainPreference: error", "EReadError", kManager);
    const auto badKeym =
        Corrupt(Report("CPreferenceManager::loadKeyMapping: load error", "EInvalidFileFormat", kManager));
    const auto noHead = NotFound("head", "0x64616568");
    const auto noVol = NotFound("vol ", "0x206C6F76");
    const auto noMver = NotFound("mver", "0x7265766D");
    const auto noKeym = NotFound("keym", "0x6D79656B");
    const auto readError = [](const std::string& detail) { return Report(detail, "EReadError", kManager); };
    const std::size_t record0 =
        12 + kHead.size() + kVol.size() + kMver.size() + 8 + Str("KeyMapping").size() + Str("Count").size() + 4;
    const State noVolume{0, 0, 0, kDecide, {0, 2, 3}};
    const State noVersion{kMusic, kEffect, 1, kDecide, {0, 2, 3}};

    const Case cases[] = {
        {"big-endian container", Replace(kMarked, "RIFF", "RIFX"), false, kNothing, notRiff},
        {"empty file", "", false, kNothing, notRiff},
        {"other container id", Replace(kMarked, "RIFF", "LIST"), false, kNothing, notRiff},
        {"duplicate chunk: the last wins", Riff(kHead + kVol + kMver + kKeym + Chunk("vol ", VolumeData(-5000, -6000))),
         true, State{-5000, -6000, 0, kDecide, {0, 2, 3}}},
        {"container size 0", Patch(kMarked, 4, 0), false, kNothing, Corrupt(noHead)},
        {"container size short of the chunks", Patch(kMarked, 4, 20), false, kNothing,
         Corrupt(Lines({{"INFO:   Ver.1.0"}, noVol, {kVolumeFallback}, noMver, {kVersionFallback}, noKeym}))},
        {"container size with the top bit set: trusted up to the file's end", Patch(kMarked, 4, 0xFFFFFFFB), true,
         kAll},
        {"larger than any preference file: refused unread",
         Riff(kHead + kVol + kMver + kKeym + Chunk("junk", std::string(128 * 1024, 'j'))), false, kNothing,
         Corrupt(Report("Load: file too large", "EInvalidFileFormat", kManager))},
        {"container size huge", Patch(kMarked, 4, 0x7FFFFFF0), true, kAll},
        {"last chunk's size negative", Patch(kMarked, kMarked.size() - kKeym.size() + 4, 0xFFFFFFF0), true, kAll},
        {"shuffled chunks", Riff(kKeym + kMver + kVol + kHead), true, kAll},
        {"no \"head\"", Riff(kVol + kMver + kKeym), false, kNothing, Corrupt(noHead)},
        {"no \"keym\"", Riff(kHead + kVol + kMver), false, kVolumeAndVersion, Corrupt(noKeym)},
        {"no \"vol \"", Riff(kHead + kMver + kKeym), true, noVolume, Lines({noVol, {kVolumeFallback, "INFO: OK."}})},
        {"no \"mver\"", Riff(kHead + kVol + kKeym), true, noVersion, Lines({noMver, {kVersionFallback, "INFO: OK."}})},
        {"signature changed by one character", Replace(kMarked, "QVR2WinPreference", "QVR2WinPreferencf"), false,
         kNothing, badHead},
        {"bad version label", Replace(kMarked, "Version", "Versiom"), false, kNothing, badHead},
        {"bad build label", Replace(kMarked, "Build", "Built"), false, kNothing, badHead},
        {"bad volume label", Replace(kMarked, "Volume", "Volumf"), true, noVolume,
         Lines({badVolume, {kVolumeFallback}})},
        {"bad music version label", Replace(kMarked, "MusicVersion", "MusicVersiom"), true, noVersion,
         Lines({badVolume, {kVersionFallback}})},
        {"bad key mapping label", Replace(kMarked, "KeyMapping", "KeyMappinh"), false, kVolumeAndVersion, badKeym},
        {"bad count label", Replace(kMarked, "Count", "Coint"), false, kVolumeAndVersion, badKeym},
        {"bad first record label", Replace(kMarked, "MappingData", "MappingDatA"), false, kVolumeAndVersion, badKeym},
        {"bad record 1: record 0 stays applied and stored", badRecord, false, State{kMusic, kEffect, 0, kDecide, {0}},
         badKeym},
        {"string length -1", Patch(kMarked, 20, 0xFFFFFFFF), false, kNothing,
         Corrupt(readError("loadHeader: invalid string length in chunk \"head\""))},
        {"string length 2^31-1 in \"vol \"", Patch(kMarked, 80, 0x7FFFFFFF), true, noVolume,
         Lines({readError("loadMainPreference: invalid string length in chunk \"vol \""), {kVolumeFallback}})},
        {"string length 2^31-1 in a pair", Patch(kMarked, record0 + 15 + 8, 0x7FFFFFFF), false, kVolumeAndVersion,
         Corrupt(readError("loadKeyMapping: invalid string length in chunk \"keym\""))},
        {"huge record count: the records present apply", Patch(kMarked, record0 - 4, 0x7FFFFFFF), false, kAll,
         Corrupt(readError("loadKeyMapping: record exceeds the data in chunk \"keym\""))},
        {"negative record count", Patch(kMarked, record0 - 4, 0xFFFFFFFF), true, kVolumeAndVersion},
        {"huge pair count", Patch(kMarked, record0 + 15 + 4, 0x40000000), false, kVolumeAndVersion,
         Corrupt(readError("loadKeyMapping: pair count exceeds the data in chunk \"keym\""))},
        {"negative pair count",
         Riff(kHead + kVol + kMver +
              Chunk("keym", Str("KeyMapping") + Str("Count") + U32(1) + Str("MappingData") + U32(0) + U32(-1))),
         true, State{kMusic, kEffect, 0, 0x1C, {0}}},
        {"fixed field cut short", Riff(kHead + kVol + Chunk("mver", Str("MusicVersion")) + kKeym), true, noVersion,
         Lines({readError("loadMainPreference: unexpected end of data in chunk \"mver\""), {kVersionFallback}})},
        {"another version and build", Riff(Chunk("head", HeadData("2.5", 77)) + kVol + kMver + kKeym), true, kAll,
         std::vector<std::string>{"INFO:   Ver.2.5", "INFO:   Build:77", "INFO: OK."}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(c.state, load(c.bytes, c.loaded));
        EXPECT_TRUE(LogHasInOrder(c.lines));
    }

    // Every cut of the file is corrupt.
    for (std::size_t length = 0; length < kMarked.size(); ++length) {
        SCOPED_TRACE("cut at " + std::to_string(length));
        load(kMarked.substr(0, length), false);
    }
}

TEST_F(PreferenceTest, AFolderOrANamedPipeInPlaceOfEitherFileIsRefusedWithItsReasonAndNeverWaitedOn)
{
    for (const char* file : {"preference.dat", "display_setting.ini"}) {
        for (const auto& [kind, reason] :
             {std::pair("folder", "Is a directory"), std::pair("pipe", "Is a named pipe")}) {
            SCOPED_TRACE(std::string(file) + ", " + kind);
            korvane::test::TempDir folder;
            const std::string path = folder.File(file);
            if (kind == std::string("folder"))
                std::filesystem::create_directory(path);
            else
                korvane::test::MakeNamedPipe(path);
            korvane::test::LogCapture::Clear();
            // The display settings are read when the driver starts, the preferences when the resource scene does.
            std::optional<ProgramRun> run;
            if (file == std::string("preference.dat"))
                run.emplace(folder);
            bool refused = false;
            korvane::test::EndsWithoutWaiting(
                [&] {
                    if (run) {
                        run->manager.Load();
                        refused = korvane::test::LogCapture::Contains(
                            "Can't open a configuration file. Default settings used.");
                        return;
                    }
                    korvane::CGraphicsModePreference settings;
                    try {
                        settings.Load(path);
                    } catch (const korvane::EFileOpenError&) {
                        refused = true;
                    }
                },
                path, std::string("reading ") + file);
            EXPECT_TRUE(refused) << korvane::test::LogCapture::All();
            EXPECT_TRUE(korvane::test::LogCapture::Contains(std::string("): ") + reason + "\n"))
                << korvane::test::LogCapture::All();
        }
    }
}

TEST_F(PreferenceTest, ADamagedFileIsSetAsideWhenTheNextSaveWouldWriteOverIt)
{
    for (const std::string aside : {"preference.dat.corrupt", "preference.dat.corrupt1"}) {
        SCOPED_TRACE(aside);
        const std::string damaged = "damaged before " + aside;
        dir.Write("preference.dat", damaged);
        korvane::test::LogCapture::Clear();
        ProgramRun run(dir);
        run.Start().manager.Save();
        EXPECT_EQ(damaged, korvane::test::TempDir::Read(dir.File(aside)));
        EXPECT_TRUE(LogHasInOrder({kCorrupt, "INFO: Saving preference data...",
                                   "INFO: Damaged preference data kept as '" + dir.File(aside) + "'.", "INFO: OK."}));
    }
    // The new file is whole, and a whole file is never set aside.
    ProgramRun next(dir);
    next.Start().manager.Save();
    std::set<std::string> left;
    for (const auto& entry : std::filesystem::directory_iterator(dir.Path()))
        left.insert(entry.path().filename().string());
    EXPECT_EQ((std::set<std::string>{"display_setting.ini", "preference.dat", "preference.dat.corrupt",
                                     "preference.dat.corrupt1"}),
              left);
    EXPECT_TRUE(korvane::test::LogCapture::HasLine("INFO: OK."));
}

TEST_F(PreferenceTest, ADisplayFileLargerThanAnyWrittenIsRefusedUnreadAndTheNextSaveWritesASmallOne)
{
    const std::string keys = "ScreenRotation=2\r\n";
    const auto padded = [&](std::size_t size) {
        return keys + "Junk=" + std::string(size - keys.size() - 7, 'x') + "\r\n";
    };
    for (const auto& [size, taken] :
         {std::pair(std::size_t{16 * 1024}, true), std::pair(std::size_t{16 * 1024 + 1}, false),
          std::pair(std::size_t{4 << 20}, false)}) {
        SCOPED_TRACE(size);
        const std::string path = dir.Write("display_setting.ini", padded(size));
        korvane::test::LogCapture::Clear();
        korvane::CGraphicsModePreference settings;
        gLargestAllocation.store(0);
        EXPECT_NO_THROW(settings.Load(path));
        EXPECT_LT(gLargestAllocation.load(), std::size_t{64 * 1024});
        EXPECT_EQ(taken ? "2" : "default", settings.GetValue("ScreenRotation", "default"));
        EXPECT_EQ(!taken,
                  korvane::test::LogCapture::Contains(
                      "Display configuration file is corrupt (larger than 16384 bytes). Default settings used."))
            << korvane::test::LogCapture::All();
    }
    ProgramRun run(dir);
    run.Start().manager.Save();
    EXPECT_LT(std::filesystem::file_size(dir.File("display_setting.ini")), 1024u);
}
