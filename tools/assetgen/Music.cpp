/** @file Music.cpp A small sequencer and synthesizer: chords, bass, melody, arpeggios and drums. */
#include "tools/assetgen/Music.h"

#include <algorithm>
#include <cmath>
#include <functional>

#include "tools/assetgen/Random.h"
#include "tools/common/OggEncoder.h"

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
    Pulse,
    Saw
};

/// The correction that takes the step out of a naive saw or pulse edge (polynomial band-limited
/// step), so high notes do not alias.
double PolyBlep(double t, double dt)
{
    if (t < dt) {
        t /= dt;
        return t + t - t * t - 1.0;
    }
    if (t > 1.0 - dt) {
        t = (t - 1.0) / dt;
        return t * t + t + t + 1.0;
    }
    return 0.0;
}

double Oscillate(Wave wave, double phase, double dt, double duty)
{
    switch (wave) {
    case Wave::Sine:
        return std::sin(kTwoPi * phase);
    case Wave::Triangle:
        return phase < 0.5 ? 4.0 * phase - 1.0 : 3.0 - 4.0 * phase;
    case Wave::Saw:
        return 2.0 * phase - 1.0 - PolyBlep(phase, dt);
    case Wave::Pulse: {
        double value = phase < duty ? 1.0 : -1.0;
        value += PolyBlep(phase, dt);
        double shifted = phase - duty;
        if (shifted < 0.0) {
            shifted += 1.0;
        }
        value -= PolyBlep(shifted, dt);
        return value;
    }
    }
    return 0.0;
}

struct Instrument
{
    Wave wave;
    double attack;   ///< seconds
    double decay;    ///< time constant towards the sustain level, seconds
    double sustain;  ///< 0..1
    double release;  ///< seconds after the note's end
    double cutoffHz; ///< one-pole low-pass
    double duty = 0.5;
    double detune = 0.0;  ///< cents of a second, detuned voice (0: none)
    double vibrato = 0.0; ///< semitones, after 0.15 s
};

/// Stereo buffers of a fixed length that wrap around: everything written past the end lands
/// at the start.
class LoopBuffer
{
public:
    explicit LoopBuffer(int frames) : left_(static_cast<std::size_t>(frames)), right_(static_cast<std::size_t>(frames))
    {}
    int Frames() const { return static_cast<int>(left_.size()); }
    void Add(long long frame, double value, double pan)
    {
        const std::size_t i = static_cast<std::size_t>(((frame % Frames()) + Frames()) % Frames());
        left_[i] += static_cast<float>(value * std::cos((pan + 1.0) * kTwoPi / 8.0));
        right_[i] += static_cast<float>(value * std::sin((pan + 1.0) * kTwoPi / 8.0));
    }
    void AddStereo(long long frame, double left, double right)
    {
        const std::size_t i = static_cast<std::size_t>(((frame % Frames()) + Frames()) % Frames());
        left_[i] += static_cast<float>(left);
        right_[i] += static_cast<float>(right);
    }
    std::vector<float>& Left() { return left_; }
    std::vector<float>& Right() { return right_; }

private:
    std::vector<float> left_;
    std::vector<float> right_;
};

double MidiHz(double note)
{
    return 440.0 * std::pow(2.0, (note - 69.0) / 12.0);
}

/// One note of an instrument, from `start` for `length` frames plus its release.
void PlayNote(LoopBuffer& out, const Instrument& instrument, long long start, long long length, double note,
              double gain, double pan)
{
    const double hz = MidiHz(note);
    const long long total = length + static_cast<long long>(instrument.release * kRate);
    const double k = 1.0 - std::exp(-kTwoPi * instrument.cutoffHz / kRate);
    double phaseA = 0.0, phaseB = 0.25, filtered = 0.0;
    double level = 0.0;
    for (long long i = 0; i < total; ++i) {
        const double t = static_cast<double>(i) / kRate;
        double target;
        if (i < length) {
            target = t < instrument.attack
                         ? t / instrument.attack
                         : instrument.sustain +
                               (1.0 - instrument.sustain) * std::exp(-(t - instrument.attack) / instrument.decay);
        } else {
            target = 0.0;
        }
        // The envelope follows its target smoothly, so neither a note's end nor its cut by
        // the release ever steps.
        const double speed =
            i < length ? (t < instrument.attack ? 1.0 : 0.02) : 1.0 / (instrument.release * kRate / 5.0);
        level += (target - level) * std::min(1.0, speed);
        double f = hz;
        if (instrument.vibrato > 0.0 && t > 0.15) {
            f *= std::pow(2.0, instrument.vibrato * std::sin(kTwoPi * 5.5 * (t - 0.15)) / 12.0);
        }
        const double dtA = f / kRate;
        double value = Oscillate(instrument.wave, phaseA, dtA, instrument.duty);
        phaseA += dtA;
        phaseA -= std::floor(phaseA);
        if (instrument.detune != 0.0) {
            const double dtB = dtA * std::pow(2.0, instrument.detune / 1200.0);
            value = 0.5 * (value + Oscillate(instrument.wave, phaseB, dtB, instrument.duty));
            phaseB += dtB;
            phaseB -= std::floor(phaseB);
        }
        filtered += k * (value - filtered);
        out.Add(start + i, filtered * level * gain, pan);
    }
}

