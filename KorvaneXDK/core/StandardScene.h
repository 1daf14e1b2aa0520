/** @file StandardScene.h The base of concrete scenes: a priority, an active flag and empty steps. */
#pragma once

#include <cstdint>

#include "KorvaneXDK/core/Object.h"
#include "KorvaneXDK/core/Scene.h"

namespace korvane
{

class CStandardScene : public IScene, public virtual CNonCopyable
{
public:
    explicit CStandardScene(std::uint16_t priority = 0) : priority_(priority) {}
    ~CStandardScene() override = default;

    std::uint16_t GetPriority() override { return priority_; }
    bool IsActive() override { return active_; }
    void Initialize() override {}
    void Restore() override {}
    void Update(int) override {}
    void Finalize() override {}
    void SetActive(bool active) override { active_ = active; }
    void Deactivate() override { SetActive(false); }

protected:
    void SetPriority(std::uint16_t priority) { priority_ = priority; }

private:
    bool active_ = true;
    std::uint16_t priority_;
};

} // namespace korvane
