/** @file Music.h The main game's music pieces. */
#pragma once

#include <string>
#include <vector>

#include "tools/assetgen/OutputFolder.h"

namespace assetgen
{

struct MusicPiece
{
    std::string name; ///< archive name
    int frames;       ///< exact length in sample frames (whole bars)
};

/// The pieces, with their exact lengths.
std::vector<MusicPiece> MusicPieces();

/// Synthesizes every piece as 44.1 kHz stereo Ogg Vorbis. Each piece is rendered on a circle:
/// a note or an echo that runs past the last bar continues at the first sample, so a looped
/// piece has no gap and no step at the loop point.
void MakeMusic(OutputFolder& out);

} // namespace assetgen
