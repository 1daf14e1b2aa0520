/** @file Control.h A visible, interactive rectangle of the widget tree. */
#pragma once

#include <cstdint>
#include <string>

#include <boost/function.hpp>
#include <boost/shared_ptr.hpp>

#include "KorvaneXDK/canvas/Rect2f.h"
#include "KorvaneXDK/core/Color4.h"
#include "KorvaneXDK/core/Matrix4.h"
#include "KorvaneXDK/core/Vector2.h"
#include "KorvaneXDK/mwt/Component.h"

namespace korvane::canvas
{
class CCanvas;
} // namespace korvane::canvas

namespace korvane::mwt
{

class CAnimationComponent;
class IControlAppearance;

/// Location and size are in the parent's client coordinates; points handed to the mouse
/// operations are in the control's own coordinates ((0, 0) is its top-left corner). The
/// control neither draws nor hit-tests itself: its appearance does, and a control without one
/// (its Initialize failed) draws nothing, is never hit and lays nothing out. Animations write
/// the effect transform and colour, which the parent container applies when drawing.
///
/// Layout edit mode (the enclosing form's flag): a left press inside the 8 x 8 grip at the
/// bottom-right corner starts resizing, elsewhere moving; moves floor the location or the size
/// (at least 8 x 8); the release re-applies the dock. Main thread only.
class CControl : public CComponent
{
public:
    using AppearanceFactoryFunction = boost::function<boost::shared_ptr<IControlAppearance>()>;
    using AnimationFactoryFunction = boost::function<boost::shared_ptr<CAnimationComponent>()>;

    /// Dock values (any other value places like kDockNone).
    static constexpr std::int32_t kDockNone = 0;
    static constexpr std::int32_t kDockTop = 1;
    static constexpr std::int32_t kDockBottom = 2;
    static constexpr std::int32_t kDockLeft = 3;
    static constexpr std::int32_t kDockRight = 4;
    /// The client area the other docked children leave.
    static constexpr std::int32_t kDockFill = 5;
    /// The whole client area, whatever the padding and the other docked children.
    static constexpr std::int32_t kDockFillAll = 6;

    /// Edit-drag states.
    static constexpr std::int32_t kEditNone = 0;
    static constexpr std::int32_t kEditMoving = 1;
    static constexpr std::int32_t kEditResizing = 2;

    /// The side of the layout-edit grip square, and the least size a resize leaves.
    static constexpr float kGripSize = 8.0f;

    explicit CControl(const std::string& name = std::string());
    ~CControl() override;

    /// With no appearance: one from AppearanceFactory (EInvalidOperation "Appearance is NULL."
    /// when the factory is empty or yields none; nothing changes then). Then the appearance's
    /// Layout. A control added again keeps the appearance it has.
    void Initialize() override;
    /// 1. A new animation from AnimationFactory when there is none or it is completed;
    /// 2. the animation's Update; 3. UpdateEvent.
    void Update(float seconds) override;

