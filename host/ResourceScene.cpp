/** @file ResourceScene.cpp The scene that owns the host's shared resources and ends every display frame. */
#include "host/ResourceScene.h"

#include <atomic>
#include <cstdio>
#include <mutex>

#include "KorvaneXDK/core/DataLoader.h"
#include "KorvaneXDK/core/Exception.h"
#include "KorvaneXDK/core/KorvaneStream.h"
#include "KorvaneXDK/core/Log.h"
#include "KorvaneXDK/core/ScopedLock.h"
#include "KorvaneXDK/platform/GameApplicationDriverCX.h"
#include "KorvaneXDK/platform/graphics/DXGraphics.h"
#include "KorvaneXDK/platform/graphics/DriverAccess.h"
#include "KorvaneXDK/platform/input/DXInput.h"
#include "KorvaneXDK/platform/sound/DXSound.h"
#include "KorvaneXDK/platform/sound/StaticSound.h"
#include "host/FrontEndTaskPool.h"
#include "host/MegaWindowScene.h"
#include "host/SaveDataFolder.h"
#include "host/SoundServices.h"
#include "os/gfx/Device.h"
#include "os/store/Apps.h"
#include "os/store/Store.h"

namespace
{

std::atomic<CResourceScene*> gInstance{nullptr};
std::atomic<korvane::CDXInput*> gTestInput{nullptr};
std::mutex gInstanceMutex;

constexpr std::uint32_t kClearTargetAndDepth = os::gfx::clear::Target | os::gfx::clear::ZBuffer;
constexpr std::uint32_t kSoundFlags = 0x80;

const char* const kActions[] = {
    "up",
    "down",
    "left",
    "right",
    "decide",
    "cancel",
    "x1",
    "x2",
    "x3",
    "x4",
    "a",
    "b",
    "start",
    "nextEffectTechnique",
    "previousEffectTechnique",
};

// Read by the interface but never among the fifteen ("pause" takes its keys from the preferences,
// "mode" and "cursor" have none): made up front so that no lookup has to create them while
// another thread reads the controller.
const char* const kLateActions[] = {"pause", "mode", "cursor"};

korvane::CGameApplicationDriverCX& RequireDriver(const korvane::CObject* sender)
{
    korvane::CGameApplicationDriverCX* driver = korvane::GetApplicationDriver();
    if (driver == nullptr)
        throw korvane::EInvalidOperation(sender, "No application driver.");
    return *driver;
}

} // namespace

CResourceScene* CResourceScene::GetInstance()
{
    if (CResourceScene* scene = gInstance.load(std::memory_order_acquire))
        return scene;
    std::lock_guard<std::mutex> lock(gInstanceMutex);
    if (CResourceScene* scene = gInstance.load(std::memory_order_acquire))
        return scene;
    auto* scene = new CResourceScene;
    gInstance.store(scene, std::memory_order_release);
    return scene;
}

CResourceScene::CResourceScene() : korvane::CStandardScene(kPriority), preferences_(*this) {}

CResourceScene::~CResourceScene()
{
    CResourceScene* self = this;
    gInstance.compare_exchange_strong(self, nullptr);
}

