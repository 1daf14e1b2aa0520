/** @file Component.h The root of every object of the widget tree: controls and the animations attached to them. */
#pragma once

#include <string>

#include <boost/function.hpp>

#include "KorvaneXDK/core/Object.h"

namespace korvane::mwt
{

/// Knows its parent (a plain back pointer; the parent owns the component), can be switched
/// off, carries a name and raises an update and a deactivate event. Main thread only.
class CComponent : public virtual CNonCopyable
{
public:
    explicit CComponent(const std::string& name = std::string());
    ~CComponent() override;

    virtual void SetParent(CComponent* parent);
    virtual const CComponent* GetParent() const;
    virtual CComponent* GetParent();
    /// A switched-off component takes no mouse input and cannot take focus.
    virtual bool IsEnabled() const;
    virtual void SetEnabled(bool enabled);
    virtual const std::string& GetName() const;
    virtual void SetName(const std::string& name);
    /// Nothing here; containers call it on every component they add.
    virtual void Initialize();
    /// Raises UpdateEvent (this, seconds).
    virtual void Update(float seconds);
    /// Raises DeactivateEvent (this).
    virtual void Deactivate();

    /// Events are assigned directly by their owners; an empty one is skipped.
    boost::function<void(CComponent*, float)> UpdateEvent;
    boost::function<void(CComponent*)> DeactivateEvent;

private:
    CComponent* parent_ = nullptr;
    bool enabled_ = true;
    std::string name_;
};

} // namespace korvane::mwt