    /// Stores the size; the appearance lays out.
    virtual void ApplySize(const Vector2<float>& size);
    virtual Vector2<float> GetLocation() const;
    /// Stores only (never lays out).
    virtual void SetLocation(const Vector2<float>& location);
    virtual Vector2<float> GetSize() const;
    /// ApplySize, then ResizeEvent (even for an unchanged size).
    virtual void SetSize(const Vector2<float>& size);
    /// SetLocation, then SetSize.
    virtual void SetBounds(const canvas::Rect2f& bounds);
    virtual canvas::Rect2f GetBounds() const;
    /// point: in the parent's client coordinates. False without an appearance.
    virtual bool HitTest(const Vector2<float>& point);
    virtual std::int32_t GetDock() const;
    /// Stores; the parent container lays out again when the value docks.
    virtual void SetDock(std::int32_t dock);
    virtual const Color4<float>& GetColor() const;
    virtual void SetColor(const Color4<float>& color);
    virtual std::int32_t GetTag() const;
    virtual void SetTag(std::int32_t tag);
    virtual bool IsVisible() const;
    /// Stores, then re-applies the dock so that the container lays out without (or with) it.
    virtual void SetVisible(bool visible);
    virtual std::int32_t GetGroup() const;
    virtual void SetGroup(std::int32_t group);
    virtual const std::string& GetText() const;
    virtual void SetText(const std::string& text);
    /// Stores only (no layout).
    virtual void SetAppearance(boost::shared_ptr<IControlAppearance> appearance);
    virtual boost::shared_ptr<IControlAppearance> GetAppearance() const;
    /// Stores, then the animation's SetParent (this) and Initialize. An empty pointer only
    /// drops the running animation.
    virtual void SetAnimation(boost::shared_ptr<CAnimationComponent> animation);
    virtual boost::shared_ptr<CAnimationComponent> GetAnimation() const;
    virtual const Matrix4& GetEffectTransform() const;
    virtual void SetEffectTransform(const Matrix4& transform);
    virtual const Color4<float>& GetEffectColor() const;
    virtual void SetEffectColor(const Color4<float>& color);
    /// White effect colour, identity effect transform, no animation.
    virtual void ResetEffect();
    virtual void SetFocusable(bool focusable);
    virtual bool IsFocusable() const;
    /// Focusable, enabled and visible.
    virtual bool CanFocus() const;
    /// Every link from here to the root screen is its container's focused child.
    virtual bool IsFocused() const;
    /// Every link from here up to the enclosing form is focused, or this is a form.
    virtual bool IsFocusedInForm() const;
    /// When CanFocus or in layout edit mode: the parent container focuses this control, and
    /// unless that parent is a form, the parent focuses itself in turn.
    virtual void SetFocus();
    /// GotFocusEvent, then every ancestor container's FocusChangedEvent (this).
    virtual void OnGotFocus();
    /// LostFocusEvent.
    virtual void OnLostFocus();
    /// location + point (containers add their client origin).
    virtual Vector2<float> LocalToParent(const Vector2<float>& point) const;
    /// The point in the root's coordinates.
    virtual Vector2<float> LocalToScreen(const Vector2<float>& point) const;
    virtual void BringToFront();
    virtual void SendToBack();
    /// In the control's local coordinates: the parent container has applied location, effect
    /// transform, effect colour and clipping. The appearance, the red grip and frame in layout
    /// edit mode when focused in the form, then DrawEvent.
    virtual void Draw(canvas::CCanvas* canvas);
    virtual void OnClick();
    virtual void OnMouseDown(const Vector2<float>& point, int button);
    virtual void OnMouseUp(const Vector2<float>& point, int button);
    virtual void OnMouseMove(const Vector2<float>& point, int buttons);
    /// In layout edit mode ends a drag quietly; otherwise WindowDeactivateEvent.
    virtual void OnWindowDeactivate();
    /// MouseWheelEvent's answer; false without one (the point is not passed on).
    virtual bool OnMouseWheel(const Vector2<float>& point, float delta);
    virtual void OnChar(unsigned int code);
    virtual void OnKeyDown(unsigned int key);
    virtual void OnKeyUp(unsigned int key);
    /// The enclosing form's flag; false without a parent container.
    virtual bool IsLayoutEditMode() const;
    /// 0 alpha blending, 1 additive, 2 multiplicative; stored for appearances to use.
    virtual std::int32_t GetBlendMode() const;
    virtual void SetBlendMode(std::int32_t mode);

    /// The layout-edit drag: kEditNone, kEditMoving or kEditResizing.
    std::int32_t GetEditDragState() const { return editDragState_; }

    // Events: assigned directly by the form designs and the front end; an empty one is skipped.
    boost::function<void(CControl*)> ClickEvent;
    /// point, button (1 left).
    boost::function<void(CControl*, Vector2<float>, int)> MouseDownEvent;
    /// point, button state.
    boost::function<void(CControl*, Vector2<float>, int)> MouseMoveEvent;
    boost::function<void(CControl*, Vector2<float>, int)> MouseUpEvent;
    boost::function<void(CControl*)> WindowDeactivateEvent;
    /// delta; returns whether it took the wheel.
    boost::function<bool(CControl*, float)> MouseWheelEvent;
    /// character code.
    boost::function<void(CControl*, unsigned int)> CharEvent;
    /// virtual key code.
    boost::function<void(CControl*, unsigned int)> KeyDownEvent;
    boost::function<void(CControl*, unsigned int)> KeyUpEvent;
    /// After the appearance has drawn, in the control's local coordinates.
    boost::function<void(CControl*, canvas::CCanvas*)> DrawEvent;
    boost::function<void(CControl*)> ResizeEvent;
    boost::function<void(CControl*)> GotFocusEvent;
    boost::function<void(CControl*)> LostFocusEvent;

    /// Used by Initialize when no appearance is set; a new CTransparentAppearance here, each
    /// control class sets its own default.
    AppearanceFactoryFunction AppearanceFactory;
    /// When set, Update keeps an animation from it running (re-created once completed).
    AnimationFactoryFunction AnimationFactory;

private:
    Vector2<float> location_;
    Vector2<float> size_;
    std::int32_t dock_ = kDockNone;
    Color4<float> color_{1.0f, 1.0f, 1.0f, 1.0f};
    std::int32_t tag_ = 0;
    bool visible_ = true;
    bool focusable_ = true;
    std::int32_t group_ = 0;
    std::string text_;
    std::int32_t editDragState_ = kEditNone;
    Vector2<float> grabOffset_;
    Matrix4 effectTransform_;
    Color4<float> effectColor_{1.0f, 1.0f, 1.0f, 1.0f};
    std::int32_t blendMode_ = 0;
    boost::shared_ptr<CAnimationComponent> animation_;
    boost::shared_ptr<IControlAppearance> appearance_;
};

} // namespace korvane::mwt
