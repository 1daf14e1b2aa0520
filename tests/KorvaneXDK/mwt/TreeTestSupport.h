/** @file TreeTestSupport.h Widget-tree test helpers: an event log every control can write to, controls made with
 * their bounds, and an animation that reports what is done to it. */
#pragma once

#include <string>
#include <vector>

#include <boost/make_shared.hpp>
#include <boost/shared_ptr.hpp>

#include "KorvaneXDK/mwt/AnimationComponent.h"
#include "KorvaneXDK/mwt/ContainerControl.h"
#include "KorvaneXDK/mwt/Control.h"

namespace korvane::test
{

using Log = std::vector<std::string>;

inline std::string Point(const Vector2<float>& p)
{
    auto text = [](float v) {
        std::string s = std::to_string(v);
        s.erase(s.find_last_not_of('0') + 1);
        if (!s.empty() && s.back() == '.') {
            s.pop_back();
        }
        return s;
    };
    return "(" + text(p.x) + "," + text(p.y) + ")";
}

/// Every event of the control appends "<name> <event>[ <point>]" to the log.
inline void Wire(mwt::CControl& control, Log& log)
{
    const std::string name = control.GetName();
    control.ClickEvent = [&log, name](mwt::CControl*) { log.push_back(name + " click"); };
    control.MouseDownEvent = [&log, name](mwt::CControl*, Vector2<float> p, int) {
        log.push_back(name + " down " + Point(p));
    };
    control.MouseMoveEvent = [&log, name](mwt::CControl*, Vector2<float> p, int) {
        log.push_back(name + " move " + Point(p));
    };
    control.MouseUpEvent = [&log, name](mwt::CControl*, Vector2<float> p, int) {
        log.push_back(name + " up " + Point(p));
    };
    control.KeyDownEvent = [&log, name](mwt::CControl*, unsigned int) { log.push_back(name + " key"); };
    control.GotFocusEvent = [&log, name](mwt::CControl*) { log.push_back(name + " got"); };
    control.LostFocusEvent = [&log, name](mwt::CControl*) { log.push_back(name + " lost"); };
    control.UpdateEvent = [&log, name](mwt::CComponent*, float) { log.push_back(name + " update"); };
    if (auto* container = dynamic_cast<mwt::CContainerControl*>(&control)) {
        container->FocusChangedEvent = [&log, name](mwt::CControl* c) {
            log.push_back(name + " focus-changed " + c->GetName());
        };
    }
}

/// A control of class T with the given bounds, not yet added anywhere.
template <typename T = mwt::CControl>
boost::shared_ptr<T> Make(const std::string& name, float x, float y, float w, float h)
{
    auto control = boost::make_shared<T>(name);
    control->SetLocation(Vector2<float>(x, y));
    control->ApplySize(Vector2<float>(w, h));
    return control;
}

/// Adds a control of class T to the container and returns it.
template <typename T = mwt::CControl>
boost::shared_ptr<T> Add(mwt::CContainerControl& parent, const std::string& name, float x, float y, float w, float h)
{
    auto control = Make<T>(name, x, y, w, h);
    parent.AddControl(control);
    return control;
}

/// Logs "<name> init" and "<name> update"; completion is set by the test.
class FakeAnimation : public mwt::CAnimationComponent
{
public:
    FakeAnimation(const std::string& name, Log& log) : mwt::CAnimationComponent(name), log_(log) {}

    void Initialize() override { log_.push_back(GetName() + " init"); }
    void Update(float seconds) override { log_.push_back(GetName() + " update"); }
    bool IsFinished() const override { return completed; }
    bool IsCompleted() const override { return completed; }

    bool completed = false;

private:
    Log& log_;
};

} // namespace korvane::test
