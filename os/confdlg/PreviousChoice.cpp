/** @file PreviousChoice.cpp The configuration dialog library's saved choice. */
#include "os/confdlg/PreviousChoice.h"

#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

namespace os::confdlg
{

namespace
{

constexpr int kMaxAdapters = 8;
constexpr int kMaxModes = 1024;
constexpr int kMaxFormatGroups = 3;
/// Sample counts a format group can list (its flags 0 and 1 are never set).
constexpr int kMinSamples = 2;
constexpr int kMaxSamples = 15;

bool IsOfferedSampleCount(const ConfigDialogAdapter& adapter, std::uint32_t bitsPerPixel, std::int32_t samples)
{
    if (samples == 0) {
        return true;
    }
    if (samples < kMinSamples || samples > kMaxSamples) {
        return false;
    }
    const int groups = adapter.formatGroupCount < kMaxFormatGroups ? adapter.formatGroupCount : kMaxFormatGroups;
    for (int g = 0; g < groups; ++g) {
        const ConfigDialogFormatGroup& group = adapter.formatGroups[g];
        if (group.bitsPerPixel == static_cast<std::int32_t>(bitsPerPixel)) {
            return group.multiSample[samples] == 1;
        }
    }
    return false;
}

bool IsOfferedAnisotropy(const ConfigDialogAdapter& adapter, std::int32_t anisotropy)
{
    if (anisotropy == 1) {
        return true;
    }
    const bool powerOfTwo = anisotropy > 1 && (anisotropy & (anisotropy - 1)) == 0;
    return powerOfTwo && static_cast<std::uint32_t>(anisotropy) <= adapter.maxAnisotropy;
}

} // namespace

std::string FormatChoice(const ConfigDialogResult& choice)
{
    char text[128];
    std::snprintf(text, sizeof text, "%d %d %d %d %d %d %d\n", choice.adapter, choice.mode, choice.multiSample,
                  choice.anisotropy, choice.windowed, choice.depthBits, choice.vsync);
    return text;
}

bool ParseChoice(const char* text, ConfigDialogResult& choice)
{
    std::int32_t* const fields[7] = {&choice.adapter,  &choice.mode,      &choice.multiSample, &choice.anisotropy,
                                     &choice.windowed, &choice.depthBits, &choice.vsync};
    const char* p = text;
    for (std::int32_t* field : fields) {
        char* end = nullptr;
        errno = 0;
        const long value = std::strtol(p, &end, 10);
        if (end == p || errno == ERANGE || value < INT32_MIN || value > INT32_MAX) {
            return false;
        }
        *field = static_cast<std::int32_t>(value);
        p = end;
    }
    return true;
}

bool IsOffered(const ConfigDialogBlock& block, const ConfigDialogResult& choice)
{
    if (choice.adapter < 0 || choice.adapter >= block.adapterCount || choice.adapter >= kMaxAdapters) {
        return false;
    }
    const ConfigDialogAdapter& adapter = block.adapters[choice.adapter];
    if (choice.mode < 0 || choice.mode >= adapter.modeCount || choice.mode >= kMaxModes) {
        return false;
    }
    const ConfigDialogMode& mode = adapter.modes[choice.mode];
    return IsOfferedSampleCount(adapter, mode.bitsPerPixel, choice.multiSample) &&
           IsOfferedAnisotropy(adapter, choice.anisotropy) && (choice.windowed == 0 || choice.windowed == 1) &&
           (choice.depthBits == 16 || choice.depthBits == 24 || choice.depthBits == 32) &&
           (choice.vsync == 0 || choice.vsync == 1);
}

ConfigDialogResult DefaultChoice(const ConfigDialogBlock& block)
{
    ConfigDialogResult result{0, 0, 0, 1, 1, 24, 1};
    if (block.adapterCount <= 0) {
        return result;
    }
    const ConfigDialogAdapter& adapter = block.adapters[0];
    long best = -1;
    for (int i = 0; i < adapter.modeCount && i < kMaxModes; ++i) {
        const ConfigDialogMode& mode = adapter.modes[i];
        const long distance = std::labs(static_cast<long>(mode.width) - 1280) +
                              std::labs(static_cast<long>(mode.height) - 720) + (mode.bitsPerPixel == 32 ? 0 : 1);
        if (best < 0 || distance < best) {
            best = distance;
            result.mode = i;
        }
    }
    return result;
}

ConfigDialogResult ChoiceFromText(const char* text, const ConfigDialogBlock& block)
{
    ConfigDialogResult choice{};
    if (ParseChoice(text, choice) && IsOffered(block, choice)) {
        return choice;
    }
    return DefaultChoice(block);
}

} // namespace os::confdlg
