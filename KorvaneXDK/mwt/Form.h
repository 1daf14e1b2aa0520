/** @file Form.h The window-like container every screen of the program derives from. */
#pragma once

#include <cstdint>
#include <string>

#include <boost/function.hpp>

#include "KorvaneXDK/canvas/Font.h"
#include "KorvaneXDK/canvas/Rect2f.h"
#include "KorvaneXDK/mwt/ContainerControl.h"

namespace korvane::mwt
{

/// A form answers the layout-edit question for every control below it with its own flag, and
/// focus chains inside it stop at it (CControl::IsFocusedInForm, CControl::SetFocus), while the
/// form itself always passes the focus on to the screen.
///
/// Life cycle: hidden from construction; adding it to a container opens it (Initialize is
/// Open), Close disables it and starts the close animation, and the first Update that finds that
/// animation completed fires ClosedEvent, removes the form from its parent and leaves it hidden,
/// enabled and initialised, ready to be added again. Framed styles (2 and 3) have caption boxes
/// driving the window state (normal, rolled up, maximised); a left press outside the client
/// rectangle of an undocked form drags it. Main thread only.
class CForm : public CContainerControl
{
public:
    using FormHandler = boost::function<void(CForm*)>;

    /// Window states.
    static constexpr std::int32_t kStateNormal = 0;
    static constexpr std::int32_t kStateRolledUp = 1;
    static constexpr std::int32_t kStateMaximized = 2;

    /// Copies the default open and close animation factories and the default form appearance
    /// factory (CDefaultFactories) as they are now.
    explicit CForm(const std::string& name = std::string());
    ~CForm() override;

    /// Open.
    void Initialize() override;
    /// A completed close first (ClosedEvent, removal, null animation, enabled, hidden), then the
    /// container's update. The completion test sees the animation as the previous frame left it.
    void Update(float seconds) override;
    /// When CanFocus or in layout edit mode: focused by its parent, which focuses itself in turn.
    void SetFocus() override;
    /// Rolled up: the appearance only, no children.
    void Draw(canvas::CCanvas* canvas) override;
    /// Ignored while closing. Left button: bring to front, caption boxes, frame drag, children.
    void OnMouseDown(const Vector2<float>& point, int button) override;
    void OnMouseUp(const Vector2<float>& point, int button) override;
    void OnMouseMove(const Vector2<float>& point, int buttons) override;
    /// Ends a drag where it is; the children hear of it unless closing.
    void OnWindowDeactivate() override;
    /// The form's own flag, never its parent's.
    bool IsLayoutEditMode() const override;

    /// 1. First time only: the control's Initialize (appearance), InitializedEvent, initialised;
    /// 2. the open animation; 3. the appearance's Layout; 4. visible; 5. OpenedEvent; 6. not
    /// closing. An empty factory throws boost::bad_function_call after step 1.
    virtual void Open();
    /// Ignored while closing; else closing, disabled, the close animation, ClosingEvent.
    virtual void Close();
    virtual bool IsClosing() const;
    virtual void SetFormName(const std::string& name);
    virtual const std::string& GetFormName() const;
    virtual void SetCaptionHeight(std::int32_t height);
    virtual std::int32_t GetCaptionHeight() const;
    /// Copies the font's name.
    virtual void SetFont(const canvas::CFont& font);
    /// The caption font, by reference: the name may be assigned through it.
    virtual canvas::CFont& GetFont();
    /// 2 and 3 are the framed styles with caption boxes.
    virtual void SetFormStyle(std::int32_t style);
    virtual std::int32_t GetFormStyle() const;
    virtual void SetMaximizeBoxEnabled(bool enabled);
    virtual bool IsMaximizeBoxEnabled() const;
    virtual void SetMaximizeBoxRect(const canvas::Rect2f& rect);
    virtual canvas::Rect2f& GetMaximizeBoxRect();
    virtual void SetRollUpBoxEnabled(bool enabled);
    virtual bool IsRollUpBoxEnabled() const;
    virtual void SetRollUpBoxRect(const canvas::Rect2f& rect);
    virtual canvas::Rect2f& GetRollUpBoxRect();
    virtual void SetCloseBoxEnabled(bool enabled);
    virtual bool IsCloseBoxEnabled() const;
    virtual void SetCloseBoxRect(const canvas::Rect2f& rect);
    virtual canvas::Rect2f& GetCloseBoxRect();
    /// Stores; true on an initialised form brings it to the front at once.
    virtual void SetTopMost(bool topMost);
    virtual bool IsTopMost() const;
    /// kStateNormal, kStateRolledUp or kStateMaximized.
    virtual std::int32_t GetWindowState() const;
    virtual void SetActivateOnClick(bool activate);
    virtual bool IsActivateOnClick() const;
    /// Stores only; controls see it at their next mouse event or drawing.
    virtual void SetLayoutEditMode(bool editMode);
    virtual bool IsInitialized() const;

    // The names the form designs use.
    void SetMaximizeBox(bool enabled) { SetMaximizeBoxEnabled(enabled); }
    void SetRollUpBox(bool enabled) { SetRollUpBoxEnabled(enabled); }
    void SetCloseBox(bool enabled) { SetCloseBoxEnabled(enabled); }

    /// A frame drag is in progress.
    bool IsDragging() const { return dragging_; }
    /// The bounds before rolling up or maximising.
    const canvas::Rect2f& GetSavedBounds() const { return savedBounds_; }

    // Handlers, assigned by the owner; an empty one is skipped. Over a life they fire in the
    // order initialised (first open only), opened (every open), closing, closed.
    FormHandler InitializedEvent;
    FormHandler OpenedEvent;
    FormHandler ClosedEvent;
    FormHandler ClosingEvent;
    AnimationFactoryFunction OpenAnimationFactory;
    AnimationFactoryFunction CloseAnimationFactory;

private:
    bool IsFramed() const;
    /// The maximise box's transition from the current window state.
    void Maximize();
    /// The roll-up box's transition from the current window state.
    void RollUp();

    std::string formName_;
    std::int32_t captionHeight_ = 20;
    bool initialized_ = false;
    bool maximizeBoxEnabled_ = false;
    bool rollUpBoxEnabled_ = false;
    bool closeBoxEnabled_ = false;
    canvas::Rect2f maximizeBoxRect_;
    canvas::Rect2f rollUpBoxRect_;
    canvas::Rect2f closeBoxRect_;
    bool topMost_ = false;
    std::int32_t windowState_ = kStateNormal;
    canvas::Rect2f savedBounds_;
    bool activateOnClick_ = true;
    bool closing_ = false;
    bool dragging_ = false;
    Vector2<float> grabPoint_;
    std::int32_t formStyle_ = 2;
    canvas::CFont font_;
    bool layoutEditMode_ = false;
};

} // namespace korvane::mwt
