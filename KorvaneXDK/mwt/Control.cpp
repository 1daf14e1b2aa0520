/** @file Control.cpp Controls: properties, focus, coordinates, drawing and the layout-edit drag. */
#include "KorvaneXDK/mwt/Control.h"

#include <cmath>

#include "KorvaneXDK/canvas/Canvas.h"
#include "KorvaneXDK/core/Exception.h"
#include "KorvaneXDK/mwt/AnimationComponent.h"
#include "KorvaneXDK/mwt/CanvasDepthGuard.h"
#include "KorvaneXDK/mwt/ContainerControl.h"
#include "KorvaneXDK/mwt/ControlAppearanceInterface.h"
#include "KorvaneXDK/mwt/Form.h"
#include "KorvaneXDK/mwt/TransparentAppearance.h"

namespace korvane::mwt
{
namespace
{

CContainerControl* ParentContainer(CComponent* parent)
{
    return dynamic_cast<CContainerControl*>(parent);
}

const CContainerControl* ParentContainer(const CComponent* parent)
{
    return dynamic_cast<const CContainerControl*>(parent);
}

} // namespace

CControl::CControl(const std::string& name) : CComponent(name), AppearanceFactory(&CTransparentAppearance::Create) {}

CControl::~CControl() = default;

void CControl::Initialize()
{
    if (!appearance_) {
        if (!AppearanceFactory) {
            throw EInvalidOperation(this, "Appearance is NULL.");
        }
        boost::shared_ptr<IControlAppearance> created = AppearanceFactory();
        if (!created) {
            throw EInvalidOperation(this, "Appearance is NULL.");
        }
        SetAppearance(created);
    }
    if (appearance_) {
        appearance_->Layout(this);
    }
}

void CControl::Update(float seconds)
{
    if (AnimationFactory && (!animation_ || animation_->IsCompleted())) {
        SetAnimation(AnimationFactory());
    }
    if (animation_) {
        // The animation may replace itself or be dropped by its own update.
        const boost::shared_ptr<CAnimationComponent> running = animation_;
        running->Update(seconds);
    }
    CComponent::Update(seconds);
}

void CControl::ApplySize(const Vector2<float>& size)
{
    size_ = size;
    if (appearance_) {
        appearance_->Layout(this);
    }
}

Vector2<float> CControl::GetLocation() const
{
    return location_;
}

void CControl::SetLocation(const Vector2<float>& location)
{
    location_ = location;
}

Vector2<float> CControl::GetSize() const
{
    return size_;
}

void CControl::SetSize(const Vector2<float>& size)
{
    ApplySize(size);
    if (ResizeEvent) {
        ResizeEvent(this);
    }
}

void CControl::SetBounds(const canvas::Rect2f& bounds)
{
    SetLocation(Vector2<float>(bounds.left, bounds.top));
    SetSize(Vector2<float>(bounds.width, bounds.height));
}

canvas::Rect2f CControl::GetBounds() const
{
    return canvas::Rect2f(location_.x, location_.y, size_.x, size_.y);
}

bool CControl::HitTest(const Vector2<float>& point)
{
    return appearance_ && appearance_->HitTest(this, point);
}

std::int32_t CControl::GetDock() const
{
    return dock_;
}

void CControl::SetDock(std::int32_t dock)
{
    dock_ = dock;
    if (CContainerControl* parent = ParentContainer(GetParent())) {
        parent->UpdateLayoutFor(this);
    }
}

const Color4<float>& CControl::GetColor() const
{
    return color_;
}

void CControl::SetColor(const Color4<float>& color)
{
    color_ = color;
}

std::int32_t CControl::GetTag() const
{
    return tag_;
}

void CControl::SetTag(std::int32_t tag)
{
    tag_ = tag;
}

bool CControl::IsVisible() const
{
    return visible_;
}

void CControl::SetVisible(bool visible)
{
    visible_ = visible;
    SetDock(GetDock());
}

std::int32_t CControl::GetGroup() const
{
    return group_;
}

void CControl::SetGroup(std::int32_t group)
{
    group_ = group;
}

const std::string& CControl::GetText() const
{
    return text_;
}

void CControl::SetText(const std::string& text)
{
    text_ = text;
}

void CControl::SetAppearance(boost::shared_ptr<IControlAppearance> appearance)
{
    appearance_ = appearance;
}

boost::shared_ptr<IControlAppearance> CControl::GetAppearance() const
{
    return appearance_;
}

void CControl::SetAnimation(boost::shared_ptr<CAnimationComponent> animation)
{
    animation_ = animation;
    if (animation) {
        animation->SetParent(this);
        animation->Initialize();
    }
}

boost::shared_ptr<CAnimationComponent> CControl::GetAnimation() const
{
    return animation_;
}

const Matrix4& CControl::GetEffectTransform() const
{
    return effectTransform_;
}

void CControl::SetEffectTransform(const Matrix4& transform)
{
    effectTransform_ = transform;
}

const Color4<float>& CControl::GetEffectColor() const
{
    return effectColor_;
}

void CControl::SetEffectColor(const Color4<float>& color)
{
    effectColor_ = color;
}

void CControl::ResetEffect()
{
    effectColor_ = Color4<float>(1.0f, 1.0f, 1.0f, 1.0f);
    animation_.reset();
    effectTransform_ = Matrix4();
}

void CControl::SetFocusable(bool focusable)
{
    focusable_ = focusable;
}

bool CControl::IsFocusable() const
{
    return focusable_;
}

bool CControl::CanFocus() const
{
    return IsFocusable() && IsEnabled() && IsVisible();
}

bool CControl::IsFocused() const
{
    const CContainerControl* parent = ParentContainer(GetParent());
    return parent && parent->IsFocusedControl(this) && parent->IsFocused();
}

bool CControl::IsFocusedInForm() const
{
    if (dynamic_cast<const CForm*>(this)) {
        return true;
    }
    const CControl* node = this;
    for (;;) {
        const CContainerControl* parent = ParentContainer(node->GetParent());
        if (!parent || !parent->IsFocusedControl(node)) {
            return false;
        }
        if (dynamic_cast<const CForm*>(parent)) {
            return true;
        }
        node = parent;
    }
}

void CControl::SetFocus()
{
    if (!CanFocus() && !IsLayoutEditMode()) {
        return;
    }
    CContainerControl* parent = ParentContainer(GetParent());
    if (!parent) {
        return;
    }
    parent->SetFocusedControl(this);
    if (!dynamic_cast<CForm*>(parent)) {
        parent->SetFocus();
    }
}

void CControl::OnGotFocus()
{
    if (GotFocusEvent) {
        GotFocusEvent(this);
    }
    for (CComponent* ancestor = GetParent(); ancestor; ancestor = ancestor->GetParent()) {
        if (CContainerControl* container = ParentContainer(ancestor)) {
            if (container->FocusChangedEvent) {
                container->FocusChangedEvent(this);
            }
        }
    }
}

void CControl::OnLostFocus()
{
    if (LostFocusEvent) {
        LostFocusEvent(this);
    }
}

Vector2<float> CControl::LocalToParent(const Vector2<float>& point) const
{
    return location_ + point;
}

Vector2<float> CControl::LocalToScreen(const Vector2<float>& point) const
{
    Vector2<float> result = LocalToParent(point);
    for (const CComponent* ancestor = GetParent(); ancestor; ancestor = ancestor->GetParent()) {
        const CControl* control = dynamic_cast<const CControl*>(ancestor);
        if (!control) {
            break;
        }
        result = control->LocalToParent(result);
    }
    return result;
}

void CControl::BringToFront()
{
    if (CContainerControl* parent = ParentContainer(GetParent())) {
        parent->BringControlToFront(this);
    }
}

void CControl::SendToBack()
{
    if (CContainerControl* parent = ParentContainer(GetParent())) {
        parent->SendControlToBack(this);
    }
}

void CControl::Draw(canvas::CCanvas* canvas)
{
    if (!IsVisible() || !appearance_) {
        return;
    }
    const CCanvasDepthGuard depths(*canvas);
    canvas->PushMatrix();
    canvas->PushBrush();
    appearance_->Draw(this, canvas);
    if (IsLayoutEditMode() && IsFocusedInForm()) {
        canvas::CBrush& brush = canvas->GetBrush();
        brush.SetBlendMode(canvas::CBrush::kBlendNormal);
        brush.SetColor(Color4<float>(1.0f, 0.0f, 0.0f, 1.0f));
        canvas->FillRect(canvas::Rect2f(size_.x - kGripSize, size_.y - kGripSize, kGripSize, kGripSize));
        canvas->DrawRect(canvas::Rect2f(0.0f, 0.0f, size_.x, size_.y));
    }
    canvas->PopBrush();
    canvas->PopMatrix();
    if (DrawEvent) {
        DrawEvent(this, canvas);
    }
}

void CControl::OnClick()
{
    if (ClickEvent) {
        ClickEvent(this);
    }
}

void CControl::OnMouseDown(const Vector2<float>& point, int button)
{
    if (IsLayoutEditMode() && button == 1) {
        const canvas::Rect2f grip(size_.x - kGripSize, size_.y - kGripSize, kGripSize, kGripSize);
        const Vector2<float> d = LocalToParent(point) - location_;
        if (grip.Contains(d)) {
            editDragState_ = kEditResizing;
            grabOffset_ = size_ - d;
        } else {
            editDragState_ = kEditMoving;
            grabOffset_ = d;
        }
    }
    if (MouseDownEvent) {
        MouseDownEvent(this, point, button);
    }
}

void CControl::OnMouseUp(const Vector2<float>& point, int button)
{
    if (IsLayoutEditMode()) {
        editDragState_ = kEditNone;
        SetDock(GetDock());
    }
    if (MouseUpEvent) {
        MouseUpEvent(this, point, button);
    }
}

void CControl::OnMouseMove(const Vector2<float>& point, int buttons)
{
    if (IsLayoutEditMode()) {
        const Vector2<float> d = LocalToParent(point) - location_;
        if (editDragState_ == kEditMoving) {
            const Vector2<float> moved = location_ + d - grabOffset_;
            SetLocation(Vector2<float>(std::floor(moved.x), std::floor(moved.y)));
        } else if (editDragState_ == kEditResizing) {
            const Vector2<float> s = grabOffset_ + d;
            // NaN is not above the minimum either.
            const float w = s.x > kGripSize ? s.x : kGripSize;
            const float h = s.y > kGripSize ? s.y : kGripSize;
            SetSize(Vector2<float>(std::floor(w), std::floor(h)));
        }
    }
    if (MouseMoveEvent) {
        MouseMoveEvent(this, point, buttons);
    }
}

void CControl::OnWindowDeactivate()
{
    if (IsLayoutEditMode()) {
        editDragState_ = kEditNone;
        return;
    }
    if (WindowDeactivateEvent) {
        WindowDeactivateEvent(this);
    }
}

bool CControl::OnMouseWheel(const Vector2<float>& point, float delta)
{
    return MouseWheelEvent ? MouseWheelEvent(this, delta) : false;
}

void CControl::OnChar(unsigned int code)
{
    if (CharEvent) {
        CharEvent(this, code);
    }
}

void CControl::OnKeyDown(unsigned int key)
{
    if (KeyDownEvent) {
        KeyDownEvent(this, key);
    }
}

void CControl::OnKeyUp(unsigned int key)
{
    if (KeyUpEvent) {
        KeyUpEvent(this, key);
    }
}

bool CControl::IsLayoutEditMode() const
{
    const CContainerControl* parent = ParentContainer(GetParent());
    return parent && parent->IsLayoutEditMode();
}

std::int32_t CControl::GetBlendMode() const
{
    return blendMode_;
}

void CControl::SetBlendMode(std::int32_t mode)
{
    blendMode_ = mode;
}

} // namespace korvane::mwt