void CResourceScene::Initialize()
{
    korvane::CGameApplicationDriverCX& driver = RequireDriver(this);
    korvane::CDXGraphics* graphics = driver.GetGraphics();
    os::gfx::Device& device = korvane::RequireDriverDevice(this);
    const os::gfx::PresentParameters& parameters = graphics->GetCurrentPresentParameters();
    viewport_.Set(0, 0, parameters.BackBufferWidth, parameters.BackBufferHeight, 0.0f, 1.0f);
    viewport_.Apply();
    device.Clear(0, nullptr, kClearTargetAndDepth, 0xFF000000u, 1.0f, 0);

    RegisterInputActions();
    preferences_.ResetAllKeyMappings();
    preferences_.Load();
    preferencesLoaded_ = true;

    os::store::Apps* apps = os::store::GetApps();
    const std::string storeLanguage = apps != nullptr ? apps->GetCurrentGameLanguage() : "";
    korvane::LogInfo("Current game language == '" + storeLanguage + "'");
    language_ = LanguageOf(storeLanguage);

    korvane::IDataLoader& loader = korvane::RequireDriverDataLoader(this);
    {
        boost::shared_ptr<korvane::IKorvaneStream> table = loader.OpenShared("text_" + language_ + ".properties");
        texts_.LoadFromStream(*table);
    }
    formCache_.DirectoryPrecache(&loader, "formimage", false, false, "", os::gfx::Format::Unknown);

    LoadUiSound(sound3_, "se_qvr2\\05.wav");
    LoadUiSound(sound2_, "se_qvr2\\01.wav");
    LoadUiSound(sound1_, "se_qvr2\\06.wav");
    LoadUiSound(sound4_, "se_qvr2\\20.wav");
    LoadUiSound(sound5_, "se_qvr2\\16.wav");

    TaskPoolInit();
}

std::string CResourceScene::LanguageOf(const std::string& storeLanguage)
{
    return storeLanguage == "japanese" ? "ja" : "en";
}

void CResourceScene::LoadUiSound(boost::shared_ptr<korvane::ISound>& slot, const std::string& name)
{
    slot.reset(new korvane::CStaticSound(kSoundFlags, true));
    boost::shared_ptr<korvane::IKorvaneStream> stream = korvane::RequireDriverDataLoader(this).OpenShared(name);
    slot->Open(RequireSoundDevice(), *stream);
}

void CResourceScene::RegisterInputActions()
{
    korvane::CDXInput* input = GetInput();
    if (input == nullptr)
        return;
    const int count = input->GetControllerCount();
    for (int i = 0; i < count; ++i) {
        boost::shared_ptr<korvane::IController> device = input->GetController(i);
        for (const char* action : kActions) {
            const std::string name = action;
            const bool direction = name == "up" || name == "down" || name == "left" || name == "right";
            device->AddButton(name, direction ? "Move Up" : "");
        }
        for (const char* action : kLateActions)
            device->AddButton(action, "");
        controller_.AddController(device.get());
    }
}

void CResourceScene::Update(int)
{
    korvane::CDXGraphics* graphics = RequireDriver(this).GetGraphics();
    os::gfx::Device& device = korvane::RequireDriverDevice(this);
    TaskPoolRunAll();
    device.BeginScene();
    device.EndScene();
    graphics->CheckDevice();
    device.Clear(0, nullptr, kClearTargetAndDepth, 0xFF202020u, 1.0f, 0);
    os::store::RunCallbacks();
    // In the background the controllers keep their last state.
    if (IsWindowActive())
        PollController();
}

bool CResourceScene::IsWindowActive()
{
    korvane::CGameApplicationDriverCX* driver = korvane::GetApplicationDriver();
    korvane::CGameWindow* window = driver != nullptr ? driver->GetGameWindow() : nullptr;
    return window != nullptr && window->IsActive();
}

void CResourceScene::Shutdown()
{
    // A start that failed before the file was read leaves the user's file as it is.
    if (preferencesLoaded_)
        preferences_.Save();
    SoundReleaseAll();
}

korvane::CCriticalSection& CResourceScene::GetDisplayLock()
{
    return displayLock_;
}

korvane::CTextureCache& CResourceScene::GetFormCache()
{
    return formCache_;
}

korvane::IController* CResourceScene::GetController()
{
    return &controller_;
}

void CResourceScene::PollController()
{
    // The game thread polls the same controller under this lock; a lookup may insert a name.
    korvane::CScopedLock lock(displayLock_);
    controller_.Update();
}

korvane::CCamera& CResourceScene::GetCamera()
{
    return camera_;
}

