/** @file NullAnimationComponent.cpp The animation that does nothing. */
#include "KorvaneXDK/mwt/NullAnimationComponent.h"

#include "KorvaneXDK/mwt/AnimationEffect.h"

namespace korvane::mwt
{

CNullAnimationComponent::CNullAnimationComponent() = default;

CNullAnimationComponent::~CNullAnimationComponent() = default;

void CNullAnimationComponent::Initialize()
{
    Update(0.0f);
}

void CNullAnimationComponent::Update(float) {}

bool CNullAnimationComponent::IsFinished() const
{
    return true;
}

bool CNullAnimationComponent::IsCompleted() const
{
    return true;
}

} // namespace korvane::mwt
