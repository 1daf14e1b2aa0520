/** @file ConfDlg.h The C contract between the engine and the configuration dialog library. */
#pragma once

#include <cstddef>
#include <cstdint>

/// The records keep their byte layout on every build: handles are 32-bit ids, never pointers,
/// and nothing is padded.
#pragma pack(push, 1)

struct ConfigDialogMode
{
    std::uint32_t width;
    std::uint32_t height;
    std::uint32_t bitsPerPixel; ///< 32, 16 or 15
    std::uint32_t refreshRate;
};

struct ConfigDialogFormatGroup
{
    std::int32_t bitsPerPixel;
    /// Byte k is 1 when k samples work with this format; bytes 0 and 1 stay 0.
    std::uint8_t multiSample[16];
};

struct ConfigDialogAdapter
{
    std::uint32_t ordinal;
    char name[64];
    std::uint32_t maxAnisotropy;
    std::int32_t modeCount;
    ConfigDialogMode modes[1024];
    std::int32_t formatGroupCount;
    ConfigDialogFormatGroup formatGroups[3]; ///< 32, 16 and 15 bits, in that order
    std::uint8_t reserved[20];
};

struct ConfigDialogBlock
{
    char title[64];
    std::uint32_t icon;   ///< the program icon's id, 0 for none
    std::uint32_t banner; ///< the banner bitmap's id, 0 for none
    std::int32_t adapterCount;
    ConfigDialogAdapter adapters[8];
};

struct ConfigDialogResult
{
    std::int32_t adapter;     ///< index into the block's adapter records
    std::int32_t mode;        ///< index into that adapter's modes
    std::int32_t multiSample; ///< 0: none
    std::int32_t anisotropy;
    std::int32_t windowed;  ///< non-zero: in a window
    std::int32_t depthBits; ///< 16, 24 or 32
    std::int32_t vsync;     ///< above 0: on
};

#pragma pack(pop)

static_assert(sizeof(ConfigDialogMode) == 16);
static_assert(sizeof(ConfigDialogFormatGroup) == 20);
static_assert(offsetof(ConfigDialogFormatGroup, multiSample) == 4);
static_assert(sizeof(ConfigDialogAdapter) == 16544);
static_assert(offsetof(ConfigDialogAdapter, name) == 4);
static_assert(offsetof(ConfigDialogAdapter, maxAnisotropy) == 68);
static_assert(offsetof(ConfigDialogAdapter, modeCount) == 72);
static_assert(offsetof(ConfigDialogAdapter, modes) == 76);
static_assert(offsetof(ConfigDialogAdapter, formatGroupCount) == 16460);
static_assert(offsetof(ConfigDialogAdapter, formatGroups) == 16464);
static_assert(offsetof(ConfigDialogAdapter, reserved) == 16524);
static_assert(sizeof(ConfigDialogBlock) == 132428);
static_assert(offsetof(ConfigDialogBlock, icon) == 64);
static_assert(offsetof(ConfigDialogBlock, banner) == 68);
static_assert(offsetof(ConfigDialogBlock, adapterCount) == 72);
static_assert(offsetof(ConfigDialogBlock, adapters) == 76);
static_assert(sizeof(ConfigDialogResult) == 28);

/// The library's version that this contract describes.
inline constexpr int kConfDlgVersion = 5;
/// The library's file, looked for beside the program first, then on the library search path.
inline constexpr const char* kConfDlgLibraryName = "libConfDlg.so";

extern "C"
{
    using ConfDlgGetVersionFunction = int (*)();
    using ShowConfigDialogFunction = int (*)(ConfigDialogBlock*, ConfigDialogResult*);
    using GetPreviousConfigFunction = int (*)(ConfigDialogBlock*, ConfigDialogResult*);
}