void CResourceScene::ResetKeyMapping(std::int32_t type)
{
    switch (type) {
    case korvane::kControllerKeyboard:
        preferences_.ResetKeyboardMapping();
        break;
    case korvane::kControllerJoystick:
        preferences_.ResetDirectInputJoystickMapping();
        break;
    case korvane::kControllerXInput:
        preferences_.ResetXInputMapping();
        break;
    default:
        throw korvane::EInvalidParameter(this, "CResourceScene::ResetKeyMapping(): unsupported controller type");
    }
}

std::string CResourceScene::GetLanguage()
{
    return language_;
}

std::string CResourceScene::GetText(const std::string& key)
{
    return texts_.Get(key, "");
}

std::uint8_t CResourceScene::GetMusicVersion()
{
    return musicVersion_;
}

void CResourceScene::SetMusicVersion(std::uint8_t version)
{
    musicVersion_ = version;
}

void CResourceScene::InitializeAllData()
{
    PlaySoundAtEffectVolume(sound5_);
    preferences_.ResetAllKeyMappings();
    const std::string folder = GetSaveDataFolder();
    std::remove((folder + "QVR2.SAV").c_str());
    std::remove((folder + "tessaril.sav").c_str());
}

void CResourceScene::PlaySoundAtEffectVolume(boost::shared_ptr<korvane::ISound> sound)
{
    if (!sound)
        return;
    sound->SetVolumeScaled(EffectVolume);
    sound->Play();
}

void CResourceScene::PlayUiSound1()
{
    PlaySoundAtEffectVolume(sound1_);
}

void CResourceScene::PlayUiSound2()
{
    PlaySoundAtEffectVolume(sound2_);
}

void CResourceScene::PlayUiSound3()
{
    PlaySoundAtEffectVolume(sound3_);
}

void CResourceScene::PlayUiSound4()
{
    PlaySoundAtEffectVolume(sound4_);
}

korvane::CDXInput* CResourceScene::GetInput()
{
    if (korvane::CDXInput* input = gTestInput.load())
        return input;
    korvane::CGameApplicationDriverCX* driver = korvane::GetApplicationDriver();
    return driver != nullptr ? driver->GetInput() : nullptr;
}

korvane::CGraphicsModePreference& CResourceScene::GetGraphicsModePreference()
{
    return RequireDriver(this).GetGraphicsModePreference();
}

std::string CResourceScene::GetDisplaySettingPath()
{
    return RequireDriver(this).GetDisplaySettingPath();
}

std::string CResourceScene::GetSaveFolder()
{
    return GetSaveDataFolder();
}

std::int32_t CResourceScene::GetMusicVolume()
{
    return MusicVolume;
}

void CResourceScene::SetMusicVolume(std::int32_t volume)
{
    MusicSetVolume(volume);
}

std::int32_t CResourceScene::GetEffectVolume()
{
    return EffectVolume;
}

void CResourceScene::SetEffectVolume(std::int32_t volume)
{
    SoundSetEffectVolume(volume);
}

// The display settings belong to the window scene, which shows them. The values set last are
// kept here too: a start that fails after they were read loses the window scene, and saving must
// then write what was read rather than make a new scene and write its defaults.
std::int32_t CResourceScene::GetScreenRotation()
{
    if (CMegaWindowScene* scene = CMegaWindowScene::FindInstance())
        return scene->GetScreenRotation();
    return screenRotation_;
}

void CResourceScene::SetScreenRotation(std::int32_t rotation)
{
    screenRotation_ = rotation;
    CMegaWindowScene::GetInstance()->SetScreenRotation(rotation);
}

std::int32_t CResourceScene::GetAspectRatio()
{
    if (CMegaWindowScene* scene = CMegaWindowScene::FindInstance())
        return scene->GetAspectRatio();
    return aspectRatio_;
}

void CResourceScene::SetAspectRatio(std::int32_t aspect)
{
    aspectRatio_ = aspect;
    CMegaWindowScene::GetInstance()->SetAspectRatio(aspect);
}

void host_testing::SetInput(korvane::CDXInput* input)
{
    gTestInput = input;
}
