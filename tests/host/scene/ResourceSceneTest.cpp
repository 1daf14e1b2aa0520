/** @file ResourceSceneTest.cpp The resource scene on an offscreen device, the manual audio backend, real
 * controllers and a packed archive. */

#include <set>

#include "../HostArchive.h"
#include "../HostTestSupport.h"
#include "KorvaneXDK/core/SceneManager.h"
#include "KorvaneXDK/platform/graphics/DXGraphics.h"
#include "KorvaneXDK/platform/input/DXInput.h"
#include "KorvaneXDK/platform/sound/DXSound.h"
#include "host/FrontEndTaskPool.h"
#include "host/MegaWindowScene.h"
#include "host/SaveDataFolder.h"
#include "host/SoundServices.h"
#include "os/audio/Testing.h"
#include "os/gfx/Device.h"
#include "os/store/Store.h"
#include "os/store/StoreTesting.h"
#include "support/ExpectThrow.h"
#include "support/InputTestSupport.h"

namespace
{

using korvane::test::LogCapture;

std::uint32_t BackBufferPixel()
{
    std::vector<std::uint32_t> pixels;
    korvane::GetApplicationDriver()->GetGraphics()->GetDevice()->ReadBackBuffer(&pixels, nullptr, nullptr);
    return pixels.empty() ? 0 : pixels.front();
}

std::uint32_t gPixelInTask = 0; ///< the back buffer as a pool task saw it when it last ran

class ResourceSceneTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(sdl.Ok());
        os::testing::ResetAudioHooks();
        os::testing::UseManualAudioBackend(true);
        ASSERT_TRUE(sound.Initialize());
        host_testing::SetSoundDevice(&sound);
        ASSERT_TRUE(input->Initialize(true));
        host_testing::SetInput(input.get());
        os::testing::ResetStoreHooks();
        ASSERT_TRUE(os::store::Init());
        SetSaveDataFolder(archive.dir.Path());

        archive.Add("text_en.properties", "greeting=Hello\r\n;note=skipped\r\n");
        archive.Add("text_ja.properties", "greeting=Konnichiwa\r\n");
        for (const char* name : {"05", "01", "06", "20", "16"}) // the interface sounds
            archive.Add("se_qvr2/" + std::string(name) + ".wav", host_test::MakeWave(11025, 64));
        ASSERT_NO_FATAL_FAILURE(archive.Pack());
        korvane::GetApplicationDriver()->SetDisplaySettingPath(archive.dir.File("display_setting.ini"));
        ASSERT_TRUE(korvane::GetApplicationDriver()->InitializeGraphicsForTesting(64, 48));
    }
    void TearDown() override
    {
        delete CResourceScene::GetInstance();
        korvane::DestroyApplicationDriver();
        os::store::Shutdown();
        os::testing::ResetStoreHooks();
        host_testing::SetInput(nullptr);
        host_testing::SetSoundDevice(nullptr);
        input->Finalize();
        sound.Finalize();
        SetSaveDataFolder("");
        os::testing::ResetAudioHooks();
    }
    /// A fresh scene, initialised with the store reporting `language`.
    CResourceScene& Start(const std::string& language = "english")
    {
        os::testing::SetStoreLanguage(language);
        CResourceScene::GetInstance()->Initialize();
        return *CResourceScene::GetInstance();
    }
    /// The types of the devices that bind "mode" in any slot; `seen` gains the type of every device looked at.
    std::set<int> TypesBindingMode(std::set<int>* seen = nullptr)
    {
        std::set<int> bound;
        for (int i = 0; i < input->GetControllerCount(); ++i) {
            const auto device = input->GetController(i);
            if (seen != nullptr)
                seen->insert(device->GetDeviceType());
            for (int slot = 0; slot < korvane::kMappingSlotCount; ++slot)
                if (device->GetMapping("mode", slot) != korvane::kNoInput)
                    bound.insert(device->GetDeviceType());
        }
        return bound;
    }
    /// Activation as the window system reports it (a window takes messages once shown).
    void SetWindowActive(bool active)
    {
        korvane::GetApplicationDriver()->GetGameWindow()->ShowNoActivate();
        os::window::SendMessage(korvane::GetApplicationDriver()->GetGameWindow()->GetHandle(), os::window::WM_ACTIVATE,
                                active ? os::window::WA_ACTIVE : os::window::WA_INACTIVE, 0);
    }

    korvane::test::JoystickSubsystem sdl;
    korvane::test::VirtualJoystick stick =
        korvane::test::VirtualJoystick::Stick(0x1234, 0x0001, "Scene Test Stick", 2, 4, 0);
    korvane::CDXSound sound;
    std::unique_ptr<korvane::CDXInput> input = std::make_unique<korvane::CDXInput>(nullptr, nullptr);
    host_test::HostArchive archive;
};

