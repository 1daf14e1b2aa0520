/** @file Scene.h A unit of per-frame work with a priority, run by the scene manager. */
#pragma once

#include <cstdint>

#include <boost/enable_shared_from_this.hpp>

#include "KorvaneXDK/core/Object.h"

namespace korvane
{

/// Scenes are shared through boost::shared_ptr; deriving from enable_shared_from_this lets the
/// scene manager find an existing owner when it is handed a plain pointer.
class IScene : public IInterface, public boost::enable_shared_from_this<IScene>
{
public:
    ~IScene() override = default;

    /// Lower values are updated first.
    virtual std::uint16_t GetPriority() = 0;
    /// A scene that reports false is finalised and dropped by the manager.
    virtual bool IsActive() = 0;
    virtual void Initialize() = 0;
    virtual void Restore() = 0;
    virtual void Update(int frames) = 0;
    virtual void Finalize() = 0;
    virtual void SetActive(bool active) = 0;
    virtual void Deactivate() = 0;
};

} // namespace korvane
