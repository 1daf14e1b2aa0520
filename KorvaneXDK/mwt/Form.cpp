/** @file Form.cpp Forms: the open and close life cycle, caption boxes, window states, dragging and focus. */
#include "KorvaneXDK/mwt/Form.h"

#include "KorvaneXDK/mwt/AnimationComponent.h"
#include "KorvaneXDK/mwt/ControlAppearanceInterface.h"
#include "KorvaneXDK/mwt/DefaultFactories.h"
#include "KorvaneXDK/mwt/NullAnimationComponent.h"

namespace korvane::mwt
{

CForm::CForm(const std::string& name)
    : CContainerControl(name), OpenAnimationFactory(CDefaultFactories::FormOpenAnimation),
      CloseAnimationFactory(CDefaultFactories::FormCloseAnimation)
{
    AppearanceFactory = CDefaultFactories::FormAppearance;
    SetVisible(false);
}

CForm::~CForm() = default;

void CForm::Initialize()
{
    Open();
}

void CForm::Open()
{
    if (!initialized_) {
        CControl::Initialize();
        if (InitializedEvent) {
            InitializedEvent(this);
        }
        initialized_ = true;
    }
    SetAnimation(OpenAnimationFactory());
    if (const boost::shared_ptr<IControlAppearance> appearance = GetAppearance()) {
        appearance->Layout(this);
    }
    SetVisible(true);
    if (OpenedEvent) {
        OpenedEvent(this);
    }
    closing_ = false;
}

void CForm::Close()
{
    if (closing_) {
        return;
    }
    closing_ = true;
    SetEnabled(false);
    SetAnimation(CloseAnimationFactory());
    if (ClosingEvent) {
        ClosingEvent(this);
    }
}

void CForm::Update(float seconds)
{
    // Keeps the form alive to the end of this update when the parent held the last reference.
    boost::shared_ptr<CComponent> self;
    const boost::shared_ptr<CAnimationComponent> animation = GetAnimation();
    if (closing_ && animation && animation->IsCompleted()) {
        if (CContainerControl* parent = dynamic_cast<CContainerControl*>(GetParent())) {
            self = parent->FindControl(this);
            if (ClosedEvent) {
                ClosedEvent(this);
            }
            parent->RemoveControl(this);
        }
        SetAnimation(boost::shared_ptr<CAnimationComponent>(new CNullAnimationComponent()));
        closing_ = false;
        SetEnabled(true);
        SetVisible(false);
    }
    CContainerControl::Update(seconds);
}

void CForm::SetFocus()
{
    if (!CanFocus() && !IsLayoutEditMode()) {
        return;
    }
    CContainerControl* parent = dynamic_cast<CContainerControl*>(GetParent());
    if (!parent) {
        return;
    }
    parent->SetFocusedControl(this);
    parent->SetFocus();
}

void CForm::Draw(canvas::CCanvas* canvas)
{
    if (windowState_ == kStateRolledUp) {
        CControl::Draw(canvas);
        return;
    }
    CContainerControl::Draw(canvas);
}

bool CForm::IsFramed() const
{
    return formStyle_ == 2 || formStyle_ == 3;
}

void CForm::Maximize()
{
    if (windowState_ == kStateMaximized) {
        windowState_ = kStateNormal;
        SetDock(kDockNone);
        SetBounds(savedBounds_);
        return;
    }
    if (windowState_ == kStateNormal) {
        savedBounds_ = GetBounds();
    }
    windowState_ = kStateMaximized;
    SetDock(kDockFill);
}

void CForm::RollUp()
{
    const float caption = static_cast<float>(captionHeight_);
    if (windowState_ == kStateNormal) {
        savedBounds_ = GetBounds();
        windowState_ = kStateRolledUp;
        SetDock(kDockNone);
        SetSize(Vector2<float>(GetSize().x, caption));
    } else if (windowState_ == kStateRolledUp) {
        windowState_ = kStateNormal;
        SetDock(kDockNone);
        SetSize(Vector2<float>(savedBounds_.width, savedBounds_.height));
    } else {
        windowState_ = kStateRolledUp;
        SetDock(kDockNone);
        SetBounds(canvas::Rect2f(savedBounds_.left, savedBounds_.top, savedBounds_.width, caption));
    }
}

void CForm::OnMouseDown(const Vector2<float>& point, int button)
{
    if (closing_) {
        return;
    }
    if (button != 1) {
        CContainerControl::OnMouseDown(point, button);
        return;
    }
    if (CanFocus() && activateOnClick_) {
        BringToFront();
    }
    if (IsFramed()) {
        if (maximizeBoxEnabled_ && maximizeBoxRect_.Contains(point)) {
            Maximize();
            return;
        }
        if (rollUpBoxEnabled_ && rollUpBoxRect_.Contains(point)) {
            RollUp();
            return;
        }
        if (closeBoxEnabled_ && closeBoxRect_.Contains(point)) {
            Close();
            return;
        }
    }
    if (!GetClientRect().Contains(point) && GetDock() == kDockNone && !IsLayoutEditMode()) {
        dragging_ = true;
        grabPoint_ = point;
        return;
    }
    CContainerControl::OnMouseDown(point, button);
}

void CForm::OnMouseUp(const Vector2<float>& point, int button)
{
    if (closing_) {
        return;
    }
    if (dragging_) {
        SetLocation(GetLocation() + point - grabPoint_);
        dragging_ = false;
    }
    CContainerControl::OnMouseUp(point, button);
}

void CForm::OnMouseMove(const Vector2<float>& point, int buttons)
{
    if (closing_) {
        return;
    }
    if (dragging_) {
        SetLocation(GetLocation() + point - grabPoint_);
    }
    CContainerControl::OnMouseMove(point, buttons);
}

void CForm::OnWindowDeactivate()
{
    dragging_ = false;
    if (!closing_) {
        CContainerControl::OnWindowDeactivate();
    }
}

bool CForm::IsLayoutEditMode() const
{
    return layoutEditMode_;
}

const std::string& CForm::GetFormName() const
{
    return formName_;
}

void CForm::SetFormName(const std::string& name)
{
    formName_ = name;
}

std::int32_t CForm::GetCaptionHeight() const
{
    return captionHeight_;
}

void CForm::SetCaptionHeight(std::int32_t height)
{
    captionHeight_ = height;
}

canvas::CFont& CForm::GetFont()
{
    return font_;
}

void CForm::SetFont(const canvas::CFont& font)
{
    font_.SetName(font.GetName());
}

std::int32_t CForm::GetFormStyle() const
{
    return formStyle_;
}

void CForm::SetFormStyle(std::int32_t style)
{
    formStyle_ = style;
}

bool CForm::IsMaximizeBoxEnabled() const
{
    return maximizeBoxEnabled_;
}

void CForm::SetMaximizeBoxEnabled(bool enabled)
{
    maximizeBoxEnabled_ = enabled;
}

canvas::Rect2f& CForm::GetMaximizeBoxRect()
{
    return maximizeBoxRect_;
}

void CForm::SetMaximizeBoxRect(const canvas::Rect2f& rect)
{
    maximizeBoxRect_ = rect;
}

bool CForm::IsRollUpBoxEnabled() const
{
    return rollUpBoxEnabled_;
}

void CForm::SetRollUpBoxEnabled(bool enabled)
{
    rollUpBoxEnabled_ = enabled;
}

canvas::Rect2f& CForm::GetRollUpBoxRect()
{
    return rollUpBoxRect_;
}

void CForm::SetRollUpBoxRect(const canvas::Rect2f& rect)
{
    rollUpBoxRect_ = rect;
}

bool CForm::IsCloseBoxEnabled() const
{
    return closeBoxEnabled_;
}

void CForm::SetCloseBoxEnabled(bool enabled)
{
    closeBoxEnabled_ = enabled;
}

canvas::Rect2f& CForm::GetCloseBoxRect()
{
    return closeBoxRect_;
}

void CForm::SetCloseBoxRect(const canvas::Rect2f& rect)
{
    closeBoxRect_ = rect;
}

bool CForm::IsTopMost() const
{
    return topMost_;
}

void CForm::SetTopMost(bool topMost)
{
    topMost_ = topMost;
    if (initialized_ && topMost) {
        BringToFront();
    }
}

std::int32_t CForm::GetWindowState() const
{
    return windowState_;
}

bool CForm::IsActivateOnClick() const
{
    return activateOnClick_;
}

void CForm::SetActivateOnClick(bool activate)
{
    activateOnClick_ = activate;
}

bool CForm::IsClosing() const
{
    return closing_;
}

void CForm::SetLayoutEditMode(bool editMode)
{
    layoutEditMode_ = editMode;
}

bool CForm::IsInitialized() const
{
    return initialized_;
}

} // namespace korvane::mwt
