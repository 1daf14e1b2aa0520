/** @file AnimationComponent.h The base of every animation a control runs. */
#pragma once

#include <string>

#include "KorvaneXDK/mwt/Component.h"

namespace korvane::mwt
{

/// A component whose parent is the control it animates. Its Update advances it by the frame's
/// seconds and writes the control's effect transform and effect colour; CControl::Update calls
/// it once a frame, after re-creating a completed looping animation from the control's
/// AnimationFactory.
class CAnimationComponent : public CComponent
{
public:
    explicit CAnimationComponent(const std::string& name = std::string()) : CComponent(name) {}
    ~CAnimationComponent() override = default;

    /// The motion has reached its end.
    virtual bool IsFinished() const = 0;
    /// The animation has nothing left to do (a looping factory then makes a new one).
    virtual bool IsCompleted() const = 0;
};

} // namespace korvane::mwt