/// Drums: a falling sine for the kick, noise and a tone for the snare, bright noise for the hat.
enum class Drum
{
    Kick,
    Snare,
    Hat
};

void PlayDrum(LoopBuffer& out, Drum drum, long long start, double gain, Random& random)
{
    const double seconds = drum == Drum::Kick ? 0.32 : drum == Drum::Snare ? 0.22 : 0.06;
    const long long total = static_cast<long long>(seconds * kRate);
    double phase = 0.0, low = 0.0, previous = 0.0;
    for (long long i = 0; i < total; ++i) {
        const double t = static_cast<double>(i) / kRate;
        const double attack = std::min(1.0, t / 0.0015);
        const double tail = std::min(1.0, (seconds - t) / 0.01);
        double value = 0.0;
        double pan = 0.0;
        if (drum == Drum::Kick) {
            const double hz = 45.0 + 110.0 * std::exp(-t / 0.03);
            phase += hz / kRate;
            value = std::sin(kTwoPi * phase) * std::exp(-t / 0.11);
        } else {
            const double noise = random.Signed();
            const double high = noise - previous; // first difference: a simple high-pass
            previous = noise;
            if (drum == Drum::Snare) {
                phase += 185.0 / kRate;
                low += 0.5 * (high - low);
                value = (0.7 * low + 0.35 * std::sin(kTwoPi * phase)) * std::exp(-t / 0.06);
                pan = 0.1;
            } else {
                value = 0.5 * high * std::exp(-t / 0.012);
                pan = -0.35;
            }
        }
        out.Add(start + i, value * attack * tail * gain, pan);
    }
}

struct Chord
{
    int root; ///< semitones above the key
    bool minor;
};

struct Arrangement
{
    std::string name;
    int bpm;
    int bars;
    int key;                   ///< MIDI note of the key's root in the bass octave
    std::vector<Chord> chords; ///< one per bar, repeated
    std::uint64_t melodySeed;
    bool extended; ///< the fuller arrangement: arpeggios, detuned lead, busier drums
};

int FramesPerBar(int bpm)
{
    return kRate * 60 * 4 / bpm;
}

std::vector<Arrangement> Arrangements()
{
    const std::vector<Chord> first = {{0, true}, {8, false}, {3, false},  {10, false},
                                      {0, true}, {8, false}, {10, false}, {7, false}};
    const std::vector<Chord> second = {{0, true}, {8, false}, {10, false}, {7, true},
                                       {0, true}, {5, true},  {7, false},  {7, false}};
    return {
        {"rom0_qvr2\\music06", 120, 16, 45, first, 0x6D757306u, false},
        {"rom0_qvr2\\music07", 150, 16, 38, second, 0x6D757307u, false},
        {"rom0_qvr2\\music06_ex", 120, 16, 45, first, 0x6D757306u, true},
        {"rom0_qvr2\\music07_ex", 150, 16, 38, second, 0x6D757307u, true},
    };
}

/// Scale degrees of the natural minor scale, in semitones.
const int kMinorScale[7] = {0, 2, 3, 5, 7, 8, 10};