// The store's language chooses the text table; the key maps reset by controller type; the update, the data reset and
// the finalisation.
TEST_F(ResourceSceneTest, LanguagesKeyMapsUpdateDataResetFinalizeAndTheRequiredEnglishTable)
{
    LogCapture log;
    CResourceScene& japanese = Start("japanese");
    EXPECT_EQ(std::pair(std::string("ja"), std::string("Konnichiwa")),
              std::pair(japanese.GetLanguage(), japanese.GetText("greeting")));
    EXPECT_TRUE(LogCapture::Contains("Current game language == 'japanese'")) << LogCapture::All();
    delete &japanese;

    CResourceScene& scene = Start("english");
    EXPECT_EQ(std::pair(std::string("en"), std::string("Hello")),
              std::pair(scene.GetLanguage(), scene.GetText("greeting")));
    // Missing, case-sensitive keys, and comment lines.
    for (const char* key : {"missing", "Greeting", ";note"})
        EXPECT_EQ("", scene.GetText(key)) << key;
    for (const char* other : {"Japanese", "", "japanese "})
        EXPECT_EQ("en", CResourceScene::LanguageOf(other)) << other;

    EXPECT_EQ(korvane::kControllerMerged, scene.GetController()->GetDeviceType());
    std::set<int> types;
    EXPECT_EQ(std::set<int>{}, TypesBindingMode(&types));
    EXPECT_TRUE(types.count(korvane::kControllerKeyboard) && types.count(korvane::kControllerJoystick) &&
                types.count(korvane::kControllerXInput))
        << "a keyboard, a joystick and a pad were looked at";
    const char* devices[] = {": DirectInput Keyboard Device", ": DirectInput Joystick Device", ": XInput Device"};
    for (const auto& [type, device] : {std::pair(0, 0), std::pair(1, 1), std::pair(3, 2)}) { // type, device logged
        LogCapture mapping;
        scene.ResetKeyMapping(type);
        for (int other = 0; other < 3; ++other)
            EXPECT_EQ(other == device, LogCapture::Contains(devices[other])) << type << "\n" << LogCapture::All();
    }
    // "mode" has no key on any device, after the start and after the resets alike.
    EXPECT_EQ(std::set<int>{}, TypesBindingMode());
    for (std::int32_t type : {2, 4, -1})
        korvane::test::ExpectError<korvane::EInvalidParameter>(
            [&] { scene.ResetKeyMapping(type); }, "CResourceScene::ResetKeyMapping(): unsupported controller type",
            "class CResourceScene");

    // The pool runs before the frame is presented, the devices are polled only while the window is active;
    // resetting all data (with and without saves) and finalising.
    host_test::CHeldKeysController device;
    scene.GetMergedController().AddController(&device);
    EXPECT_EQ(0xFF000000u, BackBufferPixel()) << "initialisation clears to black";
    TaskPoolAlloc([](FrontEndTask* task) { gPixelInTask = task->FirstCall ? gPixelInTask : BackBufferPixel(); });
    SetWindowActive(false);
    scene.Update(1);
    // The pool runs before the frame is presented and cleared; no poll in the background.
    EXPECT_EQ(std::tuple(0xFF000000u, 0xFF202020u, 0), std::tuple(gPixelInTask, BackBufferPixel(), device.updates));
    SetWindowActive(true);
    scene.Update(1);
    EXPECT_EQ(std::pair(1, 0xFF202020u), std::pair(device.updates, gPixelInTask));

    for (bool saves : {true, false}) {
        if (saves) {
            archive.dir.Write("QVR2.SAV", "main");
            archive.dir.Write("tessaril.sav", "companion");
        }
        scene.SetMusicVersion(0);
        SoundSetEffectVolume(-1200);
        int volumes = 0;
        os::testing::SetVolumeObserver([&](const os::audio::SoundBuffer&, std::int32_t) { ++volumes; });
        LogCapture reset;
        scene.InitializeAllData();
        os::testing::SetVolumeObserver({});
        // The data-reset sound at the effect volume, the key maps reset, the music version and no saves left.
        EXPECT_EQ(std::tuple(true, true, 1, false),
                  std::tuple(volumes > 0, LogCapture::Contains(": DirectInput Keyboard Device"),
                             scene.GetMusicVersion(),
                             korvane::FileExists(archive.dir.File("QVR2.SAV")) ||
                                 korvane::FileExists(archive.dir.File("tessaril.sav"))));
    }
    SoundSetEffectVolume(0);

    // Finalising saves the preferences and releases the sounds.
    MusicSetVolume(-4000);
    scene.Finalize();
    EXPECT_EQ(std::pair(true, std::size_t{0}),
              std::pair(korvane::FileExists(archive.dir.File("preference.dat")), SoundGetEffectCount()));
    MusicSetVolume(0);

    // Without the English table the start is fatal.
    delete &scene;
    korvane::DestroyApplicationDriver();
    host_test::HostArchive bare;
    bare.Add("text_ja.properties", "greeting=Konnichiwa\r\n");
    ASSERT_NO_FATAL_FAILURE(bare.Pack());
    ASSERT_TRUE(korvane::GetApplicationDriver()->InitializeGraphicsForTesting(64, 48));
    EXPECT_EQ("file entry not found: \"text_en.properties\"", korvane::test::MessageOf([this] { Start(); }));
}

