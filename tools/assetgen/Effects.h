/** @file Effects.h The sound-effect bank shared by the menus and the main game. */
#pragma once

#include "tools/assetgen/OutputFolder.h"

namespace assetgen
{

/// Synthesizes the 34 effects "se_qvr2\01.wav" to "se_qvr2\22.wav" (16-bit mono PCM).
void MakeEffects(OutputFolder& out);

} // namespace assetgen