LoopBuffer Render(const Arrangement& piece)
{
    const int bar = FramesPerBar(piece.bpm);
    // At 120 bpm a bar (88200 frames) is not a multiple of 16: the sixteenths are a frame's
    // half shorter, and the last one of each bar 8 frames longer. The bars themselves, and so
    // the loop's length, stay exact.
    const long long sixteenth = bar / 16;
    LoopBuffer out(bar * piece.bars);
    LoopBuffer lead(bar * piece.bars);
    Random drums(piece.melodySeed ^ 0xD5u);

    const Instrument bass{Wave::Saw, 0.004, 0.12, 0.6, 0.05, 700.0};
    const Instrument pad{Wave::Saw, 0.35, 0.8, 0.7, 0.45, 1600.0, 0.5, 9.0};
    const Instrument leadTone = piece.extended ? Instrument{Wave::Saw, 0.01, 0.3, 0.7, 0.12, 3200.0, 0.5, 7.0, 0.25}
                                               : Instrument{Wave::Pulse, 0.01, 0.25, 0.65, 0.1, 4200.0, 0.25, 0.0, 0.2};
    const Instrument arp{Wave::Pulse, 0.002, 0.05, 0.3, 0.03, 5000.0, 0.125};

    for (int b = 0; b < piece.bars; ++b) {
        const Chord& chord = piece.chords[static_cast<std::size_t>(b) % piece.chords.size()];
        const long long barStart = static_cast<long long>(b) * bar;
        const int root = piece.key + chord.root;
        const int third = chord.minor ? 3 : 4;

        // Bass: eighths on the root, an octave jump on the off-beats of the fuller version.
        for (int e = 0; e < 8; ++e) {
            const int note = root + ((piece.extended && e % 2 == 1) ? 12 : 0);
            PlayNote(out, bass, barStart + e * 2 * sixteenth, 2 * sixteenth - sixteenth / 4, note, 0.32, -0.05);
        }
        // Pad: the triad held through the bar.
        for (const int interval : {12, 12 + third, 19}) {
            PlayNote(out, pad, barStart, bar - sixteenth, root + interval, 0.07, interval == 19 ? 0.4 : -0.4);
        }
        // Arpeggio in sixteenths (fuller version only).
        if (piece.extended) {
            const int pattern[4] = {24, 24 + third, 31, 36};
            for (int s = 0; s < 16; ++s) {
                PlayNote(out, arp, barStart + s * sixteenth, sixteenth / 2, root + pattern[s % 4], 0.05,
                         s % 2 == 0 ? 0.5 : -0.5);
            }
        }
        // Melody: a walk over the scale in eighths and quarters that lands on a tone of the
        // bar's chord on every beat; the second half of the piece repeats the first, an octave
        // up in places.
        Random walk = (b < piece.bars / 2) ? Random(piece.melodySeed + static_cast<std::uint64_t>(b))
                                           : Random(piece.melodySeed + static_cast<std::uint64_t>(b - piece.bars / 2));
        const int lift = (b >= piece.bars / 2 && b % 4 == 3) ? 12 : 0;
        auto inChord = [&](int d) {
            const int pitch = ((kMinorScale[d % 7] - chord.root) % 12 + 12) % 12;
            return pitch == 0 || pitch == third || pitch == 7;
        };
        int degree = 2 + walk.Below(3);
        long long position = 0;
        while (position < 16) {
            const long long length = (walk.Below(3) == 0) ? 4 : 2;
            const bool rest = walk.Below(7) == 0 && position > 0;
            if (position % 4 == 0) {
                for (const int step : {0, 1, -1, 2, -2}) {
                    if (degree + step >= 0 && degree + step <= 11 && inChord(degree + step)) {
                        degree += step;
                        break;
                    }
                }
            }
            if (!rest) {
                const int octave = degree / 7;
                const int note = piece.key + 24 + 12 * octave + kMinorScale[degree % 7] + lift;
                PlayNote(lead, leadTone, barStart + position * sixteenth, length * sixteenth - sixteenth / 3, note,
                         0.16, 0.12);
            }
            degree = std::clamp(degree + walk.Below(5) - 2, 0, 11);
            position += length;
        }
        // Drums.
        for (int s = 0; s < 16; ++s) {
            const long long at = barStart + s * sixteenth;
            if (s % 8 == 0 || (piece.extended && s == 10)) {
                PlayDrum(out, Drum::Kick, at, 0.55, drums);
            }
            if (s % 8 == 4) {
                PlayDrum(out, Drum::Snare, at, 0.3, drums);
            }
            if (s % 2 == 0 || piece.extended) {
                PlayDrum(out, Drum::Hat, at, s % 4 == 2 ? 0.22 : 0.12, drums);
            }
        }
    }
    // The melody with a dotted-eighth echo that swaps sides, on the same circle.
    const long long delay = 3 * sixteenth;
    for (long long i = 0; i < out.Frames(); ++i) {
        const std::size_t at = static_cast<std::size_t>(i);
        const double l = lead.Left()[at];
        const double r = lead.Right()[at];
        out.AddStereo(i, l, r);
        out.AddStereo(i + delay, 0.35 * r, 0.35 * l);
    }
    return out;
}

} // namespace

void MakeMusic(OutputFolder& out)
{
    int serial = 0x51A70601;
    for (const Arrangement& piece : Arrangements()) {
        LoopBuffer buffer = Render(piece);
        float peak = 0.0f;
        for (const float s : buffer.Left()) {
            peak = std::max(peak, std::abs(s));
        }
        for (const float s : buffer.Right()) {
            peak = std::max(peak, std::abs(s));
        }
        const float gain = peak > 0.0f ? 0.85f / peak : 1.0f;
        for (float& s : buffer.Left()) {
            s *= gain;
        }
        for (float& s : buffer.Right()) {
            s *= gain;
        }
        std::vector<float> interleaved;
        interleaved.reserve(buffer.Left().size() * 2);
        for (std::size_t i = 0; i < buffer.Left().size(); ++i) {
            interleaved.push_back(buffer.Left()[i]);
            interleaved.push_back(buffer.Right()[i]);
        }
        out.Write(piece.name, tools::EncodeOggVorbis(2, kRate, interleaved, 0.4f, serial++,
                                                     {"TITLE=" + piece.name.substr(piece.name.find('\\') + 1),
                                                      "ARTIST=Generated by assetgen"}));
    }
}

} // namespace assetgen
