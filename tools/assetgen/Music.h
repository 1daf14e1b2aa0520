/** @file Music.h The main game's music pieces. */
#pragma once

#include "tools/assetgen/OutputFolder.h"

namespace assetgen
{

/// Synthesizes every piece as 44.1 kHz stereo Ogg Vorbis. Each piece is rendered on a circle:
/// a note or an echo that runs past the last bar continues at the first sample, so a looped
/// piece has no gap and no step at the loop point.
void MakeMusic(OutputFolder& out);

} // namespace assetgen
