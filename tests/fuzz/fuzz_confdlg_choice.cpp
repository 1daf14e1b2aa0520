/** @file fuzz_confdlg_choice.cpp The configuration dialog library's saved choice on any bytes: what it reads back is
 * a choice the dialog offers, and saving it reads back the same. */
#include <cstring>

#include "FuzzSupport.h"
#include "os/confdlg/PreviousChoice.h"

namespace
{

/// Two adapters: the first with modes in each format and sample counts that differ by format, the
/// second without anisotropic filtering.
const ConfigDialogBlock& Block()
{
    static const ConfigDialogBlock* block = [] {
        auto* made = new ConfigDialogBlock{};
        made->adapterCount = 2;
        const std::uint32_t bits[3] = {32, 16, 15};
        for (std::int32_t a = 0; a < 2; ++a) {
            ConfigDialogAdapter& adapter = made->adapters[a];
            adapter.ordinal = static_cast<std::uint32_t>(a);
            adapter.maxAnisotropy = a == 0 ? 8 : 1;
            adapter.formatGroupCount = 3;
            for (int g = 0; g < 3; ++g) {
                adapter.formatGroups[g].bitsPerPixel = static_cast<std::int32_t>(bits[g]);
                adapter.formatGroups[g].multiSample[2] = 1;
                adapter.formatGroups[g].multiSample[4] = g == 0 ? 1 : 0;
                adapter.formatGroups[g].multiSample[15] = g == 1 ? 1 : 0;
                adapter.modes[adapter.modeCount++] = {640, 480, bits[g], 60};
                adapter.modes[adapter.modeCount++] = {1280, 720, bits[g], 75};
            }
        }
        return made;
    }();
    return *block;
}

bool Offered(const ConfigDialogBlock& block, const ConfigDialogResult& choice)
{
    if (choice.adapter < 0 || choice.adapter >= block.adapterCount)
        return false;
    const ConfigDialogAdapter& adapter = block.adapters[choice.adapter];
    if (choice.mode < 0 || choice.mode >= adapter.modeCount)
        return false;
    const std::uint32_t bits = adapter.modes[choice.mode].bitsPerPixel;
    const std::int32_t group = bits == 32 ? 0 : bits == 16 ? 1 : 2;
    const bool samples = choice.multiSample == 0 || (choice.multiSample >= 2 && choice.multiSample <= 15 &&
                                                     adapter.formatGroups[group].multiSample[choice.multiSample] == 1);
    bool anisotropy = false;
    for (std::uint32_t offered = 1; offered <= 16; offered *= 2)
        anisotropy = anisotropy || (static_cast<std::uint32_t>(choice.anisotropy) == offered &&
                                    (offered == 1 || offered <= adapter.maxAnisotropy));
    return samples && anisotropy && (choice.windowed == 0 || choice.windowed == 1) &&
           (choice.depthBits == 16 || choice.depthBits == 24 || choice.depthBits == 32) &&
           (choice.vsync == 0 || choice.vsync == 1);
}

bool Same(const ConfigDialogResult& a, const ConfigDialogResult& b)
{
    return std::memcmp(&a, &b, sizeof a) == 0;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    // What the library reads: at most 255 bytes of the file, as a C string.
    char text[256] = {};
    std::memcpy(text, data, size < sizeof text - 1 ? size : sizeof text - 1);
    const ConfigDialogBlock& block = Block();
    const ConfigDialogResult choice = os::confdlg::ChoiceFromText(text, block);
    fuzz::Check(Offered(block, choice), "the saved choice reads back as one the dialog does not offer");
    ConfigDialogResult parsed{};
    if (os::confdlg::ParseChoice(text, parsed) && !Same(parsed, choice))
        fuzz::Check(Same(choice, os::confdlg::DefaultChoice(block)), "a refused choice gives other than the default");
    const std::string saved = os::confdlg::FormatChoice(choice);
    fuzz::Check(Same(os::confdlg::ChoiceFromText(saved.c_str(), block), choice), "a saved choice reads back another");
    return 0;
}
