/** @file GraphicsModePreference.h The offered display modes, the chosen one and "display_setting.ini". */
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "KorvaneXDK/core/Object.h"
#include "KorvaneXDK/core/Properties.h"
#include "os/gfx/Types.h"

namespace os::gfx
{
class Direct3D;
}

namespace korvane
{

/// Holds the modes the program offers (X8R8G8B8 modes of the adapter within the size and
/// refresh limits, ascending), the chosen one as ready-made present parameters for full
/// screen and for the window, the full-screen flag and the settings file's key=value table.
/// The fields are public: the driver and the front end read and write them directly.
class CGraphicsModePreference : public virtual CNonCopyable
{
public:
    using DisplayMode = os::gfx::DisplayMode;
    using Properties = TProperties<comparator_for_properties::less_ignorecase>;

    CGraphicsModePreference();
    ~CGraphicsModePreference() override;

    /// The settings table's value for the key (compared without regard to case), or the default.
    virtual std::string GetProperty(const std::string& key, const std::string& defaultValue);
    virtual void SetProperty(const std::string& key, const std::string& value);

    /// Fills the mode list and selects the default mode. Throws EIOError "Display device
    /// initialization failed." when no mode lies within the limits.
    void EnumerateModes();
    /// Rebuilds both parameter sets from the mode at the index; an index outside the list
    /// throws std::out_of_range. The full-screen flag is not changed.
    void SelectMode(int index);
    /// Reads the settings file (EFileOpenError when it cannot be opened) and selects its mode
    /// when the adapter still offers it. A file larger than any written here is damaged: it is
    /// refused unread with an error line, and the defaults stay.
    void Load(const std::string& path);
    /// Writes the settings file (through a temporary file renamed over the old one). While a mode
    /// awaits confirmation, the mode to go back to is written in its place.
    void Save(const std::string& path);

    /// A newly applied mode awaits the user's confirmation; the mode at `previousIndex` with the
    /// full-screen flag `previousFullscreen` is the one a refusal would bring back. Until
    /// EndConfirmation, Save writes that mode, so a program that ends before the answer does not
    /// start again in a mode nobody confirmed (it may show nothing usable).
    void BeginConfirmation(int previousIndex, bool previousFullscreen);
    /// The answer came (the mode was kept or the previous one restored): Save writes the mode in force.
    void EndConfirmation();

    // Names the front end uses for the same operations.
    std::string GetValue(const std::string& key, const std::string& defaultValue)
    {
        return GetProperty(key, defaultValue);
    }
    void SetValue(const std::string& key, const std::string& value) { SetProperty(key, value); }

    os::gfx::Direct3D* direct3D = nullptr; ///< not owned; set by the driver
    std::uint32_t adapter = 0;
    bool fullscreen = false;
    os::gfx::DeviceType deviceType = os::gfx::DeviceType::Hal;
    os::gfx::PresentParameters fullscreenParameters;
    os::gfx::PresentParameters windowedParameters;
    std::int32_t minimumWidth = 640;
    std::int32_t minimumHeight = 480;
    std::int32_t minimumRefreshRate = 0;
    std::int32_t maximumWidth = 65535;
    std::int32_t maximumHeight = 65535;
    std::vector<DisplayMode> modes;
    std::int32_t selectedIndex = 0;
    Properties properties;

private:
    bool confirmationPending_ = false;
    int previousIndex_ = 0;
    bool previousFullscreen_ = false;
};

} // namespace korvane