// A start that fails after the preference file was read (here: no text table) loses the window scene unfinished;
// shutting down then saves the display keys that were read, and makes no new window scene to ask for them.
TEST_F(ResourceSceneTest, AStartFailingAfterTheSettingsWereReadSavesTheDisplayKeysThatWereRead)
{
    korvane::DestroyApplicationDriver();
    host_test::HostArchive bare;
    bare.Add("text_ja.properties", "greeting=Konnichiwa\r\n");
    ASSERT_NO_FATAL_FAILURE(bare.Pack());
    ASSERT_TRUE(korvane::GetApplicationDriver()->InitializeGraphicsForTesting(64, 48));
    const std::string settings =
        archive.dir.Write("display_setting.ini", "ScreenRotation=3\r\nScreenAspectRatio=2\r\n");
    korvane::GetApplicationDriver()->SetDisplaySettingPath(settings);
    korvane::GetApplicationDriver()->GetGraphicsModePreference().Load(settings);
    {
        korvane::CSceneManager manager;
        manager.AddScene(CResourceScene::GetInstance());
        manager.AddScene(CMegaWindowScene::GetInstance());
        EXPECT_THROW(manager.OnFrame(nullptr, 1), korvane::EFileOpenError);
    }
    const std::string saved = korvane::test::TempDir::Read(settings);
    EXPECT_EQ(std::tuple(true, true, false), std::tuple(saved.find("ScreenRotation=3") != std::string::npos,
                                                        saved.find("ScreenAspectRatio=2") != std::string::npos,
                                                        CMegaWindowScene::FindInstance() != nullptr))
        << saved;
}

} // namespace
