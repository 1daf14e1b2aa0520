/** @file fuzz_static_sound.cpp A static sound made from any bytes and played through the manual mixer. */
#include "FuzzSupport.h"
#include "KorvaneXDK/platform/sound/DXSound.h"
#include "KorvaneXDK/platform/sound/StaticSound.h"
#include "os/audio/Testing.h"

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    os::testing::UseManualAudioBackend(true);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static korvane::CDXSound device;
    static const bool ready = device.Initialize();
    fuzz::Check(ready, "the manual sound device did not start");
    fuzz::Stream stream(data, size);
    korvane::CStaticSound sound(os::audio::kCapsCtrlVolume);
    try {
        sound.Create(device, stream);
        sound.Play();
    } catch (const korvane::EException&) {
        return 0;
    }
    os::testing::MixAudioFrames(4096);
    return 0;
}
