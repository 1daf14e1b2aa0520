/** @file PreferenceOracle.h A byte-level writer and reader of "preference.dat", independent of the
 * product's streams and RIFF classes, that the tests compare the product's files with. */
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace oracle
{

using Pairs = std::vector<std::pair<std::string, std::int32_t>>;

struct Record
{
    std::uint32_t type;
    Pairs pairs;
    bool operator==(const Record&) const = default;
};

inline std::string U32(std::uint32_t value)
{
    std::string bytes(4, '\0');
    for (int i = 0; i < 4; ++i)
        bytes[static_cast<std::size_t>(i)] = static_cast<char>((value >> (8 * i)) & 0xFF);
    return bytes;
}
inline std::string I32(std::int32_t value)
{
    return U32(static_cast<std::uint32_t>(value));
}
inline std::string Str(const std::string& text)
{
    return U32(static_cast<std::uint32_t>(text.size())) + text;
}
inline std::string Chunk(const std::string& id, const std::string& data)
{
    return id + U32(static_cast<std::uint32_t>(data.size())) + data;
}
inline std::string Riff(const std::string& chunks, const std::string& form = "QVPF")
{
    return "RIFF" + U32(static_cast<std::uint32_t>(4 + chunks.size())) + form + chunks;
}

inline std::string HeadData(const std::string& version = "1.0", std::uint32_t build = 0)
{
    return Str("QVR2WinPreference") + Str("Version") + Str(version) + Str("Build") + U32(build);
}
inline std::string VolumeData(std::int32_t music, std::int32_t effect)
{
    return Str("Volume") + I32(music) + I32(effect);
}
inline std::string MusicVersionData(std::uint8_t version)
{
    return Str("MusicVersion") + std::string(1, static_cast<char>(version));
}
inline std::string RecordData(const Record& record)
{
    std::string data = Str("MappingData") + U32(record.type) + U32(static_cast<std::uint32_t>(record.pairs.size()));
    for (const auto& [name, code] : record.pairs)
        data += Str(name) + I32(code);
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

inline std::uint32_t ReadU32(const std::string& bytes, std::size_t at)
{
    std::uint32_t value = 0;
    for (std::size_t i = 0; i < 4 && at + i < bytes.size(); ++i)
        value |= static_cast<std::uint32_t>(static_cast<std::uint8_t>(bytes[at + i])) << (8 * i);
    return value;
}

struct ChunkAt
{
    std::string id;
    std::size_t offset;
    std::string data;
};

/// The chunks of a well-formed file in file order, walked without pad bytes.
inline std::vector<ChunkAt> Chunks(const std::string& file)
{
    std::vector<ChunkAt> chunks;
    const std::size_t end = std::min<std::size_t>(file.size(), ReadU32(file, 4) + 8);
    for (std::size_t at = 12; at + 8 <= end;) {
        const std::uint32_t size = ReadU32(file, at + 4);
        chunks.push_back({file.substr(at, 4), at, file.substr(at + 8, size)});
        at += 8 + size;
    }
    return chunks;
}

/// The records of a well-formed "keym" chunk.
inline std::vector<Record> Records(const std::string& keym)
{
    std::size_t at = 0;
    auto text = [&] {
        const std::uint32_t length = ReadU32(keym, at);
        std::string value = keym.substr(at + 4, length);
        at += 4 + length;
        return value;
    };
    auto number = [&] {
        const std::uint32_t value = ReadU32(keym, at);
        at += 4;
        return value;
    };
    text();
    text();
    std::vector<Record> records(number());
    for (Record& record : records) {
        text();
        record.type = number();
        record.pairs.resize(number());
        for (auto& pair : record.pairs) {
            pair.first = text();
            pair.second = static_cast<std::int32_t>(number());
        }
    }
    return records;
}

} // namespace oracle
