/** @file MainFormTestSupport.h The main form on an offscreen OpenGL device with the built data archive, the
 * manual audio backend, a screen it opens on and scripted games in place of the real ones. */
#pragma once

#include <chrono>
#include <future>

#include <boost/make_shared.hpp>
#include <gtest/gtest.h>

#include "KorvaneXDK/canvas/Canvas.h"
#include "KorvaneXDK/canvas/CanvasMath.h"
#include "KorvaneXDK/canvas/FontStock.h"
#include "KorvaneXDK/core/ArchiveFileDataLoader.h"
#include "KorvaneXDK/core/ArchiveFileLoader.h"
#include "KorvaneXDK/mwt/ControlAppearanceStock.h"
#include "KorvaneXDK/mwt/Screen.h"
#include "KorvaneXDK/platform/GameApplicationDriverCX.h"
#include "KorvaneXDK/platform/graphics/DXGraphics.h"
#include "KorvaneXDK/platform/graphics/ShaderEnvironment.h"
#include "KorvaneXDK/platform/graphics/ShaderPair.h"
#include "KorvaneXDK/platform/sound/DXSound.h"
#include "frontend/forms/FormSceneLink.h"
#include "frontend/forms/PauseForm.h"
#include "games/ScriptedGame.h"
#include "host/MainForm.h"
#include "host/ResourceScene.h"
#include "host/SaveDataFolder.h"
#include "host/SoundServices.h"
#include "os/audio/Testing.h"
#include "os/gfx/Device.h"
#include "os/gfx/ResultCodes.h"
#include "os/store/Store.h"
#include "os/store/StoreTesting.h"
#include "support/TempDir.h"

namespace mainform_test
{

/// A quarter of the virtual 1920 x 1080 screen.
constexpr std::uint32_t kDeviceWidth = 480;
constexpr std::uint32_t kDeviceHeight = 270;
constexpr float kFrame = 1.0f / 75.0f;

/// A main form whose games are scripted and whose texture locks can be made to fail.
class CTestMainForm : public CMainForm
{
public:
    using Frames = std::vector<games_test::CScriptedGameThread::Frame>;

    Frames frames;
    bool failLocks = false;
    bool failUnlock = false;
    double frameRate = 0.0;

protected:
    double GetMeasuredFrameRate() override { return frameRate; }
    boost::shared_ptr<CPausableThread> MakeQVR2Thread() override { return MakeGame(); }
    boost::shared_ptr<CPausableThread> MakeTessarilThread() override { return MakeGame(); }
    boost::shared_ptr<CPausableThread> MakeGame()
    {
        return boost::make_shared<games_test::CScriptedGameThread>(frames);
    }
    os::gfx::Result LockTexture(korvane::CTexture& texture, os::gfx::LockedRect& locked, std::uint32_t flags) override
    {
        return failLocks ? os::gfx::kErrInvalidCall : CMainForm::LockTexture(texture, locked, flags);
    }
    os::gfx::Result UnlockTexture(korvane::CTexture& texture) override
    {
        const os::gfx::Result result = CMainForm::UnlockTexture(texture);
        return failUnlock ? os::gfx::kErrInvalidCall : result;
    }
};

/// The program's side for the whole run: the driver on an offscreen device with the built
/// archive, the fonts and the skin in the process-wide registries, a sound device on the
/// manual backend and the resource scene initialised in English.
class MainFormEnvironment : public ::testing::Environment
{
public:
    void SetUp() override
    {
        os::testing::ResetAudioHooks();
        os::testing::UseManualAudioBackend(true);
        ASSERT_TRUE(korvane::CreateApplicationDriver(nullptr));
        korvane::CGameApplicationDriverCX* driver = korvane::GetApplicationDriver();
        ASSERT_TRUE(driver->InitializeGraphicsForTesting(kDeviceWidth, kDeviceHeight));
        boost::shared_ptr<korvane::IDataLoader> loader(new korvane::TArchiveFileDataLoader<korvane::CArchiveFileLoader>(
            std::string(KORVANE_BINARY_DIR) + "/bin/data.kva"));
        driver->SetDataLoader(loader);
        driver->CreateShaderEnvironment();
        auto fonts = korvane::canvas::CFontStock::GetInstance();
        fonts->LoadFonts(loader.get(), "fonts");
        fonts->AddAlias("default", "FONT12T2S");
        static korvane::CTextureCache skinCache;
        korvane::IDataLoader* source = loader.get();
        korvane::mwt::CControlAppearanceStock::GetInstance()->LoadAppearances(
            source, "skin", [source](const std::string& name) {
                return skinCache.Load(source, "skin\\" + name, true, "", os::gfx::Format::Unknown);
            });
        sound_ = std::make_unique<korvane::CDXSound>();
        ASSERT_TRUE(sound_->Initialize());
        host_testing::SetSoundDevice(sound_.get());
        static korvane::test::TempDir saves;
        SetSaveDataFolder(saves.Path());
        driver->SetDisplaySettingPath(saves.File("display_setting.ini"));
        os::testing::ResetStoreHooks();
        ASSERT_TRUE(os::store::Init());
        ReinitialiseScene("english");
    }
    void TearDown() override
    {
        delete CResourceScene::GetInstance();
        host_testing::SetSoundDevice(nullptr);
        sound_.reset();
        korvane::canvas::CFontStock::ReleaseInstance();
        korvane::DestroyApplicationDriver();
        os::store::Shutdown();
    }

