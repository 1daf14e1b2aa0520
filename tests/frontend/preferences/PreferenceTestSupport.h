/** @file PreferenceTestSupport.h One program run's preference objects over real controllers and files, and the log
 * split into lines. */
#pragma once

#include <memory>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include "KorvaneXDK/core/Exception.h"
#include "KorvaneXDK/platform/graphics/GraphicsModePreference.h"
#include "KorvaneXDK/platform/input/DXInput.h"
#include "PreferenceOracle.h"
#include "frontend/preferences/PreferenceManager.h"
#include "frontend/preferences/StandardPreferenceHost.h"
#include "support/InputTestSupport.h"
#include "support/TempDir.h"

namespace prefs_test
{

/// What one start of the program has: its controllers, the display settings read at start, the
/// host values and the manager.
struct ProgramRun
{
    explicit ProgramRun(const korvane::test::TempDir& dir)
        : displayPath(dir.File("display_setting.ini")), host(input.get(), display, displayPath, dir.Path())
    {
        EXPECT_TRUE(input->Initialize(true));
        try {
            display.Load(displayPath);
        } catch (const korvane::EFileOpenError&) {
        }
    }
    /// The resource scene's start: defaults, then the file.
    ProgramRun& Start()
    {
        manager.ResetAllKeyMappings();
        manager.Load();
        return *this;
    }
    korvane::IController& Controller(int index) { return *input->GetController(index); }
    /// The first controller of the type.
    korvane::IController& OfType(int type)
    {
        for (int i = 0; i < input->GetControllerCount(); ++i)
            if (Controller(i).GetDeviceType() == type)
                return Controller(i);
        throw std::runtime_error("no controller of type " + std::to_string(type));
    }
    std::int32_t Code(int type, const char* action, int slot = 0)
    {
        return static_cast<std::int32_t>(OfType(type).GetMapping(action, slot));
    }

    std::string displayPath;
    std::unique_ptr<korvane::CDXInput> input = std::make_unique<korvane::CDXInput>(nullptr, nullptr);
    korvane::CGraphicsModePreference display;
    CStandardPreferenceHost host;
    CPreferenceManager manager{host};
};

/// The captured log with every entry split at its line breaks and the tabs of error lines dropped,
/// so that the report and error lines can be compared one by one.
inline std::vector<std::string> LogLines()
{
    std::vector<std::string> lines;
    for (const std::string& entry : korvane::test::LogCapture::Lines()) {
        std::istringstream text(entry);
        for (std::string line; std::getline(text, line);)
            if (!line.empty() && !(line = line.substr(line[0] == '\t' ? 1 : 0)).empty())
                lines.push_back(line);
    }
    return lines;
}

/// True when the expected lines appear in the log in this order (other lines may come between).
inline ::testing::AssertionResult LogHasInOrder(const std::vector<std::string>& expected)
{
    const std::vector<std::string> lines = LogLines();
    std::size_t at = 0;
    for (const std::string& line : lines)
        if (at < expected.size() && line == expected[at])
            ++at;
    if (at == expected.size())
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "missing \"" << expected[at] << "\" in:\n"
                                         << korvane::test::LogCapture::All();
}

/// Joystick subsystem, input hooks, log capture and a temporary save folder for each test.
class PreferenceTest : public korvane::test::InputTest
{
protected:
    std::string SavedFile() const { return korvane::test::TempDir::Read(dir.File("preference.dat")); }

    korvane::test::TempDir dir;
};

} // namespace prefs_test
