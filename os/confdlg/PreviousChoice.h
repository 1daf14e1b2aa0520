/** @file PreviousChoice.h The configuration dialog library's saved choice: its text, its checks and the default. */
#pragma once

#include <string>

#include "os/confdlg/ConfDlg.h"

namespace os::confdlg
{

/// The saved choice's text: the seven fields in result order, decimal, one line.
std::string FormatChoice(const ConfigDialogResult& choice);
/// The seven decimal integers at the start of the text; false for anything else, including a
/// number outside the int range.
bool ParseChoice(const char* text, ConfigDialogResult& choice);
/// Whether the dialog could have offered the choice for the block: an adapter and one of its
/// modes; no multisampling or a sample count the mode's format group lists; anisotropy 1 or a
/// power of two up to the adapter's maximum; window or full screen; depth 16, 24 or 32; vsync
/// on or off.
bool IsOffered(const ConfigDialogBlock& block, const ConfigDialogResult& choice);
/// Adapter 0, its mode nearest 1280 x 720 (32 bits preferred), no multisampling, anisotropy 1,
/// in a window, 24 depth bits, vsync on.
ConfigDialogResult DefaultChoice(const ConfigDialogBlock& block);
/// The saved text read back: the choice it holds when that is whole and offered, else the default.
ConfigDialogResult ChoiceFromText(const char* text, const ConfigDialogBlock& block);

} // namespace os::confdlg
