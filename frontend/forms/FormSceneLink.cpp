/** @file FormSceneLink.cpp What the screens reach outside themselves: the front end's one way to the host. */
#include "frontend/forms/FormSceneLink.h"

#include "KorvaneXDK/core/Exception.h"
#include "KorvaneXDK/mwt/Screen.h"
#include "KorvaneXDK/platform/graphics/TextureCache.h"
#include "KorvaneXDK/platform/input/Controller.h"
#include "KorvaneXDK/platform/input/DXInput.h"
#include "frontend/forms/FormHelpers.h"
#include "frontend/forms/GameSelectForm.h"
#include "host/MainForm.h"
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

bool CFormSceneLink::IsHeld(const std::string& action)
{
    return CResourceScene::GetInstance()->GetController()->IsDown(action);
}

std::vector<korvane::IController*> CFormSceneLink::GetControllersOfType(std::int32_t type)
{
    std::vector<korvane::IController*> controllers;
    korvane::CDXInput* input = CResourceScene::GetInstance()->GetInput();
    if (input == nullptr) {
        return controllers;
    }
    const int count = input->GetControllerCount();
    for (int i = 0; i < count; ++i) {
        korvane::IController* controller = input->GetController(i).get();
        if (controller->GetDeviceType() == type) {
            controllers.push_back(controller);
        }
    }
    return controllers;
}

void CFormSceneLink::ResetKeyMapping(std::int32_t type)
{
    CResourceScene::GetInstance()->ResetKeyMapping(type);
}

void CFormSceneLink::InitializeAllData()
{
    CResourceScene::GetInstance()->InitializeAllData();
}

std::string CFormSceneLink::GetText(const std::string& key)
{
    return CResourceScene::GetInstance()->GetText(key);
}

std::uint8_t CFormSceneLink::GetMusicVersion()
{
    return CResourceScene::GetInstance()->GetMusicVersion();
}

void CFormSceneLink::SetMusicVersion(std::uint8_t version)
{
    CResourceScene::GetInstance()->SetMusicVersion(version);
}

std::int32_t CFormSceneLink::GetMusicVolume()
{
    return CResourceScene::GetInstance()->GetMusicVolume();
}

void CFormSceneLink::SetMusicVolume(std::int32_t volume)
{
    CResourceScene::GetInstance()->SetMusicVolume(volume);
}

std::int32_t CFormSceneLink::GetEffectVolume()
{
    return CResourceScene::GetInstance()->GetEffectVolume();
}

void CFormSceneLink::SetEffectVolume(std::int32_t volume)
{
    CResourceScene::GetInstance()->SetEffectVolume(volume);
}

std::int32_t CFormSceneLink::GetScreenRotation()
{
    return CMegaWindowScene::GetInstance()->GetScreenRotation();
}

void CFormSceneLink::SetScreenRotation(std::int32_t rotation)
{
    CMegaWindowScene::GetInstance()->SetScreenRotation(rotation);
}

std::int32_t CFormSceneLink::GetAspectRatio()
{
    return CMegaWindowScene::GetInstance()->GetAspectRatio();
}

void CFormSceneLink::SetAspectRatio(std::int32_t aspectRatio)
{
    CMegaWindowScene::GetInstance()->SetAspectRatio(aspectRatio);
}

void CFormSceneLink::StartGame(std::int32_t game)
{
    const boost::shared_ptr<CMainForm> form(new CMainForm());
    ShowForm(form);
    if (game == CGameSelectForm::kMainGame) {
        form->StartQVR2Game();
    } else {
        form->StartTessarilGame();
    }
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
