/** @file MusicLoopTest.cpp The music pieces loop through the streaming sound with no gap and no step at the seam. */
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "AssetTestSupport.h"
#include "KorvaneXDK/core/SoundReader.h"
#include "KorvaneXDK/platform/sound/DXSound.h"
#include "KorvaneXDK/platform/sound/StreamingSound.h"
#include "os/audio/Testing.h"

using namespace assettest;

namespace
{

constexpr std::size_t kChannels = 2;

/// The largest bend over the four frames about each of the frames: how far a sample lies from the
/// straight line through the two before it. A click or a cut at the seam shows as a large value
/// here, smooth music as a small one.
int MaxBend(const std::vector<std::int16_t>& s, std::size_t frames, const std::vector<std::size_t>& at)
{
    // Frames are taken modulo the piece, from two pieces on, so that the seam has frames before it.
    auto sample = [&](std::size_t f, std::size_t c) { return static_cast<int>(s[(f % frames) * kChannels + c]); };
    int most = 0;
    for (std::size_t middle : at)
        for (std::size_t f = middle + 2 * frames - 2; f < middle + 2 * frames + 2; ++f)
            for (std::size_t c = 0; c < kChannels; ++c)
                most = std::max(most, std::abs(sample(f, c) - 2 * sample(f - 1, c) + sample(f - 2, c)));
    return most;
}

/// One piece: its length, its seam against its bar starts, and its looping through the mixer.
void CheckPiece(korvane::CDXSound& device, ArchiveLoader& loader, const NameRow& row)
{
    SCOPED_TRACE(row.name);
    const auto stream = EntryStream(loader, row.name);
    std::unique_ptr<korvane::ISoundReader> reader(korvane::CreateAndOpenSoundReader(stream.get()));
    EXPECT_EQ(std::make_pair(reader->GetFormat()->channels, reader->GetFormat()->samplesPerSec),
              std::make_pair(std::uint16_t{2}, std::uint32_t{44100}))
        << "not 44.1 kHz stereo";
    std::vector<std::int16_t> decoded(static_cast<std::size_t>(reader->GetTotalBytes()) / 2);
    decoded.resize(static_cast<std::size_t>(std::max(reader->Read(decoded.data(), reader->GetTotalBytes()), 0)) / 2);
    const std::size_t frames = decoded.size() / kChannels;
    ASSERT_EQ(std::stoul(row.values.at(0)), frames) << "length in frames";

    // The seam is the start of a bar. It must bend the waveform no more than the starts of the
    // bars inside the piece do, where the music carries on without a loop.
    const std::size_t bars = std::stoul(row.values.at(1));
    ASSERT_EQ(0u, frames % bars);
    std::vector<std::size_t> barStarts;
    for (std::size_t b = 1; b < bars; ++b)
        barStarts.push_back(b * frames / bars);
    EXPECT_LE(MaxBend(decoded, frames, {frames}), MaxBend(decoded, frames, barStarts) + 256)
        << "the loop point bends the waveform more than any bar start inside";

    // Played looping through the mixer it restarts right after its last frame.
    stream->Seek(0);
    korvane::CStreamingSound sound(os::audio::kCapsCtrlVolume, true);
    sound.Open(device, *stream);
    sound.SetLoop(true);
    sound.Play();
    ASSERT_TRUE(os::testing::WaitForNotifyListener(*sound.GetBuffer(), 10000));
    std::vector<std::int16_t> mixed;
    const std::size_t wanted = frames + 4410;
    while (mixed.size() < wanted * kChannels) {
        const auto out = os::testing::MixAudioFrames(44100);
        mixed.insert(mixed.end(), out.begin(), out.end());
    }
    sound.Close();
    for (std::size_t i = (frames - 4410) * kChannels; i < wanted * kChannels; ++i)
        ASSERT_EQ(decoded[i % decoded.size()], mixed[i]) << "sample " << i << " of the mixed output";
}

} // namespace

TEST(MusicLoop, EveryPieceLoopsWithItsExactLengthAndNoStepAtTheSeam)
{
    os::testing::ResetAudioHooks();
    os::testing::UseManualAudioBackend(true);
    korvane::CDXSound device;
    ASSERT_TRUE(device.Initialize());
    ArchiveLoader loader(kBuiltArchive);
    const std::vector<NameRow> pieces = RowsOfKind(ReadNameTable(), "music");
    EXPECT_FALSE(pieces.empty());
    for (const NameRow& row : pieces)
        CheckPiece(device, loader, row);
    os::testing::ResetAudioHooks();
}
