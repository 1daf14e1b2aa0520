/** @file AnimationComponentStock.h The registry of animations by name. */
#pragma once

#include <map>
#include <string>
#include <vector>

#include <boost/function.hpp>
#include <boost/shared_ptr.hpp>

#include "KorvaneXDK/core/Object.h"
#include "KorvaneXDK/mwt/AnimationComponent.h"

namespace korvane::mwt
{

/// Maps names (case-sensitive) to factories. A factory makes a new animation on every call,
/// named after the name it was registered under. One registry per process (GetInstance), made
/// on first use with the 27 built-in animations; registering later affects only later
/// GetFactory calls, while factories already handed out keep working. Main thread only.
class CAnimationComponentStock : public virtual CNonCopyable
{
public:
    using Factory = boost::function<boost::shared_ptr<CAnimationComponent>()>;

    /// An empty registry; GetInstance's is filled with the built-in animations.
    CAnimationComponentStock();
    ~CAnimationComponentStock() override;

    /// The process's registry, made and filled on the first call; it lives until exit.
    static boost::shared_ptr<CAnimationComponentStock> GetInstance();

    /// The 27 built-in animations, the first time only (later calls change nothing, even for a
    /// built-in name overwritten since).
    virtual void RegisterDefaultAnimations();
    /// A copy of the factory; EInvalidParameter "animation '<name>' not found" for a name not
    /// registered.
    virtual Factory GetFactory(const std::string& name) const;
    /// Every registered name, ascending.
    virtual std::vector<std::string> GetNames() const;
    /// Appends every registered name, ascending, to out (which is not cleared).
    virtual void GetNames(std::vector<std::string>& out) const;
    /// Stores a copy of the existing name's factory under the new name (replacing what was
    /// there); its animations keep the existing name. The existing name must be registered
    /// (the same error as GetFactory, nothing changes then).
    virtual void RegisterAlias(const std::string& newName, const std::string& existingName);

    /// A new animation by name: GetFactory(name)().
    boost::shared_ptr<CAnimationComponent> Create(const std::string& name) const;

    /// Stores under the name a factory of T (default-constructed) named with that name,
    /// overwriting any factory already there.
    template <typename T>
    void RegisterAnimation(const std::string& name)
    {
        Register(name, [] { return static_cast<CAnimationComponent*>(new T()); });
    }

private:
    void Register(const std::string& name, const boost::function<CAnimationComponent*()>& make);

    std::map<std::string, Factory> factories_;
    bool defaultsRegistered_ = false;
};

} // namespace korvane::mwt
