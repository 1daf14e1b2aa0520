/** @file Button.h The push button: a caption, an optional icon around it, a pressed state and a press animation. */
#pragma once

#include <cstdint>
#include <string>

#include <boost/shared_ptr.hpp>

#include "KorvaneXDK/canvas/Font.h"
#include "KorvaneXDK/mwt/Control.h"

namespace korvane
{
class ITexture;
} // namespace korvane

namespace korvane::mwt
{

/// The pointer makes it pressed: any button going down on it sets the pressed flags, the
/// pointer leaving and re-entering clears and sets the "over" one, and a release or a window
/// deactivation clears both. The container turns a release over the button into OnClick,
/// which plays the press animation (none in layout edit mode) and fires ClickEvent.
///
/// The appearance paints the body; the button draws the icon and the caption over it as one
/// block placed by the two alignments. Main thread only.
class CButton : public CControl
{
public:
    /// Icon placements; any other value puts both icon and caption at (0, 0).
    static constexpr std::int32_t kIconLeft = 0;
    static constexpr std::int32_t kIconRight = 1;
    static constexpr std::int32_t kIconAbove = 2;
    static constexpr std::int32_t kIconBelow = 3;
    /// The icon in the button's centre, the caption placed on its own.
    static constexpr std::int32_t kIconCentered = 4;

    /// Copies the default button appearance and press animation factories (CDefaultFactories) as they are now.
    explicit CButton(const std::string& name = std::string());
    ~CButton() override;

    /// Appearance, then icon and caption (at half opacity when disabled).
    void Draw(canvas::CCanvas* canvas) override;
    /// The press animation (not in layout edit mode; an empty factory throws
    /// boost::bad_function_call), then ClickEvent.
    void OnClick() override;
    void OnMouseDown(const Vector2<float>& point, int button) override;
    void OnMouseUp(const Vector2<float>& point, int button) override;
    void OnMouseMove(const Vector2<float>& point, int buttons) override;
    void OnWindowDeactivate() override;

    virtual void SetCaption(const std::string& caption);
    virtual const std::string& GetCaption() const;
    /// Copies the font's name.
    virtual void SetFont(const canvas::CFont& font);
    virtual const canvas::CFont& GetFont() const;
    /// Drawn at its image size (ITexture::GetImageWidth/Height).
    virtual void SetIcon(boost::shared_ptr<ITexture> icon);
    virtual boost::shared_ptr<ITexture> GetIcon() const;
    /// Stored only: whoever loads the icon sets it with SetIcon.
    virtual void SetIconPath(const std::string& path);
    virtual const std::string& GetIconPath() const;
    virtual void SetIconPlacement(std::int32_t placement);
    virtual std::int32_t GetIconPlacement() const;
    /// 0: the appearance paints no body, only icon and caption show.
    virtual void SetBodyVisible(std::int32_t visible);
    virtual std::int32_t IsBodyVisible() const;
    /// 1 centre, 2 right, anything else left.
    virtual void SetTextAlignment(std::int32_t alignment);
    virtual std::int32_t GetTextAlignment() const;
    /// 1 middle, 2 bottom, anything else top.
    virtual void SetVerticalAlignment(std::int32_t alignment);
    virtual std::int32_t GetVerticalAlignment() const;
    /// Pressed with the pointer over the button, and not in layout edit mode.
    virtual bool IsPressed() const;

    // The front end's names for the same settings.
    void SetImageName(const std::string& path) { SetIconPath(path); }
    void SetImagePlacement(std::int32_t placement) { SetIconPlacement(placement); }
    void SetHorizontalAlignment(std::int32_t alignment) { SetTextAlignment(alignment); }
    std::int32_t GetHorizontalAlignment() const { return GetTextAlignment(); }

    /// Called on every click for the animation to start.
    AnimationFactoryFunction PressAnimationFactory;

private:
    std::string caption_;
    canvas::CFont font_;
    boost::shared_ptr<ITexture> icon_;
    std::string iconPath_;
    std::int32_t iconPlacement_ = kIconLeft;
    std::int32_t bodyVisible_ = 1;
    std::int32_t textAlignment_ = 1;
    std::int32_t verticalAlignment_ = 1;
    bool pressed_ = false;
    bool pressedOver_ = false;
};

} // namespace korvane::mwt
