/** @file FormHelpers.h The steps every screen shares: form properties, child makers, navigation and the cancel rule. */
#pragma once

#include <cstdint>
#include <string>

#include <boost/function.hpp>
#include <boost/shared_ptr.hpp>

#include "KorvaneXDK/canvas/Rect2f.h"
#include "KorvaneXDK/core/Color4.h"

namespace korvane
{
class CTextureCache;
namespace mwt
{
class CAnimationComponent;
class CButton;
class CContainerControl;
class CControl;
class CForm;
class CImage;
class CLabel;
} // namespace mwt
} // namespace korvane

/// What a design sets on its form; the rest is the same for every screen.
struct FormSetup
{
    std::string name;
    korvane::Color4<float> tint{1.0f, 1.0f, 1.0f, 1.0f};
    std::string appearance;
    /// A registered animation name or empty: the form keeps the default it was made with.
    std::string openAnimation;
    std::string closeAnimation;
    std::int32_t group = 0;
    bool focusable = true;
    bool topMost = false;
    std::int32_t formStyle = 2;
    /// Location and size.
    korvane::canvas::Rect2f bounds{0.0f, 0.0f, 1920.0f, 1080.0f};
};

/// The form's properties in the order every design sets them: boxes off, the open animation,
/// tint, dock 6, name, location, close box, the close animation, group, focusable, group keys
/// off, tag 0, padding 0, size, empty text, the appearance, key preview, activate on click, the
/// form name, style, top-most, font "default".
void ApplyFormSetup(korvane::mwt::CForm& form, const FormSetup& setup);

/// The look the two leaderboard screens share: the grey skinned form that opens slowly from the
/// vertical centre and closes spreading out.
FormSetup LeaderboardFormSetup(const std::string& name, std::int32_t group);

/// The named appearance from the registry on the control.
void SetAppearanceByName(korvane::mwt::CControl& control, const std::string& name);

/// The registered animation's factory; EInvalidOperation for an unknown name.
boost::function<boost::shared_ptr<korvane::mwt::CAnimationComponent>()> AnimationFactory(const std::string& name);

/// A picture: its path, a texture through the cache, and the tint's alpha.
boost::shared_ptr<korvane::mwt::CImage> MakeImage(korvane::CTextureCache* cache, const std::string& name,
                                                  const std::string& path, const korvane::canvas::Rect2f& bounds,
                                                  float alpha = 1.0f, bool autoSize = false);

/// A menu button in "QVR2WinAsciiMedium" with its caption, drawn "Transparent": the caption only.
boost::shared_ptr<korvane::mwt::CButton> MakeButton(const std::string& name, const korvane::canvas::Rect2f& bounds,
                                                    const std::string& caption);

/// A label, never focusable.
boost::shared_ptr<korvane::mwt::CLabel> MakeLabel(const std::string& name, const korvane::canvas::Rect2f& bounds,
                                                  const std::string& caption, const std::string& font,
                                                  const korvane::Color4<float>& color = {1.0f, 1.0f, 1.0f, 1.0f},
                                                  bool autoSize = true);

/// The navigation step: adds the form to the screen, which opens it.
void ShowForm(const boost::shared_ptr<korvane::mwt::CForm>& form);

/// The menus' cancel rule on Escape: the cancel sound, then the exit handler when the exit
/// button holds the focus, else the focus moves to it. True when the key was Escape.
bool MenuCancel(korvane::mwt::CContainerControl& form, unsigned int key, korvane::mwt::CControl* exitButton,
                const boost::function<void()>& onExit);
