/** @file PreferenceOracle.h A byte-level writer of "preference.dat", independent of the product's streams and RIFF
 * classes, that the tests compare the product's files with. */
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace oracle
{

struct Record
{
    std::uint32_t type;
    std::vector<std::pair<std::string, std::int32_t>> pairs;
    bool operator==(const Record&) const = default;
};

/// The four bytes, least significant first (a negative value in two's complement).
inline std::string U32(std::uint32_t value)
{
    return {static_cast<char>(value), static_cast<char>(value >> 8), static_cast<char>(value >> 16),
            static_cast<char>(value >> 24)};
}
inline std::string Str(const std::string& text)
{
    return U32(static_cast<std::uint32_t>(text.size())) + text;
}
inline std::string Chunk(const std::string& id, const std::string& data)
{
    return id + U32(static_cast<std::uint32_t>(data.size())) + data;
}
inline std::string Riff(const std::string& chunks)
{
    return "RIFF" + U32(static_cast<std::uint32_t>(4 + chunks.size())) + "QVPF" + chunks;
}

inline std::string HeadData(const std::string& version = "1.0", std::uint32_t build = 0)
{
    return Str("QVR2WinPreference") + Str("Version") + Str(version) + Str("Build") + U32(build);
}
inline std::string VolumeData(std::int32_t music, std::int32_t effect)
{
    return Str("Volume") + U32(music) + U32(effect);
}
inline std::string MusicVersionData(std::uint8_t version)
{
    return Str("MusicVersion") + std::string(1, static_cast<char>(version));
}
inline std::string RecordData(const Record& record)
{
    std::string data = Str("MappingData") + U32(record.type) + U32(static_cast<std::uint32_t>(record.pairs.size()));
    for (const auto& [name, code] : record.pairs)
        data += Str(name) + U32(code);
    return data;
}
inline std::string KeyMappingData(const std::vector<Record>& records)
{
    std::string data = Str("KeyMapping") + Str("Count") + U32(static_cast<std::uint32_t>(records.size()));
    for (const Record& record : records)
        data += RecordData(record);
    return data;
}

/// The write order of the actions and the default codes of binding 0 in that order.
inline const std::array<const char*, 11> kActions = {"decide", "cancel", "pause", "up", "down", "left",
                                                     "right",  "x1",     "x2",    "x3", "x4"};
using Codes = std::array<std::int32_t, 11>;
inline const Codes kKeyboard = {0x1C, 0x01, 0x01, 0xC8, 0xD0, 0xCB, 0xCD, 0x2C, 0x2A, 0x2E, 0x2D};
inline const Codes kJoystick = {0, 1, 8, 0x1003, 0x1004, 0x1001, 0x1002, 1, 0, 3, 2};
inline const Codes kMouse = {-1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1};
inline const Codes kXInput = {0, 1, 6, 0x5003, 0x5004, 0x5002, 0x5001, 0, 2, 3, 1};

/// The codes with some changed: {index, code} pairs.
inline Codes With(Codes codes, std::initializer_list<std::pair<std::size_t, std::int32_t>> changes)
{
    for (const auto& [index, code] : changes)
        codes[index] = code;
    return codes;
}

inline Record Standard(std::uint32_t type, const Codes& codes)
{
    Record record{type, {}};
    for (std::size_t i = 0; i < kActions.size(); ++i)
        record.pairs.emplace_back(kActions[i], codes[i]);
    return record;
}

/// A whole file in the writer's chunk order.
inline std::string File(const std::vector<Record>& records, std::int32_t music = 0, std::int32_t effect = 0,
                        std::uint8_t version = 1)
{
    return Riff(Chunk("head", HeadData()) + Chunk("vol ", VolumeData(music, effect)) +
                Chunk("mver", MusicVersionData(version)) + Chunk("keym", KeyMappingData(records)));
}

} // namespace oracle
