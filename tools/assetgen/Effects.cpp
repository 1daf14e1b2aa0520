/** @file Effects.cpp One recipe per effect: a swept or stepped oscillator, filtered noise and an envelope. */
#include "tools/assetgen/Effects.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <vector>

#include "tools/assetgen/Random.h"
#include "tools/assetgen/WaveFile.h"

namespace assetgen
{

namespace
{

constexpr int kRate = 44100;
constexpr double kTwoPi = 6.28318530717958647692;

enum class Wave
{
    Sine,
    Triangle,
    Square,
    Saw
};

struct Recipe
{
    Wave wave;
    double startHz; ///< tone at the start ...
    double endHz;   ///< ... sweeping exponentially to this one
    double seconds;
    double decay;        ///< time constant of the exponential fall, seconds (0: none)
    double noise;        ///< share of filtered noise, 0..1
    double noiseStartHz; ///< noise low-pass cut-off at the start and at the end
    double noiseEndHz;
    std::vector<int> steps; ///< semitone steps of equal length over the tone (arpeggio)
    double vibratoHz = 0.0;
    double vibratoDepth = 0.0; ///< in semitones
    double level = 0.7;        ///< peak of the normalised result
};

double Oscillator(Wave wave, double phase)
{
    const double p = phase - std::floor(phase);
    switch (wave) {
    case Wave::Sine:
        return std::sin(kTwoPi * p);
    case Wave::Triangle:
        return p < 0.5 ? 4.0 * p - 1.0 : 3.0 - 4.0 * p;
    case Wave::Square:
        return p < 0.5 ? 0.8 : -0.8;
    case Wave::Saw:
        return 2.0 * p - 1.0;
    }
    return 0.0;
}

std::vector<float> Render(const Recipe& recipe, std::uint64_t seed)
{
    const int count = static_cast<int>(recipe.seconds * kRate);
    std::vector<float> out(static_cast<std::size_t>(count));
    Random random(seed);
    double phase = 0.0;
    double noiseState = 0.0;
    const double attack = 0.004;
    const double release = 0.012;
    for (int i = 0; i < count; ++i) {
        const double t = static_cast<double>(i) / kRate;
        const double u = t / recipe.seconds;
        double hz = recipe.startHz * std::pow(recipe.endHz / recipe.startHz, u);
        if (!recipe.steps.empty()) {
            const std::size_t step = std::min(recipe.steps.size() - 1,
                                              static_cast<std::size_t>(u * static_cast<double>(recipe.steps.size())));
            hz = recipe.startHz * std::pow(2.0, recipe.steps[step] / 12.0);
        }
        if (recipe.vibratoDepth > 0.0) {
            hz *= std::pow(2.0, recipe.vibratoDepth * std::sin(kTwoPi * recipe.vibratoHz * t) / 12.0);
        }
        phase += hz / kRate;
        const double tone = Oscillator(recipe.wave, phase);

        const double cutoff = recipe.noiseStartHz * std::pow(recipe.noiseEndHz / recipe.noiseStartHz, u);
        const double k = 1.0 - std::exp(-kTwoPi * cutoff / kRate);
        noiseState += k * (random.Signed() - noiseState);

        double envelope = std::min(1.0, t / attack) * std::min(1.0, (recipe.seconds - t) / release);
        if (recipe.decay > 0.0) {
            envelope *= std::exp(-t / recipe.decay);
        }
        out[static_cast<std::size_t>(i)] =
            static_cast<float>(envelope * ((1.0 - recipe.noise) * tone + recipe.noise * 2.5 * noiseState));
    }
    float peak = 0.0f;
    for (const float s : out) {
        peak = std::max(peak, std::abs(s));
    }
    if (peak > 0.0f) {
        const float gain = static_cast<float>(recipe.level) / peak;
        for (float& s : out) {
            s *= gain;
        }
    }
    return out;
}

/// Effect n of the bank is recipes[n - 1]. The menus use 01 (cancel), 05 (cursor), 06 (decide),
/// 16 (data reset) and 20 (pause); the rest belong to the main game.
std::vector<Recipe> Recipes()
{
    const double off = 1000.0;
    return {
        /*01 cancel*/ {Wave::Square, 880, 880, 0.14, 0.0, 0.0, off, off, {7, 0}},
        /*02 frontal shot*/ {Wave::Square, 1800, 600, 0.08, 0.05, 0.0, off, off, {}},
        /*03 wide shot*/ {Wave::Saw, 1400, 500, 0.10, 0.06, 0.2, 6000, 2000, {}},
        /*04 super shot*/ {Wave::Saw, 300, 1200, 0.6, 0.0, 0.35, 3000, 8000, {}, 14, 0.6},
        /*05 cursor*/ {Wave::Sine, 1320, 1320, 0.045, 0.02, 0.0, off, off, {}},
        /*06 decide*/ {Wave::Square, 660, 660, 0.2, 0.0, 0.0, off, off, {0, 7, 12}},
        /*07 enemy hit*/ {Wave::Square, 400, 150, 0.07, 0.04, 0.4, 5000, 1500, {}},
        /*08 small explosion*/ {Wave::Sine, 120, 60, 0.35, 0.12, 0.85, 3000, 300, {}},
        /*09 medium explosion*/ {Wave::Sine, 80, 40, 0.6, 0.2, 0.8, 2000, 150, {}},
        /*0A large explosion*/ {Wave::Sine, 70, 30, 1.2, 0.4, 0.75, 1500, 80, {}, 0, 0, 0.8},
        /*0B item pickup*/ {Wave::Triangle, 880, 880, 0.25, 0.0, 0.0, off, off, {0, 4, 7, 12}},
        /*0C power up*/ {Wave::Square, 300, 1500, 0.5, 0.0, 0.0, off, off, {}, 16, 0.4},
        /*0D shield on*/ {Wave::Saw, 200, 600, 0.4, 0.0, 0.1, 2000, 4000, {}, 12, 0.5},
        /*0E shield hit*/ {Wave::Triangle, 900, 300, 0.15, 0.06, 0.3, 6000, 3000, {}},
        /*0F shield break*/ {Wave::Saw, 600, 100, 0.5, 0.2, 0.5, 4000, 500, {}},
        /*10 player damage*/ {Wave::Square, 500, 120, 0.3, 0.12, 0.3, 3000, 800, {}},
        /*11 player explosion*/ {Wave::Sine, 90, 30, 1.5, 0.5, 0.8, 2500, 60, {}, 0, 0, 0.8},
        /*12 extend*/ {Wave::Square, 523.25, 523.25, 0.7, 0.0, 0.0, off, off, {0, 4, 7, 12, 16, 19, 24}},
        /*13 warning*/ {Wave::Square, 440, 440, 1.2, 0.0, 0.0, off, off, {0, 5, 0, 5, 0, 5}},
        /*14 boss appears*/ {Wave::Saw, 60, 40, 1.5, 0.8, 0.3, 400, 200, {}, 3, 0.3},
        /*15 missile*/ {Wave::Saw, 200, 400, 0.4, 0.0, 0.6, 800, 4000, {}},
        /*16 data reset*/ {Wave::Saw, 800, 60, 0.9, 0.0, 0.25, 3000, 200, {}},
        /*17 laser charge*/ {Wave::Sine, 200, 2000, 0.8, 0.0, 0.0, off, off, {}, 20, 0.3},
        /*18 laser*/ {Wave::Saw, 2400, 1800, 0.5, 0.3, 0.25, 9000, 5000, {}},
        /*19 bomb*/ {Wave::Sine, 60, 30, 1.4, 0.5, 0.8, 1200, 50, {}, 0, 0, 0.8},
        /*1A enemy shot*/ {Wave::Square, 900, 1100, 0.06, 0.0, 0.0, off, off, {}},
        /*1B ricochet*/ {Wave::Triangle, 2500, 2200, 0.2, 0.08, 0.0, off, off, {}, 40, 0.5},
        /*1C stage start*/ {Wave::Triangle, 392, 392, 0.9, 0.0, 0.0, off, off, {0, 7, 12, 7, 12, 19}},
        /*1D stage clear*/ {Wave::Square, 523.25, 523.25, 1.3, 0.0, 0.0, off, off, {0, 4, 7, 12, 7, 12, 16, 24}},
        /*1E score tick*/ {Wave::Sine, 1760, 1760, 0.03, 0.0, 0.0, off, off, {}},
        /*1F bonus count*/ {Wave::Square, 1320, 1320, 0.08, 0.0, 0.0, off, off, {0, 12}},
        /*20 pause*/ {Wave::Sine, 987.77, 987.77, 0.26, 0.0, 0.0, off, off, {0, -5}, 0, 0, 0.6},
        /*21 whoosh*/ {Wave::Sine, 100, 100, 0.3, 0.0, 1.0, 400, 4000, {}},
        /*22 game over*/ {Wave::Triangle, 392, 392, 1.4, 0.0, 0.0, off, off, {0, -3, -7, -12}},
    };
}

} // namespace

void MakeEffects(OutputFolder& out)
{
    const std::vector<Recipe> recipes = Recipes();
    for (std::size_t i = 0; i < recipes.size(); ++i) {
        const int number = static_cast<int>(i) + 1;
        char name[32];
        std::snprintf(name, sizeof name, "se_qvr2\\%02X.wav", static_cast<unsigned>(number));
        out.Write(name, EncodeWave16(Render(recipes[i], 0xEFFEC700u + static_cast<unsigned>(number)), 1, kRate));
    }
}

} // namespace assetgen
