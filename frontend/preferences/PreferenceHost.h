/** @file PreferenceHost.h What the preference manager reads and writes of the scenes and the driver. */
#pragma once

#include <cstdint>
#include <string>

#include "KorvaneXDK/core/Object.h"

namespace korvane
{
class CDXInput;
class CGraphicsModePreference;
} // namespace korvane

/// The values the manager saves and loads but does not own, and the platform objects it works on.
/// The resource scene provides them: the volumes of the sound layer, its own music version, the
/// window scene's rotation and aspect ratio, the driver's input object and display settings.
class IPreferenceHost : public korvane::IInterface
{
public:
    /// The controllers whose bindings are reset, saved and loaded; null when there is no input.
    virtual korvane::CDXInput* GetInput() = 0;
    /// The display settings table that also holds the rotation and the aspect ratio.
    virtual korvane::CGraphicsModePreference& GetGraphicsModePreference() = 0;
    /// The full path of the display settings file.
    virtual std::string GetDisplaySettingPath() = 0;
    /// The per-user save folder, ending in a separator.
    virtual std::string GetSaveFolder() = 0;

    /// Music volume, -10000 (silent) to 0 (full); setting it also sets the playing music at once.
    virtual std::int32_t GetMusicVolume() = 0;
    virtual void SetMusicVolume(std::int32_t volume) = 0;
    /// Sound-effect volume on the same scale; setting it also sets every loaded effect.
    virtual std::int32_t GetEffectVolume() = 0;
    virtual void SetEffectVolume(std::int32_t volume) = 0;
    /// 1 for the extended music (the default), 0 for the original.
    virtual std::uint8_t GetMusicVersion() = 0;
    virtual void SetMusicVersion(std::uint8_t version) = 0;
    /// Screen rotation 0 to 3 and aspect-ratio index 0 to 4 of the front end's picture.
    virtual std::int32_t GetScreenRotation() = 0;
    virtual void SetScreenRotation(std::int32_t rotation) = 0;
    virtual std::int32_t GetAspectRatio() = 0;
    virtual void SetAspectRatio(std::int32_t aspect) = 0;
};
