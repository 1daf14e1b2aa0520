/** @file NullAnimationComponent.h The animation that does nothing. */
#pragma once

#include "KorvaneXDK/mwt/AnimationComponent.h"

namespace korvane::mwt
{

/// Registered as "NullAnimation": writes nothing and is finished from the start, so a form can drop a finished
/// closing animation for it.
class CNullAnimationComponent : public CAnimationComponent
{
public:
    CNullAnimationComponent();
    ~CNullAnimationComponent() override;

    /// Sets the motion up and shows its first frame at once (Update(0)).
    void Initialize() override;
    void Update(float seconds) override;
    bool IsFinished() const override;
    bool IsCompleted() const override;
};

} // namespace korvane::mwt
