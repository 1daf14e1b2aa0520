/** @file DeviceLossTest.cpp The lost-device state machine, resets and the states they restore. */
#include "GfxFixture.h"

namespace gfxtest
{
namespace
{

using os::gfx::kErrDeviceLost;
using os::gfx::kErrDeviceNotReset;
using os::gfx::kErrInvalidCall;
using os::gfx::kOk;
using os::gfx::RenderState;
using os::gfx::SamplerState;
namespace value = os::gfx::value;

TEST_F(GfxTest, InjectedLossTurnsResettableAfterTheGivenNumberOfTests)
{
    os::testing::InjectDeviceLoss(2);
    os::testing::FailNextReset(1); // kept for the first reset the device can take
    EXPECT_EQ(kErrDeviceLost, device->Present());
    EXPECT_EQ(kErrDeviceLost, device->TestCooperativeLevel());
    EXPECT_EQ(kErrDeviceLost, device->Reset(&parameters)); // not yet resettable
    EXPECT_EQ(kErrDeviceLost, device->TestCooperativeLevel());
    EXPECT_EQ(kErrDeviceNotReset, device->TestCooperativeLevel());
    EXPECT_EQ(kErrDeviceLost, device->Present());
    EXPECT_EQ(kErrDeviceNotReset, device->TestCooperativeLevel());
    // Draws and clears are ignored while lost.
    EXPECT_EQ(kOk, device->Clear(0, nullptr, os::gfx::clear::Target, 0xFFFF0000u, 1.0f, 0));
    EXPECT_EQ(kOk, DrawQuad(0, 0, 4, 4, 0xFFFF0000u));
    EXPECT_EQ(kErrInvalidCall, device->Reset(&parameters));
    EXPECT_EQ(kErrDeviceNotReset, device->TestCooperativeLevel());
    ASSERT_EQ(kOk, device->Reset(&parameters));
    EXPECT_EQ(kOk, device->TestCooperativeLevel());
    EXPECT_EQ(kOk, device->Present());
}

TEST_F(GfxTest, FailedResetLeavesTheDeviceResettable)
{
    os::testing::FailNextReset(1);
    EXPECT_EQ(kErrInvalidCall, device->Reset(&parameters));
    EXPECT_EQ(kErrDeviceNotReset, device->TestCooperativeLevel());
    EXPECT_EQ(kErrDeviceLost, device->Present());
    EXPECT_EQ(kOk, device->Reset(&parameters));
    EXPECT_EQ(kOk, device->Present());
    EXPECT_EQ(2, os::testing::GetResetCallCount());
}

TEST_F(GfxTest, DevicesMadeAfterALossAreNotLost)
{
    os::testing::InjectDeviceLoss(0);
    device.reset();
    os::gfx::PresentParameters p = WindowedParameters(16, 16, window.get());
    ASSERT_EQ(kOk, direct3D->CreateDeviceEx(0, os::gfx::DeviceType::Hal, window.get(),
                                            os::gfx::create::HardwareVertexProcessing, &p, nullptr, &device));
    EXPECT_EQ(kOk, device->TestCooperativeLevel());
}

TEST_F(GfxTest, ResetRestoresDirect3DDefaultsAndResizes)
{
    std::uint32_t v = 0;
    ASSERT_EQ(kOk, device->GetRenderState(RenderState::ZEnable, &v));
    EXPECT_EQ(value::ZBufferTrue, v);
    ASSERT_EQ(kOk, device->GetRenderState(RenderState::ZFunc, &v));
    EXPECT_EQ(value::CmpLessEqual, v);
    ASSERT_EQ(kOk, device->GetRenderState(RenderState::CullMode, &v));
    EXPECT_EQ(value::CullCCW, v);
    ASSERT_EQ(kOk, device->GetRenderState(RenderState::SrcBlend, &v));
    EXPECT_EQ(value::BlendOne, v);
    ASSERT_EQ(kOk, device->GetRenderState(RenderState::DestBlend, &v));
    EXPECT_EQ(value::BlendZero, v);
    ASSERT_EQ(kOk, device->GetRenderState(RenderState::ColorWriteEnable, &v));
    EXPECT_EQ(0x0Fu, v);
    ASSERT_EQ(kOk, device->GetSamplerState(3, SamplerState::AddressU, &v));
    EXPECT_EQ(value::AddressWrap, v);
    ASSERT_EQ(kOk, device->GetSamplerState(3, SamplerState::MinFilter, &v));
    EXPECT_EQ(value::FilterPoint, v);
    ASSERT_EQ(kOk, device->GetSamplerState(3, SamplerState::MipFilter, &v));
    EXPECT_EQ(value::FilterNone, v);

    ASSERT_EQ(kOk, device->SetRenderState(RenderState::CullMode, value::CullNone));
    ASSERT_EQ(kOk, device->SetSamplerState(0, SamplerState::MagFilter, value::FilterLinear));
    ASSERT_EQ(kOk, device->BeginScene());
    parameters.BackBufferWidth = 40;
    parameters.BackBufferHeight = 30;
    ASSERT_EQ(kOk, device->Reset(&parameters));
    ASSERT_EQ(kOk, device->GetRenderState(RenderState::CullMode, &v));
    EXPECT_EQ(value::CullCCW, v);
    ASSERT_EQ(kOk, device->GetSamplerState(0, SamplerState::MagFilter, &v));
    EXPECT_EQ(value::FilterPoint, v);
    EXPECT_EQ(nullptr, device->GetVertexShader());
    EXPECT_EQ(nullptr, device->GetVertexDeclaration());
    EXPECT_EQ(kOk, device->BeginScene()); // the reset ended the scene
    os::gfx::Viewport viewport;
    ASSERT_EQ(kOk, device->GetViewport(&viewport));
    EXPECT_EQ(40u, viewport.Width);
    EXPECT_EQ(30u, viewport.Height);
    ASSERT_EQ(kOk, device->Clear(0, nullptr, os::gfx::clear::Target, 0xFF00FF00u, 1.0f, 0));
    const auto pixels = ReadBack();
    EXPECT_EQ(40u, width);
    EXPECT_EQ(30u, height);
    EXPECT_EQ(0xFF00FF00u, pixels.back());
}

TEST_F(GfxTest, SceneBracketsMustPair)
{
    EXPECT_EQ(kErrInvalidCall, device->EndScene());
    EXPECT_EQ(kOk, device->BeginScene());
    EXPECT_EQ(kErrInvalidCall, device->BeginScene());
    EXPECT_EQ(kOk, device->EndScene());
}

TEST_F(GfxTest, CallsFromAnotherThreadAreRefused)
{
    os::gfx::Result result = kOk;
    std::thread other([&] { result = device->Clear(0, nullptr, os::gfx::clear::Target, 0, 1.0f, 0); });
    other.join();
    EXPECT_EQ(kErrInvalidCall, result);
}

TEST_F(GfxTest, CapabilitiesReportShaderModelThreeUnlessOverridden)
{
    os::gfx::Caps caps;
    ASSERT_EQ(kOk, device->GetDeviceCaps(&caps));
    EXPECT_EQ(0xFFFE0300u, caps.VertexShaderVersion);
    EXPECT_EQ(0xFFFF0300u, caps.PixelShaderVersion);
    EXPECT_GE(caps.MaxTextureWidth, 2048u);
    EXPECT_EQ(0u, caps.TextureCaps & os::gfx::texturecaps::Pow2);
    os::testing::OverrideShaderVersions(os::gfx::VertexShaderVersion(2, 0), 0);
    ASSERT_EQ(kOk, device->GetDeviceCaps(&caps));
    EXPECT_EQ(0xFFFE0200u, caps.VertexShaderVersion);
    EXPECT_EQ(0xFFFF0300u, caps.PixelShaderVersion);
}

} // namespace
} // namespace gfxtest
