/** @file ControlAppearanceInterface.h The skin a control draws, lays out and hit-tests itself through. */
#pragma once

#include <functional>
#include <string>

#include <boost/function.hpp>

#include "KorvaneXDK/canvas/Rect2f.h"
#include "KorvaneXDK/core/Object.h"
#include "KorvaneXDK/core/Properties.h"
#include "KorvaneXDK/core/Vector2.h"

namespace korvane
{
class ITexture;
} // namespace korvane

namespace korvane::canvas
{
class CCanvas;
} // namespace korvane::canvas

namespace korvane::mwt
{

class CControl;

/// One appearance definition file: keys compared case-sensitively.
using AppearanceProperties = TProperties<std::less<std::string>>;

/// Turns a texture name written in a definition file into the texture the appearance keeps.
/// The texture is not owned by the appearance (the loader's texture cache owns it); what an
/// unknown name gives is the resolver's business.
using TextureResolver = boost::function<ITexture*(const std::string&)>;

/// One appearance object may serve any number of controls at once, so it keeps no state per
/// control: everything per control comes in with each call. Most appearances derive from
/// TControlAppearance, which gives the defaults.
class IControlAppearance : public IInterface
{
public:
    IControlAppearance() = default;
    explicit IControlAppearance(const std::string& name) : name_(name) {}
    ~IControlAppearance() override = default;

    IControlAppearance(const IControlAppearance&) = delete;
    IControlAppearance& operator=(const IControlAppearance&) = delete;

    /// The name the class's constructor gives, replaced by the registry for loaded definitions.
    virtual void SetName(const std::string& name) { name_ = name; }
    virtual const std::string& GetName() const { return name_; }
    /// Reads the class's own keys; texture names go through the resolver (an empty resolver
    /// throws boost::bad_function_call at the first texture key).
    virtual void LoadProperties(const AppearanceProperties& properties, TextureResolver resolver) = 0;
    /// The control's client rectangle in its own coordinates.
    virtual void GetClientRect(canvas::Rect2f& out, CControl* control) = 0;
    /// point: in the control's parent's client coordinates.
    virtual bool HitTest(CControl* control, const Vector2<float>& point) = 0;
    /// Places the control's inner parts; the control calls it whenever its size is applied.
    virtual void Layout(CControl* control) = 0;
    /// The canvas origin is the control's top-left corner; the control has pushed a matrix
    /// and a brush for the appearance.
    virtual void Draw(CControl* control, canvas::CCanvas* canvas) = 0;

private:
    std::string name_;
};

} // namespace korvane::mwt
