/** @file StandardPreferenceHost.h A preference host that keeps the values itself. */
#pragma once

#include "frontend/preferences/PreferenceHost.h"

/// Holds the volumes, music version, rotation and aspect ratio as plain values with their start
/// values, and hands out the input object and display settings it was given. A scene that has to
/// act on a change (the music's volume, the picture's transform) overrides the setter and calls
/// this one to keep the value.
class CStandardPreferenceHost : public IPreferenceHost, public virtual korvane::CNonCopyable
{
public:
    CStandardPreferenceHost(korvane::CDXInput* input, korvane::CGraphicsModePreference& displaySettings,
                            const std::string& displaySettingPath, const std::string& saveFolder);
    ~CStandardPreferenceHost() override;

    korvane::CDXInput* GetInput() override { return input_; }
    korvane::CGraphicsModePreference& GetGraphicsModePreference() override { return displaySettings_; }
    std::string GetDisplaySettingPath() override { return displaySettingPath_; }
    std::string GetSaveFolder() override { return saveFolder_; }

    std::int32_t GetMusicVolume() override { return musicVolume_; }
    void SetMusicVolume(std::int32_t volume) override { musicVolume_ = volume; }
    std::int32_t GetEffectVolume() override { return effectVolume_; }
    void SetEffectVolume(std::int32_t volume) override { effectVolume_ = volume; }
    std::uint8_t GetMusicVersion() override { return musicVersion_; }
    void SetMusicVersion(std::uint8_t version) override { musicVersion_ = version; }
    std::int32_t GetScreenRotation() override { return screenRotation_; }
    void SetScreenRotation(std::int32_t rotation) override { screenRotation_ = rotation; }
    std::int32_t GetAspectRatio() override { return aspectRatio_; }
    void SetAspectRatio(std::int32_t aspect) override { aspectRatio_ = aspect; }

    void SetInput(korvane::CDXInput* input) { input_ = input; }

private:
    korvane::CDXInput* input_;
    korvane::CGraphicsModePreference& displaySettings_;
    std::string displaySettingPath_;
    std::string saveFolder_;
    std::int32_t musicVolume_ = 0;
    std::int32_t effectVolume_ = 0;
    std::uint8_t musicVersion_ = 1;
    std::int32_t screenRotation_ = 0;
    std::int32_t aspectRatio_ = 0;
};
