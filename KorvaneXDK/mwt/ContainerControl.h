/** @file ContainerControl.h A control holding an ordered list of children: routing, focus, docking, drawing. */
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include <boost/function.hpp>
#include <boost/shared_ptr.hpp>
#include <boost/weak_ptr.hpp>

#include "KorvaneXDK/mwt/Control.h"

namespace korvane::mwt
{

/// Children are owned, unique and in drawing order (first drawn first, hit-tested last);
/// their locations are in this container's client coordinates, whose origin is the client
/// rectangle's top-left corner. The focused child is held weakly, so a child that dies
/// elsewhere simply stops being focused. Components that are not controls take part only in
/// update, deactivation, naming and removal.
///
/// Mouse routing: the topmost enabled, visible child hit takes a press (else the container
/// itself), is focused and captures the moves until the release; a click needs the press and
/// the release on the same target. Keys and characters go to the focused child, preceded by
/// the container's own event with key preview (or in layout edit mode) and followed by the
/// focused child's group siblings with group broadcast. Update, Deactivate and the routing
/// work on a copy of the child list, so handlers may add and remove children. Main thread only.
class CContainerControl : public CControl
{
public:
    using ControlList = std::vector<boost::shared_ptr<CComponent>>;

    explicit CContainerControl(const std::string& name = std::string());
    /// Every child's parent becomes null.
    ~CContainerControl() override;

    /// Children first (on a copy of the list), then the control's own update.
    void Update(float seconds) override;
    /// Children first (on a copy of the list), then DeactivateEvent.
    void Deactivate() override;
    /// ApplySize, LayoutControls, then ResizeEvent.
    void SetSize(const Vector2<float>& size) override;
    /// The control's own got-focus handling, the focused child's OnGotFocus, then this
    /// container's FocusChangedEvent (this).
    void OnGotFocus() override;
    /// The focused child's OnLostFocus, then LostFocusEvent.
    void OnLostFocus() override;
    /// location + client origin + point.
    Vector2<float> LocalToParent(const Vector2<float>& point) const override;
    /// The control's own drawing, the orange client frame in layout edit mode when focused,
    /// then every child clipped to the client area.
    void Draw(canvas::CCanvas* canvas) override;
    void OnMouseDown(const Vector2<float>& point, int button) override;
    void OnMouseUp(const Vector2<float>& point, int button) override;
    void OnMouseMove(const Vector2<float>& point, int buttons) override;
    void OnWindowDeactivate() override;
    /// Bubbles: the child under the point first, then this container's own MouseWheelEvent.
    bool OnMouseWheel(const Vector2<float>& point, float delta) override;
    void OnChar(unsigned int code) override;
    void OnKeyDown(unsigned int key) override;
    void OnKeyUp(unsigned int key) override;

    /// Appends (once), sets the parent, Initialize (whose exception propagates with the child
    /// already in the list), lays out for it, and focuses it when nothing has focus.
    virtual void AddControl(boost::shared_ptr<CComponent> component);
    /// Hands the focus on when it was focused, then the parent becomes null.
    virtual void RemoveControl(CControl* control);
    /// No focus events.
    virtual void RemoveAllControls();
    virtual const ControlList& GetControls() const;
    /// Into the deepest, topmost container child under the point (client coordinates), at the point.
    virtual void AddControlAt(boost::shared_ptr<CComponent> component, const Vector2<float>& point);
    /// The child's shared pointer, or empty when it is not a child.
    virtual boost::shared_ptr<CComponent> FindControl(const CComponent* control) const;
    /// The first direct child with exactly that name.
    virtual boost::shared_ptr<CComponent> FindControlByName(const std::string& name) const;
    /// To the end of the list (top), then UpdateLayoutFor.
    virtual void BringControlToFront(CControl* control);
    /// To the front of the list (bottom), then UpdateLayoutFor.
    virtual void SendControlToBack(CControl* control);
    /// For a child that CanFocus (or in layout edit mode): lost focus to the old, got focus to
    /// the new; focusing the focused child again raises nothing.
    virtual void SetFocusedControl(CControl* control);
    /// Forgets the focused child without raising anything.
    virtual void ClearFocusedControl();
    virtual bool IsFocusedControl(const CControl* control) const;
    virtual boost::shared_ptr<CControl> GetFocusedControl() const;
    /// The innermost focused control through nested containers (empty when a focused
    /// container has no focused child).
    virtual boost::shared_ptr<CControl> GetFocusedLeaf() const;
    /// Focus order: children that CanFocus, sorted stably by location y, then x. Next and
    /// previous move inside a focused nested container first, run off its end to the outer
    /// sibling, and wrap only at the container called; with no focused child they return
    /// empty. First and last descend into nested containers. Each returns the focused leaf.
    virtual boost::shared_ptr<CControl> FocusNext();
    virtual boost::shared_ptr<CControl> FocusPrevious();
    virtual boost::shared_ptr<CControl> FocusFirst();
    virtual boost::shared_ptr<CControl> FocusLast();
    /// Docks the visible children: top and bottom, then left and right, then fill (5) into
    /// what is left and fill-all (6) into the whole client area.
    virtual void LayoutControls();
    /// LayoutControls when the component is a child control with a dock value of 1 to 6.
    virtual void UpdateLayoutFor(CComponent* component);
    /// The appearance's client rectangle, else {0, 0, w, h}.
    virtual canvas::Rect2f GetClientRect() const;
    virtual void SetDockPadding(std::int32_t padding);
    virtual std::int32_t GetDockPadding() const;
    virtual void SetKeyPreview(bool preview);
    virtual bool IsKeyPreview() const;
    virtual void SetGroupKeyBroadcast(bool broadcast);
    virtual bool IsGroupKeyBroadcast() const;

    /// Raised with the control that got the focus, for any focus change at or below here.
    boost::function<void(CControl*)> FocusChangedEvent;

protected:
    /// The list itself, for containers that order their children by their own rules.
    ControlList& GetChildList() { return children_; }
    /// The child under the point (client coordinates) in the list given, or this container.
    CControl* FindHitChild(const ControlList& children, const Vector2<float>& point);
    /// The top-left corner of the client rectangle.
    Vector2<float> GetClientOrigin() const;

private:
    using KeyHandler = void (CControl::*)(unsigned int);
    using KeyEvent = boost::function<void(CControl*, unsigned int)> CControl::*;

    void RouteKey(unsigned int code, KeyHandler handler, KeyEvent event);
    /// Delivers a release to the recorded pressed target without clicking it; a pressed container
    /// hands it on to its own pressed target, again without a click.
    void ReleasePressed(CControl* pressed, const ControlList& children, const Vector2<float>& clientPoint, int button);
    std::vector<boost::shared_ptr<CControl>> GetFocusCandidates() const;
    boost::shared_ptr<CControl> WalkCandidates(const std::vector<boost::shared_ptr<CControl>>& candidates,
                                               std::size_t begin, std::size_t end, bool forward);
    boost::shared_ptr<CControl> MoveFocus(bool forward, bool wrap);

    ControlList children_;
    boost::weak_ptr<CComponent> focused_;
    CControl* pressed_ = nullptr;
    /// Set by the parent while it hands this container a release that landed elsewhere.
    bool releaseElsewhere_ = false;
    std::int32_t dockPadding_ = 0;
    bool keyPreview_ = false;
    bool groupKeyBroadcast_ = false;
};

} // namespace korvane::mwt
