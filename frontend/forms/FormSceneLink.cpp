/** @file FormSceneLink.cpp What the screens reach outside themselves. */
#include "frontend/forms/FormSceneLink.h"

#include "KorvaneXDK/core/Exception.h"
#include "KorvaneXDK/mwt/Screen.h"
#include "KorvaneXDK/platform/graphics/TextureCache.h"
#include "host/MegaWindowScene.h"
#include "host/ResourceScene.h"

namespace
{

struct LinkState
{
    korvane::mwt::CScreen* screen = nullptr;
    CFormSceneLink::SoundHandler sound;
    CFormSceneLink::PressReader press;
    CFormSceneLink::TextureLoader texture;
};

LinkState& State()
{
    static LinkState state;
    return state;
}

} // namespace

korvane::mwt::CScreen* CFormSceneLink::GetScreen()
{
    if (State().screen == nullptr) {
        throw korvane::EInvalidOperation(nullptr, "CFormSceneLink::GetScreen(): no screen");
    }
    return State().screen;
}

void CFormSceneLink::SetScreen(korvane::mwt::CScreen* screen)
{
    State().screen = screen;
}

void CFormSceneLink::SetWallpaper(const std::string& path)
{
    CMegaWindowScene::GetInstance()->SetWallpaper(path);
}

const std::string& CFormSceneLink::GetWallpaperPath()
{
    return CMegaWindowScene::GetInstance()->GetWallpaperPath();
}

void CFormSceneLink::PlaySound(EUiSound sound)
{
    if (State().sound) {
        State().sound(sound);
        return;
    }
    CResourceScene* scene = CResourceScene::GetInstance();
    switch (sound) {
    case EUiSound::Decide:
        scene->PlayDecideSound();
        break;
    case EUiSound::Cancel:
        scene->PlayCancelSound();
        break;
    case EUiSound::Cursor:
        scene->PlayCursorSound();
        break;
    case EUiSound::Pause:
        scene->PlayPauseSound();
        break;
    }
}

void CFormSceneLink::SetSoundHandler(SoundHandler handler)
{
    State().sound = std::move(handler);
}

bool CFormSceneLink::WasPressed(const std::string& action)
{
    if (State().press) {
        return State().press(action);
    }
    return CResourceScene::GetInstance()->GetController()->WasPressed(action);
}

void CFormSceneLink::SetPressReader(PressReader reader)
{
    State().press = std::move(reader);
}

korvane::CTextureCache* CFormSceneLink::GetFormCache()
{
    return &CResourceScene::GetInstance()->GetFormCache();
}

boost::shared_ptr<korvane::ITexture> CFormSceneLink::LoadTexture(korvane::CTextureCache* cache, const std::string& path)
{
    if (State().texture) {
        return State().texture(cache, path);
    }
    return cache->LoadSPWithDriverLoader(path, true, "", os::gfx::Format::Unknown);
}

void CFormSceneLink::SetTextureLoader(TextureLoader loader)
{
    State().texture = std::move(loader);
}

void CFormSceneLink::Reset()
{
    State() = LinkState();
}
