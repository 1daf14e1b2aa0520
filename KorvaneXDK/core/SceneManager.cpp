/** @file SceneManager.cpp The frame pass over the scenes. */
#include "KorvaneXDK/core/SceneManager.h"

#include <algorithm>
#include <exception>

#include "KorvaneXDK/core/Exception.h"
#include "KorvaneXDK/core/ExceptionReport.h"
#include "KorvaneXDK/core/FrameRateKeeper.h"
#include "KorvaneXDK/core/Log.h"
#include "KorvaneXDK/core/TypeName.h"

namespace korvane
{

CSceneManager::~CSceneManager()
{
    // Shutdown work (saving the preferences and settings) happens in Finalize: one scene that
    // fails must not keep the others from finishing theirs.
    for (const ScenePtr& scene : SceneList(scenes_)) {
        try {
            scene->Finalize();
        } catch (const EException& e) {
            LogEngineException(e);
        } catch (const std::exception& e) {
            LogErrorF("Scene finalization failed: %s: %s", GetRuntimeClassName(*scene).c_str(), e.what());
        } catch (...) {
            LogErrorF("Scene finalization failed: %s: unknown exception", GetRuntimeClassName(*scene).c_str());
        }
    }
    scenes_.clear();
    queue_.clear();
}

void CSceneManager::OnFrame(CFrameRateKeeper* keeper, int frames)
{
    if (scenesAdded_) {
        scenesAdded_ = false;
        frames = 1;
        if (keeper)
            keeper->frameInterval = 0;
    }

    // Walk a copy: an update may queue scenes or hold the last other reference to one.
    const SceneList walk = scenes_;
    for (const ScenePtr& scene : walk) {
        if (scene->IsActive())
            scene->Update(frames);
    }

    for (;;) {
        SceneList inactive;
        for (const ScenePtr& scene : scenes_) {
            if (!scene->IsActive())
                inactive.push_back(scene);
        }
        if (inactive.empty())
            break;
        for (const ScenePtr& scene : inactive) {
            scene->Finalize();
            auto found = std::find(scenes_.begin(), scenes_.end(), scene);
            if (found != scenes_.end())
                scenes_.erase(found);
        }
    }

    while (!queue_.empty()) {
        std::deque<ScenePtr> taken;
        taken.swap(queue_);
        for (const ScenePtr& scene : taken) {
            Insert(scene);
            scene->Initialize();
            scene->Restore();
        }
        scenesAdded_ = true;
    }
}

void CSceneManager::Insert(const ScenePtr& scene)
{
    const std::uint16_t priority = scene->GetPriority();
    auto position = std::upper_bound(scenes_.begin(), scenes_.end(), priority,
                                     [](std::uint16_t value, const ScenePtr& s) { return value < s->GetPriority(); });
    scenes_.insert(position, scene);
}

void CSceneManager::AddScene(const ScenePtr& scene)
{
    if (scene)
        queue_.push_back(scene);
}

void CSceneManager::AddScene(IScene* scene)
{
    if (!scene)
        return;
    // Wrapping a scene that is already owned would give it two owners and delete it twice.
    ScenePtr owner = scene->weak_from_this().lock();
    if (!owner)
        owner = ScenePtr(scene);
    queue_.push_back(owner);
}

void CSceneManager::Clear()
{
    for (const ScenePtr& scene : SceneList(scenes_))
        scene->Finalize();
    scenes_.clear();
    queue_.clear();
}

void CSceneManager::RestoreAll()
{
    for (const ScenePtr& scene : SceneList(scenes_))
        scene->Restore();
}

void CSceneManager::InitializeAll()
{
    for (const ScenePtr& scene : SceneList(scenes_))
        scene->Initialize();
}

void CSceneManager::FinalizeAll()
{
    for (const ScenePtr& scene : SceneList(scenes_))
        scene->Finalize();
}

const CSceneManager::SceneList& CSceneManager::GetScenes() const
{
    return scenes_;
}

CSceneManager::ScenePtr CSceneManager::FindScene(IScene* scene) const
{
    for (const ScenePtr& entry : scenes_) {
        if (entry.get() == scene)
            return entry;
    }
    return ScenePtr();
}

void CSceneManager::DumpSceneList() const
{
    LogInfoF("< Scene list dump >");
    for (const ScenePtr& scene : scenes_)
        LogInfoF("\t%04X: %s", static_cast<unsigned>(scene->GetPriority()), GetRuntimeClassName(*scene).c_str());
    LogInfoF("\t.");
}

} // namespace korvane
