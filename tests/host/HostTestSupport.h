/** @file HostTestSupport.h Clock, display state and controller set-up shared by the host tests. */
#pragma once

#include <cstdint>
#include <cstring>
#include <string>

#include "KorvaneXDK/core/EngineClock.h"
#include "KorvaneXDK/core/ScopedLock.h"
#include "KorvaneXDK/platform/input/StandardController.h"
#include "host/ConsoleDisplayState.h"
#include "host/ResourceScene.h"

namespace host_test
{

/// The engine clock reads `milliseconds` while this lives.
class InjectedClock
{
public:
    InjectedClock()
    {
        korvane::SetEngineClockSource([this] { return milliseconds.load(); });
    }
    ~InjectedClock() { korvane::SetEngineClockSource({}); }
    std::atomic<double> milliseconds{0.0};
};

/// Puts the shared display record back to its start values.
inline void ResetDisplayState()
{
    korvane::CScopedLock lock(CResourceScene::GetInstance()->GetDisplayLock());
    GetConsoleDisplayState() = ConsoleDisplayState{};
}

/// Field by field (the record has padding that a byte compare would read).
inline bool SameState(const ConsoleDisplayState& a, const ConsoleDisplayState& b)
{
    return a.WindowX == b.WindowX && a.WindowY == b.WindowY && a.WindowWidth == b.WindowWidth &&
           a.WindowHeight == b.WindowHeight && a.DisplayMode == b.DisplayMode &&
           std::memcmp(a.Scroll, b.Scroll, sizeof(a.Scroll)) == 0 &&
           std::memcmp(a.Sprites, b.Sprites, sizeof(a.Sprites)) == 0 && a.SpriteFirst == b.SpriteFirst &&
           a.SpriteCount == b.SpriteCount && std::memcmp(a.Palettes, b.Palettes, sizeof(a.Palettes)) == 0 &&
           std::memcmp(a.TileMaps, b.TileMaps, sizeof(a.TileMaps)) == 0 &&
           std::memcmp(a.TilePatterns, b.TilePatterns, sizeof(a.TilePatterns)) == 0;
}

/// A device whose held codes (and their analog values) the test sets; each button is mapped to one
/// code by the test. Holds take effect at the next Update.
class CHeldKeysController : public korvane::CStandardController
{
public:
    void Hold(std::uint32_t code, bool held, float value = 1.0f)
    {
        korvane::CScopedLock lock(GetLock());
        held_[code] = held ? value : -1.0f;
    }
    int GetDeviceType() override { return korvane::kControllerKeyboard; }
    void Update() override
    {
        korvane::CScopedLock lock(GetLock());
        ++updates;
        RefreshButtons();
    }
    bool GetActiveInput(const std::string&, int) override { return false; }
    std::string GetInputName(const std::string&, int) override { return ""; }
    int updates = 0; ///< polls that reached the device

protected:
    void EvaluateInput(std::uint32_t code, bool& down, float& value) override
    {
        auto found = held_.find(code);
        if (found != held_.end() && found->second >= 0.0f) {
            down = true;
            value = found->second;
        }
    }

private:
    std::map<std::uint32_t, float> held_;
};

} // namespace host_test
