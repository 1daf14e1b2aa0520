/** @file FuzzSupport.h What the fuzz targets share: the engine's exception, scratch files, whole reads of streams and
 * archives, the input layer and the failure report. */
#pragma once

#include <SDL.h>
#include <cryptopp/cryptlib.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>

#include "KorvaneXDK/core/ArchiveFileLoader.h"
#include "KorvaneXDK/core/Exception.h"
#include "KorvaneXDK/core/MemoryStream.h"
#include "KorvaneXDK/platform/input/DXInput.h"
#include "support/TempDir.h"

namespace fuzz
{

/// Ends the run as a crash, so that libFuzzer saves the input: a broken promise of a reader.
[[noreturn]] inline void Fail(const char* what)
{
    std::fprintf(stderr, "fuzz check failed: %s\n", what);
    std::abort();
}

inline void Check(bool holds, const char* what)
{
    if (!holds)
        Fail(what);
}

/// A path in a folder of this process's own below the temporary folder; removed at exit.
inline std::string ScratchFile(const std::string& name)
{
    static const korvane::test::TempDir folder;
    return folder.File(name);
}

inline void WriteFile(const std::string& path, const std::uint8_t* data, std::size_t size)
{
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (file == nullptr || (size > 0 && std::fwrite(data, 1, size, file) != size) || std::fclose(file) != 0)
        Fail("cannot write a scratch file");
}

/// The keyboard, the mouse and the four XInput slots, made once: the joystick types stay
/// unconnected, so their records take the path that keeps them as read. Never destroyed: the
/// input layer's event hooks are statics that may go first at exit.
inline korvane::CDXInput* InputLayer()
{
    static korvane::CDXInput* input = [] {
        SDL_SetHint(SDL_HINT_JOYSTICK_ALLOW_BACKGROUND_EVENTS, "1");
        if (SDL_InitSubSystem(SDL_INIT_JOYSTICK | SDL_INIT_GAMECONTROLLER | SDL_INIT_EVENTS) != 0)
            fuzz::Fail("cannot start SDL's joystick subsystem");
        auto* made = new korvane::CDXInput(nullptr, nullptr);
        if (!made->Initialize(true))
            fuzz::Fail("cannot start the input layer");
        return made;
    }();
    return input;
}

/// A memory stream holding the bytes, positioned at 0.
class Stream : public korvane::CMemoryStream
{
public:
    Stream(const std::uint8_t* data, std::size_t size)
    {
        if (size > 0)
            Write(data, static_cast<std::int32_t>(size));
        Seek(0);
    }
};

/// Reads until the stream gives nothing more or `most` bytes have come.
template <class Source>
std::string ReadAll(Source& source, std::size_t most = 64u << 20)
{
    std::string all;
    char buffer[8192];
    while (all.size() < most) {
        const std::int32_t got = source.Read(buffer, static_cast<std::int32_t>(sizeof buffer));
        if (got <= 0)
            break;
        Check(got <= static_cast<std::int32_t>(sizeof buffer), "a read returned more than was asked for");
        all.append(buffer, static_cast<std::size_t>(got));
    }
    return all;
}

/// Bytes taken from the front of the input; zeros once it is used up.
class Input
{
public:
    Input(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}
    std::uint8_t Byte() { return at_ < size_ ? data_[at_++] : 0; }
    std::int32_t Int32()
    {
        std::uint32_t value = 0;
        for (int i = 0; i < 4; ++i)
            value |= static_cast<std::uint32_t>(Byte()) << (8 * i);
        return static_cast<std::int32_t>(value);
    }
    std::string Bytes(std::size_t count)
    {
        count = std::min(count, size_ - at_);
        std::string out(reinterpret_cast<const char*>(data_ + at_), count);
        at_ += count;
        return out;
    }
    std::size_t Left() const { return size_ - at_; }

private:
    const std::uint8_t* data_;
    std::size_t size_;
    std::size_t at_ = 0;
};

/// Reads a whole archive file as a game would: every entry opened and read.
inline void ReadArchive(const std::string& path)
{
    korvane::CArchiveFileLoader loader;
    // Enough for any entry the inputs can describe, small enough to keep runs fast.
    loader.SetDecodedSizeLimit(16 << 20);
    try {
        loader.Open(path);
    } catch (const korvane::EException&) {
        return;
    }
    for (std::int32_t i = 0; i < loader.GetEntryCount(); ++i) {
        const std::string name = loader.GetEntry(i)->GetName();
        Check(loader.Exists(name), "a listed entry does not exist");
        try {
            std::unique_ptr<korvane::IKorvaneStream> entry(loader.OpenEntry(name));
            const std::string bytes = ReadAll(*entry);
            Check(static_cast<std::int64_t>(bytes.size()) == entry->GetSize(), "an entry reads other than its size");
        } catch (const korvane::EException&) {
        } catch (const CryptoPP::Exception&) {
            // The decompressor's own failures pass through OpenEntry as they are.
        }
    }
}

} // namespace fuzz
