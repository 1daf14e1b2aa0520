/** @file FormNames.h The names of the fonts, pictures, appearances and animations the screens use. */
#pragma once

#include "os/window/Messages.h"

namespace form_names
{

// Fonts.
inline constexpr const char* kFontDefault = "default";
inline constexpr const char* kFontAsciiMedium = "QVR2WinAsciiMedium";
inline constexpr const char* kFontAsciiLarge = "QVR2WinAsciiLarge";
inline constexpr const char* kFontMessage = "QVR2WinMessage";
inline constexpr const char* kFontCondenseMedium = "QVR2WinCondenseMedium";
inline constexpr const char* kFontTitle = "QVR_FONT_4x";

// Pictures (archive entry names: the backslash is the archive's separator).
inline constexpr const char* kImageCrossHatch = "formimage\\CrossHatch2x.png";
inline constexpr const char* kImageCaptionUnderline = "formimage\\CaptionUnderline.png";
inline constexpr const char* kImageMakerLogo = "formimage\\VumoLogo.png";
inline constexpr const char* kImageStudioLogo = "formimage\\brannoc_logo.png";
inline constexpr const char* kImageTitleWallpaper = "formimage\\wallpaper_title.png";
inline constexpr const char* kImageCompanionWallpaper = "formimage\\wallpaper02.png";
inline constexpr const char* kImageCursor = "skin\\Cursor1.png";

// Appearances.
inline constexpr const char* kAppearanceTransparent = "Transparent";
inline constexpr const char* kAppearanceSolidColor = "SolidColor";
inline constexpr const char* kAppearanceSingleBorder = "SingleBorder";
inline constexpr const char* kAppearanceSkinForm = "SkinForm";
inline constexpr const char* kAppearanceSkinScrollBar = "SkinScrollBar";

// Animations.
inline constexpr const char* kAnimationVerticalCenterOpen = "VerticalCenterOpen";
inline constexpr const char* kAnimationVerticalCenterClose = "VerticalCenterClose";
inline constexpr const char* kAnimationSpreadOut = "SpreadOut";
inline constexpr const char* kAnimationFadeIn = "FadeIn";
inline constexpr const char* kAnimationFadeOut = "FadeOut";
inline constexpr const char* kAnimationRotationLoop = "RotationLoop";

// Controller actions the standing forms read themselves.
inline constexpr const char* kActionDecide = "decide";
inline constexpr const char* kActionCancel = "cancel";

// Key codes the forms hear: the platform's virtual-key codes under the names the forms use.
inline constexpr unsigned int kKeyReturn = os::window::VK_RETURN;
inline constexpr unsigned int kKeyPause = os::window::VK_PAUSE;
inline constexpr unsigned int kKeyEscape = os::window::VK_ESCAPE;
inline constexpr unsigned int kKeyLeft = os::window::VK_LEFT;
inline constexpr unsigned int kKeyUp = os::window::VK_UP;
inline constexpr unsigned int kKeyRight = os::window::VK_RIGHT;
inline constexpr unsigned int kKeyDown = os::window::VK_DOWN;

// Groups: forms of 1000 and more hear up, down and decide as keys.
inline constexpr int kGroupMenu = 0;
inline constexpr int kGroupKeyed = 1000;

} // namespace form_names
