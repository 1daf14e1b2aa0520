/** @file SceneManager.h Keeps the live scenes in priority order and runs them once per frame. */
#pragma once

#include <deque>
#include <vector>

#include <boost/shared_ptr.hpp>

#include "KorvaneXDK/core/FrameTimerListener.h"
#include "KorvaneXDK/core/Object.h"
#include "KorvaneXDK/core/Scene.h"

namespace korvane
{

/// The frame listener of the frame-rate keeper. Each pass updates the active scenes in ascending
/// priority, finalises and drops the scenes that turned inactive, then initialises and restores
/// the scenes queued since. Main thread only; the pass writes nothing to the log.
class CSceneManager : public IFrameTimerListener, public virtual CNonCopyable
{
public:
    using ScenePtr = boost::shared_ptr<IScene>;
    /// Ascending priority; equal priorities in the order they entered; a scene may be there twice.
    using SceneList = std::vector<ScenePtr>;

    CSceneManager() = default;
    /// Finalises every scene; a failing Finalize is logged and the others still run.
    ~CSceneManager() override;

    void OnFrame(CFrameRateKeeper* keeper, int frames) override;
    /// Queues the scene; it enters at the next frame pass.
    virtual void AddScene(const ScenePtr& scene);
    /// Queues a scene given by plain pointer. When a shared pointer already owns it (the manager's
    /// or anybody's), that ownership is shared; otherwise the manager takes ownership.
    virtual void AddScene(IScene* scene);
    /// Finalises every scene of the set (active or not), empties it, and drops queued scenes uncalled.
    virtual void Clear();
    virtual void RestoreAll();
    virtual void InitializeAll();
    virtual void FinalizeAll();
    virtual const SceneList& GetScenes() const;
    /// The set's pointer holding this scene (the first in set order), or an empty pointer.
    virtual ScenePtr FindScene(IScene* scene) const;
    virtual void DumpSceneList() const;

    /// Queued scenes that have not entered yet.
    std::size_t GetQueuedCount() const { return queue_.size(); }

private:
    void Insert(const ScenePtr& scene);

    bool scenesAdded_ = false;
    SceneList scenes_;
    std::deque<ScenePtr> queue_;
};

} // namespace korvane