    /// A fresh resource scene in the language the store reports ("japanese" or anything else).
    static void ReinitialiseScene(const std::string& storeLanguage)
    {
        delete CResourceScene::GetInstance();
        os::testing::SetStoreLanguage(storeLanguage);
        CResourceScene::GetInstance()->Initialize();
    }

private:
    std::unique_ptr<korvane::CDXSound> sound_;
};

class MainFormTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        screen = boost::make_shared<korvane::mwt::CScreen>("screen");
        screen->SetSize(korvane::Vector2<float>(1920.0f, 1080.0f));
        CFormSceneLink::Reset();
        CFormSceneLink::SetScreen(screen.get());
        CFormSceneLink::SetSoundHandler([this](EUiSound sound) { sounds.push_back(sound); });
    }

    void TearDown() override
    {
        screen->RemoveAllControls();
        form.reset();
        screen.reset();
        MusicRelease();
        CFormSceneLink::Reset();
    }

    /// A main form on the screen, opened (its OnCreate has run), with these game frames.
    void Open(CTestMainForm::Frames gameFrames = {})
    {
        form = boost::make_shared<CTestMainForm>();
        form->frames = std::move(gameFrames);
        screen->AddControl(form);
        Frames(2);
    }

    void Frame() { screen->Update(kFrame); }
    void Frames(int count)
    {
        for (int i = 0; i < count; ++i)
            Frame();
    }

    /// Runs frames until the form has closed and left the screen (its close animation is short).
    void FramesUntilGone(const boost::shared_ptr<korvane::mwt::CForm>& gone)
    {
        for (int i = 0; i < 300 && gone->GetParent() != nullptr; ++i)
            Frame();
    }

    template <typename TForm>
    std::vector<boost::shared_ptr<TForm>> FormsOf() const
    {
        std::vector<boost::shared_ptr<TForm>> found;
        for (const auto& child : screen->GetControls())
            if (auto f = boost::dynamic_pointer_cast<TForm>(child))
                found.push_back(f);
        return found;
    }

    /// How long a wait on the game thread or on the music may take before it fails the test.
    static constexpr std::chrono::seconds kPatience{20};

    /// Whether `ran` was set within kPatience: a game that never hands its frame over fails the
    /// test with a message instead of hanging it.
    ::testing::AssertionResult GameRan() const
    {
        if (ran.wait_for(kPatience) == std::future_status::ready)
            return ::testing::AssertionSuccess();
        return ::testing::AssertionFailure()
               << "the game thread did not hand its first frame over in " << kPatience.count() << " s";
    }

    /// A game of three frames: the first calls `body`; `ran` is set at the start of the second,
    /// once the first has been handed over.
    CTestMainForm::Frames OneFrameThen(std::function<void()> body)
    {
        auto done = std::make_shared<std::promise<void>>();
        ran = done->get_future().share();
        return {[body] { body(); }, [done] { done->set_value(); }, [] {}};
    }

    boost::shared_ptr<korvane::mwt::CScreen> screen;
    boost::shared_ptr<CTestMainForm> form;
    std::vector<EUiSound> sounds;
    std::shared_future<void> ran;
};

} // namespace mainform_test
