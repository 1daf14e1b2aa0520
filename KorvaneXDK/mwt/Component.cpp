/** @file Component.cpp The root of the widget tree. */
#include "KorvaneXDK/mwt/Component.h"

namespace korvane::mwt
{

CComponent::CComponent(const std::string& name) : name_(name) {}

CComponent::~CComponent() = default;

void CComponent::SetParent(CComponent* parent)
{
    parent_ = parent;
}

const CComponent* CComponent::GetParent() const
{
    return parent_;
}

CComponent* CComponent::GetParent()
{
    return parent_;
}

bool CComponent::IsEnabled() const
{
    return enabled_;
}

void CComponent::SetEnabled(bool enabled)
{
    enabled_ = enabled;
}

const std::string& CComponent::GetName() const
{
    return name_;
}

void CComponent::SetName(const std::string& name)
{
    name_ = name;
}

void CComponent::Initialize() {}

void CComponent::Update(float seconds)
{
    if (UpdateEvent) {
        UpdateEvent(this, seconds);
    }
}

void CComponent::Deactivate()
{
    if (DeactivateEvent) {
        DeactivateEvent(this);
    }
}

} // namespace korvane::mwt
