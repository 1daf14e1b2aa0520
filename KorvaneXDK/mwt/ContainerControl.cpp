/** @file ContainerControl.cpp Containers: children, mouse and key routing, focus, docking and drawing. */
#include "KorvaneXDK/mwt/ContainerControl.h"

#include <algorithm>

#include "KorvaneXDK/canvas/Canvas.h"
#include "KorvaneXDK/canvas/CanvasMath.h"
#include "KorvaneXDK/mwt/CanvasDepthGuard.h"
#include "KorvaneXDK/mwt/ControlAppearanceInterface.h"

namespace korvane::mwt
{
namespace
{

bool IsDocked(std::int32_t dock)
{
    return dock >= CControl::kDockTop && dock <= CControl::kDockFillAll;
}

/// The shared pointer of `control` in the list, keeping it alive while its handlers run.
boost::shared_ptr<CComponent> Holder(const CContainerControl::ControlList& children, const CComponent* control)
{
    for (const auto& child : children) {
        if (child.get() == control) {
            return child;
        }
    }
    return boost::shared_ptr<CComponent>();
}

} // namespace

CContainerControl::CContainerControl(const std::string& name) : CControl(name) {}

CContainerControl::~CContainerControl()
{
    for (const auto& child : children_) {
        child->SetParent(nullptr);
    }
}

// --- Children --------------------------------------------------------------------------------

void CContainerControl::AddControl(boost::shared_ptr<CComponent> component)
{
    if (!component || FindControl(component.get())) {
        return;
    }
    children_.push_back(component);
    component->SetParent(this);
    component->Initialize();
    UpdateLayoutFor(component.get());
    if (!GetFocusedControl()) {
        if (CControl* control = dynamic_cast<CControl*>(component.get())) {
            SetFocusedControl(control);
        }
    }
}

void CContainerControl::RemoveControl(CControl* control)
{
    const boost::shared_ptr<CComponent> held = FindControl(control);
    if (!held) {
        return;
    }
    if (pressed_ == control) {
        pressed_ = nullptr;
    }
    if (IsFocusedControl(control)) {
        focused_.reset();
        // Every eligible child takes the focus in turn from the last to the first, so the first
        // in list order ends with it.
        const ControlList snapshot = children_;
        for (auto it = snapshot.rbegin(); it != snapshot.rend(); ++it) {
            if (it->get() == held.get()) {
                continue;
            }
            CControl* other = dynamic_cast<CControl*>(it->get());
            if (other && other->IsEnabled() && other->IsVisible() && other->IsFocusable()) {
                SetFocusedControl(other);
            }
        }
    }
    control->SetParent(nullptr);
    const auto found = std::find(children_.begin(), children_.end(), held);
    if (found != children_.end()) {
        children_.erase(found);
    }
}

void CContainerControl::RemoveAllControls()
{
    const ControlList removed = std::move(children_);
    children_.clear();
    focused_.reset();
    pressed_ = nullptr;
    for (const auto& child : removed) {
        child->SetParent(nullptr);
    }
}

const CContainerControl::ControlList& CContainerControl::GetControls() const
{
    return children_;
}

void CContainerControl::AddControlAt(boost::shared_ptr<CComponent> component, const Vector2<float>& point)
{
    for (auto it = children_.rbegin(); it != children_.rend(); ++it) {
        CContainerControl* container = dynamic_cast<CContainerControl*>(it->get());
        if (container && container->HitTest(point)) {
            container->AddControlAt(component, point - container->GetLocation());
            return;
        }
    }
    if (CControl* control = dynamic_cast<CControl*>(component.get())) {
        control->SetLocation(point);
    }
    AddControl(component);
}

boost::shared_ptr<CComponent> CContainerControl::FindControl(const CComponent* control) const
{
    return control ? Holder(children_, control) : boost::shared_ptr<CComponent>();
}

boost::shared_ptr<CComponent> CContainerControl::FindControlByName(const std::string& name) const
{
    for (const auto& child : children_) {
        if (child->GetName() == name) {
            return child;
        }
    }
    return boost::shared_ptr<CComponent>();
}

void CContainerControl::BringControlToFront(CControl* control)
{
    const boost::shared_ptr<CComponent> held = FindControl(control);
    if (!held) {
        return;
    }
    children_.erase(std::find(children_.begin(), children_.end(), held));
    children_.push_back(held);
    UpdateLayoutFor(control);
}

void CContainerControl::SendControlToBack(CControl* control)
{
    const boost::shared_ptr<CComponent> held = FindControl(control);
    if (!held) {
        return;
    }
    children_.erase(std::find(children_.begin(), children_.end(), held));
    children_.insert(children_.begin(), held);
    UpdateLayoutFor(control);
}

// --- Focus -----------------------------------------------------------------------------------

void CContainerControl::SetFocusedControl(CControl* control)
{
    if (!control || !(control->CanFocus() || control->IsLayoutEditMode())) {
        return;
    }
    const boost::shared_ptr<CComponent> held = FindControl(control);
    if (!held) {
        return;
    }
    const boost::shared_ptr<CComponent> previous = focused_.lock();
    if (previous == held) {
        return;
    }
    focused_ = held;
    if (CControl* old = dynamic_cast<CControl*>(previous.get())) {
        old->OnLostFocus();
    }
    control->OnGotFocus();
}

void CContainerControl::ClearFocusedControl()
{
    focused_.reset();
}

bool CContainerControl::IsFocusedControl(const CControl* control) const
{
    const boost::shared_ptr<CComponent> focused = focused_.lock();
    return focused && control && focused.get() == static_cast<const CComponent*>(control);
}

boost::shared_ptr<CControl> CContainerControl::GetFocusedControl() const
{
    return boost::dynamic_pointer_cast<CControl>(focused_.lock());
}

boost::shared_ptr<CControl> CContainerControl::GetFocusedLeaf() const
{
    const boost::shared_ptr<CControl> focused = GetFocusedControl();
    if (const CContainerControl* container = dynamic_cast<const CContainerControl*>(focused.get())) {
        return container->GetFocusedLeaf();
    }
    return focused;
}

void CContainerControl::OnGotFocus()
{
    CControl::OnGotFocus();
    if (const boost::shared_ptr<CControl> focused = GetFocusedControl()) {
        focused->OnGotFocus();
    }
    if (FocusChangedEvent) {
        FocusChangedEvent(this);
    }
}

void CContainerControl::OnLostFocus()
{
    if (const boost::shared_ptr<CControl> focused = GetFocusedControl()) {
        focused->OnLostFocus();
    }
    CControl::OnLostFocus();
}

std::vector<boost::shared_ptr<CControl>> CContainerControl::GetFocusCandidates() const
{
    std::vector<boost::shared_ptr<CControl>> candidates;
    for (const auto& child : children_) {
        boost::shared_ptr<CControl> control = boost::dynamic_pointer_cast<CControl>(child);
        if (control && control->CanFocus()) {
            candidates.push_back(control);
        }
    }
    std::stable_sort(candidates.begin(), candidates.end(),
                     [](const boost::shared_ptr<CControl>& a, const boost::shared_ptr<CControl>& b) {
                         const Vector2<float> pa = a->GetLocation();
                         const Vector2<float> pb = b->GetLocation();
                         return pa.y < pb.y || (pa.y == pb.y && pa.x < pb.x);
                     });
    return candidates;
}

boost::shared_ptr<CControl>
CContainerControl::WalkCandidates(const std::vector<boost::shared_ptr<CControl>>& candidates, std::size_t begin,
                                  std::size_t end, bool forward)
{
    // [begin, end) in candidate order, visited forward or backward.
    for (std::size_t step = begin; step < end; ++step) {
        const boost::shared_ptr<CControl>& candidate = candidates[forward ? step : end - 1 - (step - begin)];
        CContainerControl* container = dynamic_cast<CContainerControl*>(candidate.get());
        if (!container) {
            SetFocusedControl(candidate.get());
            return candidate;
        }
        const boost::shared_ptr<CControl> inner = forward ? container->FocusFirst() : container->FocusLast();
        if (inner) {
            SetFocusedControl(container);
            return inner;
        }
    }
    return boost::shared_ptr<CControl>();
}

boost::shared_ptr<CControl> CContainerControl::MoveFocus(bool forward, bool wrap)
{
    const boost::shared_ptr<CControl> focused = GetFocusedControl();
    if (!focused) {
        return focused;
    }
    if (CContainerControl* container = dynamic_cast<CContainerControl*>(focused.get())) {
        if (boost::shared_ptr<CControl> inner = container->MoveFocus(forward, false)) {
            return inner;
        }
    }
    const std::vector<boost::shared_ptr<CControl>> candidates = GetFocusCandidates();
    if (candidates.empty()) {
        return boost::shared_ptr<CControl>();
    }
    const auto found = std::find(candidates.begin(), candidates.end(), focused);
    boost::shared_ptr<CControl> result;
    if (found == candidates.end()) {
        result = WalkCandidates(candidates, 0, candidates.size(), forward);
    } else {
        const std::size_t index = static_cast<std::size_t>(found - candidates.begin());
        result = forward ? WalkCandidates(candidates, index + 1, candidates.size(), true)
                         : WalkCandidates(candidates, 0, index, false);
    }
    if (result || !wrap) {
        return result;
    }
    return forward ? FocusFirst() : FocusLast();
}

boost::shared_ptr<CControl> CContainerControl::FocusNext()
{
    return MoveFocus(true, true);
}

boost::shared_ptr<CControl> CContainerControl::FocusPrevious()
{
    return MoveFocus(false, true);
}

boost::shared_ptr<CControl> CContainerControl::FocusFirst()
{
    const std::vector<boost::shared_ptr<CControl>> candidates = GetFocusCandidates();
    return WalkCandidates(candidates, 0, candidates.size(), true);
}

boost::shared_ptr<CControl> CContainerControl::FocusLast()
{
    const std::vector<boost::shared_ptr<CControl>> candidates = GetFocusCandidates();
    return WalkCandidates(candidates, 0, candidates.size(), false);
}

// --- Layout ----------------------------------------------------------------------------------

void CContainerControl::LayoutControls()
{
    const canvas::Rect2f c = GetClientRect();
    const float p = static_cast<float>(dockPadding_);
    const canvas::Rect2f whole(0.0f, 0.0f, c.width, c.height);
    canvas::Rect2f r(p, p, c.width - 2.0f * p, c.height - 2.0f * p);

    // Resize handlers may change the list; the passes keep the children they started with.
    std::vector<boost::shared_ptr<CControl>> docked;
    for (const auto& child : children_) {
        boost::shared_ptr<CControl> control = boost::dynamic_pointer_cast<CControl>(child);
        if (control && IsDocked(control->GetDock())) {
            docked.push_back(control);
        }
    }
    for (const auto& child : docked) {
        if (!child->IsVisible()) {
            continue;
        }
        if (child->GetDock() == kDockTop) {
            child->SetBounds(canvas::Rect2f(r.left, r.top, r.width, child->GetSize().y));
            const float h = child->GetSize().y;
            r.top += h;
            r.height -= h;
        } else if (child->GetDock() == kDockBottom) {
            const float h = child->GetSize().y;
            child->SetBounds(canvas::Rect2f(r.left, r.top + r.height - h, r.width, h));
            r.height -= child->GetSize().y;
        }
    }
    for (const auto& child : docked) {
        if (!child->IsVisible()) {
            continue;
        }
        if (child->GetDock() == kDockLeft) {
            child->SetBounds(canvas::Rect2f(r.left, r.top, child->GetSize().x, r.height));
            const float w = child->GetSize().x;
            r.left += w;
            r.width -= w;
        } else if (child->GetDock() == kDockRight) {
            const float w = child->GetSize().x;
            child->SetBounds(canvas::Rect2f(r.left + r.width - w, r.top, w, r.height));
            r.width -= child->GetSize().x;
        }
    }
    if (!(r.width > 0.0f)) {
        r.width = 0.0f;
    }
    if (!(r.height > 0.0f)) {
        r.height = 0.0f;
    }
    for (const auto& child : docked) {
        if (!child->IsVisible()) {
            continue;
        }
        if (child->GetDock() == kDockFill) {
            child->SetBounds(r);
        } else if (child->GetDock() == kDockFillAll) {
            child->SetBounds(whole);
        }
    }
}

void CContainerControl::UpdateLayoutFor(CComponent* component)
{
    if (!FindControl(component)) {
        return;
    }
    const CControl* control = dynamic_cast<const CControl*>(component);
    if (control && IsDocked(control->GetDock())) {
        LayoutControls();
    }
}

canvas::Rect2f CContainerControl::GetClientRect() const
{
    if (const boost::shared_ptr<IControlAppearance> appearance = GetAppearance()) {
        canvas::Rect2f client;
        // Appearances keep no state per control; the control is only read.
        appearance->GetClientRect(client, const_cast<CContainerControl*>(this));
        return client;
    }
    const Vector2<float> size = GetSize();
    return canvas::Rect2f(0.0f, 0.0f, size.x, size.y);
}

Vector2<float> CContainerControl::GetClientOrigin() const
{
    const canvas::Rect2f client = GetClientRect();
    return Vector2<float>(client.left, client.top);
}

void CContainerControl::SetDockPadding(std::int32_t padding)
{
    dockPadding_ = padding;
}

std::int32_t CContainerControl::GetDockPadding() const
{
    return dockPadding_;
}

void CContainerControl::SetKeyPreview(bool preview)
{
    keyPreview_ = preview;
}

bool CContainerControl::IsKeyPreview() const
{
    return keyPreview_;
}

void CContainerControl::SetGroupKeyBroadcast(bool broadcast)
{
    groupKeyBroadcast_ = broadcast;
}

bool CContainerControl::IsGroupKeyBroadcast() const
{
    return groupKeyBroadcast_;
}

void CContainerControl::SetSize(const Vector2<float>& size)
{
    ApplySize(size);
    LayoutControls();
    if (ResizeEvent) {
        ResizeEvent(this);
    }
}

Vector2<float> CContainerControl::LocalToParent(const Vector2<float>& point) const
{
    return GetLocation() + GetClientOrigin() + point;
}

// --- Update and drawing ----------------------------------------------------------------------

void CContainerControl::Update(float seconds)
{
    const ControlList snapshot = children_;
    for (const auto& child : snapshot) {
        child->Update(seconds);
    }
    CControl::Update(seconds);
}

void CContainerControl::Deactivate()
{
    const ControlList snapshot = children_;
    for (const auto& child : snapshot) {
        child->Deactivate();
    }
    CComponent::Deactivate();
}

void CContainerControl::Draw(canvas::CCanvas* canvas)
{
    if (!IsVisible() || !GetAppearance()) {
        return;
    }
    CControl::Draw(canvas);
    const CCanvasDepthGuard depths(*canvas);
    const canvas::Rect2f client = GetClientRect();
    if (IsLayoutEditMode() && IsFocused()) {
        canvas->PushBrush();
        canvas->GetBrush().SetBlendMode(canvas::CBrush::kBlendNormal);
        canvas->GetBrush().SetColor(Color4<float>(1.0f, 0.7f, 0.0f, 1.0f));
        canvas->DrawRect(client);
        canvas->PopBrush();
    }
    canvas->PushMatrix();
    canvas->MultiplyMatrix(canvas::MakeTranslation(client.left, client.top));
    canvas->PushClipRect();
    const Vector2<float> origin = LocalToScreen(Vector2<float>());
    canvas->IntersectClipRect(canvas::Rect2f(origin.x, origin.y, client.width, client.height));
    const ControlList snapshot = children_;
    for (const auto& child : snapshot) {
        CControl* control = dynamic_cast<CControl*>(child.get());
        if (!control) {
            continue;
        }
        const Vector2<float> location = control->GetLocation();
        canvas->PushMatrix();
        canvas->MultiplyMatrix(canvas::MakeTranslation(location.x, location.y));
        canvas->PushClipRect();
        canvas->SetClipOrigin(LocalToScreen(location));
        canvas->MultiplyMatrix(control->GetEffectTransform());
        canvas->PushBrush();
        canvas->GetBrush().SetColor(control->GetEffectColor());
        control->Draw(canvas);
        canvas->PopClipRect();
        canvas->PopBrush();
        canvas->PopMatrix();
    }
    canvas->PopClipRect();
    canvas->PopMatrix();
}

// --- Mouse -----------------------------------------------------------------------------------

CControl* CContainerControl::FindHitChild(const ControlList& children, const Vector2<float>& point)
{
    for (auto it = children.rbegin(); it != children.rend(); ++it) {
        CControl* control = dynamic_cast<CControl*>(it->get());
        if (control && control->IsEnabled() && control->IsVisible() && control->HitTest(point)) {
            return control;
        }
    }
    return this;
}

void CContainerControl::ReleasePressed(CControl* pressed, const ControlList& children,
                                       const Vector2<float>& clientPoint, int button)
{
    if (pressed == this) {
        CControl::OnMouseUp(clientPoint, button);
        return;
    }
    if (const boost::shared_ptr<CComponent> held = Holder(children, pressed)) {
        // A nested container would otherwise hit-test the point on its own and could click itself or
        // one of its children although the release landed on something else.
        struct Elsewhere
        {
            CContainerControl* container;
            ~Elsewhere()
            {
                if (container) {
                    container->releaseElsewhere_ = false;
                }
            }
        } elsewhere{dynamic_cast<CContainerControl*>(pressed)};
        if (elsewhere.container) {
            elsewhere.container->releaseElsewhere_ = true;
        }
        pressed->OnMouseUp(clientPoint - pressed->GetLocation(), button);
    }
}

void CContainerControl::OnMouseDown(const Vector2<float>& point, int button)
{
    const ControlList snapshot = children_;
    const Vector2<float> q = point - GetClientOrigin();
    if (CControl* lost = pressed_) {
        // A release that never came: the target hears it, but nothing is clicked, not even
        // this container.
        pressed_ = nullptr;
        ReleasePressed(lost, snapshot, q, button);
    }
    CControl* target = FindHitChild(snapshot, q);
    // Recorded before any handler runs, so a handler that removes the target also forgets it.
    pressed_ = target;
    if (target == this) {
        CControl::OnMouseDown(q, button);
        return;
    }
    const boost::shared_ptr<CComponent> held = Holder(snapshot, target);
    SetFocusedControl(target);
    target->OnMouseDown(q - target->GetLocation(), button);
}

void CContainerControl::OnMouseUp(const Vector2<float>& point, int button)
{
    const ControlList snapshot = children_;
    const Vector2<float> q = point - GetClientOrigin();
    // A release that landed elsewhere lands on nothing here: the pressed target hears it, nothing clicks.
    const bool elsewhere = releaseElsewhere_;
    releaseElsewhere_ = false;
    CControl* target = elsewhere ? nullptr : FindHitChild(snapshot, q);
    CControl* pressed = pressed_;
    pressed_ = nullptr;
    if (target != nullptr && target == pressed) {
        if (target == this) {
            CControl::OnMouseUp(q, button);
            OnClick();
            return;
        }
        const boost::shared_ptr<CComponent> held = Holder(snapshot, target);
        target->OnMouseUp(q - target->GetLocation(), button);
        // A nested container clicks itself from its own routing.
        if (!dynamic_cast<CContainerControl*>(target)) {
            target->OnClick();
        }
        return;
    }
    if (pressed) {
        ReleasePressed(pressed, snapshot, q, button);
    }
}

void CContainerControl::OnMouseMove(const Vector2<float>& point, int buttons)
{
    const ControlList snapshot = children_;
    const Vector2<float> q = point - GetClientOrigin();
    CControl* target = pressed_ ? pressed_ : FindHitChild(snapshot, q);
    if (target == this) {
        CControl::OnMouseMove(q, buttons);
        return;
    }
    if (const boost::shared_ptr<CComponent> held = Holder(snapshot, target)) {
        target->OnMouseMove(q - target->GetLocation(), buttons);
    }
}

bool CContainerControl::OnMouseWheel(const Vector2<float>& point, float delta)
{
    const ControlList snapshot = children_;
    const Vector2<float> q = point - GetClientOrigin();
    CControl* target = FindHitChild(snapshot, q);
    if (target != this) {
        const boost::shared_ptr<CComponent> held = Holder(snapshot, target);
        if (target->OnMouseWheel(q - target->GetLocation(), delta)) {
            return true;
        }
    }
    return MouseWheelEvent ? MouseWheelEvent(this, delta) : false;
}

void CContainerControl::OnWindowDeactivate()
{
    pressed_ = nullptr;
    const ControlList snapshot = children_;
    for (const auto& child : snapshot) {
        if (CControl* control = dynamic_cast<CControl*>(child.get())) {
            control->OnWindowDeactivate();
        }
    }
    CControl::OnWindowDeactivate();
}

// --- Keys ------------------------------------------------------------------------------------

void CContainerControl::RouteKey(unsigned int code, KeyHandler handler, KeyEvent event)
{
    const ControlList snapshot = children_;
    if (IsKeyPreview() || IsLayoutEditMode()) {
        const auto& own = this->*event;
        if (own) {
            own(this, code);
        }
    }
    const boost::shared_ptr<CControl> focused = GetFocusedControl();
    if (!focused) {
        return;
    }
    (focused.get()->*handler)(code);
    if (!IsGroupKeyBroadcast()) {
        return;
    }
    const std::int32_t group = focused->GetGroup();
    for (const auto& child : snapshot) {
        CControl* control = dynamic_cast<CControl*>(child.get());
        if (control && control != focused.get() && control->GetGroup() == group) {
            (control->*handler)(code);
        }
    }
}

void CContainerControl::OnChar(unsigned int code)
{
    RouteKey(code, &CControl::OnChar, &CControl::CharEvent);
}

void CContainerControl::OnKeyDown(unsigned int key)
{
    RouteKey(key, &CControl::OnKeyDown, &CControl::KeyDownEvent);
}

void CContainerControl::OnKeyUp(unsigned int key)
{
    RouteKey(key, &CControl::OnKeyUp, &CControl::KeyUpEvent);
}

} // namespace korvane::mwt
