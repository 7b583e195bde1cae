#include "morvane-host/DemoSignal.hpp"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstddef>
#include <random>

namespace morvane_host
{

namespace
{

constexpr double two_pi = 6.283185307179586;
constexpr double beat_seconds = 0.5;
constexpr double bar_seconds = 2.0;
// 10^(-12 / 20), the demo's peak level.
constexpr double peak_level = 0.25118864315095796;

// sin(2π phase) from a Taylor polynomial on a quarter turn (error below 2e-6).
double sine(double phase)
{
    const double t = phase - std::floor(phase);
    const double x = t < 0.25 ? t : (t < 0.75 ? 0.5 - t : t - 1.0);
    const double z = two_pi * x;
    const double z2 = z * z;
    return z * (1.0 + z2 * (-1.0 / 6.0 +
                            z2 * (1.0 / 120.0 + z2 * (-1.0 / 5040.0 + z2 * (1.0 / 362880.0)))));
}

// A band-limited saw: the naive ramp with its jump smoothed over one sample on each side.
class Saw
{
public:
    double next(double frequency, double rate)
    {
        const double step = frequency / rate;
        double value = 2.0 * phase - 1.0;
        if (phase < step)
        {
            const double t = phase / step;
            value -= t + t - t * t - 1.0;
        }
        else if (phase > 1.0 - step)
        {
            const double t = (phase - 1.0) / step;
            value -= t * t + t + t + 1.0;
        }
        phase += step;
        phase -= std::floor(phase);
        return value;
    }

private:
    double phase = 0.0;
};

// A decay that falls to 1/e after about tau seconds, by repeated multiplication.
class Decay
{
public:
    Decay(double tau, double rate)
        : factor(1.0 - 1.0 / (tau * rate))
    {
    }
    void trigger() { level = 1.0; }
    double next()
    {
        const double out = level;
        level *= factor;
        return out;
    }

private:
    double factor;
    double level = 0.0;
};

// Chamberlin's state-variable low-pass filter with a fixed damping.
class ResonantLowPass
{
public:
    double next(double input, double coefficient)
    {
        low += coefficient * band;
        const double high = input - low - damping * band;
        band += coefficient * high;
        return low;
    }

private:
    static constexpr double damping = 0.35;
    double low = 0.0;
    double band = 0.0;
};

class Noise
{
public:
    double next() { return static_cast<double>(engine()) / 1073741823.0 - 1.0; }

private:
    std::minstd_rand engine{20240611u};
};

// Equal-tempered frequencies in Hz.
constexpr double a1 = 55.0, f1 = 43.653528929125486, c2 = 65.40639132514966,
                 g1 = 48.999429497718666;
constexpr double f3 = 174.61411571650194, g3 = 195.99771799087463, a3 = 220.0,
                 b3 = 246.94165062806206, c4 = 261.6255653005986, d4 = 293.6647679174076,
                 e4 = 329.6275569128699, g4 = 391.99543598174927;

constexpr std::array<double, 4> bass_roots = {a1, f1, c2, g1};
constexpr std::array<std::array<double, 3>, 4> chords = {{
    {a3, c4, e4}, // A minor
    {f3, a3, c4}, // F
    {c4, e4, g4}, // C
    {g3, b3, d4}, // G
}};
// The bass plays eighths: root, root, octave, root, fifth, root, octave, minor seventh.
constexpr std::array<double, 8> bass_ratios = {
    1.0, 1.0, 2.0, 1.0, 1.4983070768766815, 1.0, 2.0, 1.7817974362806785};

// A linear rise over the first part and fall over the last part of a span, 1 in between.
double gate(double position, double length, double rise, double fall)
{
    return std::clamp(std::min(position / rise, (length - position) / fall), 0.0, 1.0);
}

} // namespace

AudioData make_demo_signal(int rate)
{
    const double sample_rate = rate;
    const auto frames = static_cast<std::size_t>(demo_seconds * sample_rate);
    AudioData audio;
    audio.rate = rate;
    audio.channels.assign(2, std::vector<float>(frames));

    Decay kick_level(0.12, sample_rate), kick_pitch(0.03, sample_rate);
    Decay snare_level(0.08, sample_rate), snare_body(0.05, sample_rate);
    Decay hat_level(0.025, sample_rate);
    Noise noise;
    double kick_phase = 0.0, snare_phase = 0.0, previous_hat = 0.0;
    Saw bass;
    std::array<std::array<Saw, 3>, 2> pad;
    std::array<ResonantLowPass, 2> pad_filter;

    const auto eighth_frames =
        std::max<std::size_t>(1, static_cast<std::size_t>(beat_seconds / 2.0 * sample_rate));
    std::vector<double> left(frames), right(frames);
    double peak = 0.0;
    for (std::size_t i = 0; i < frames; ++i)
    {
        const double t = static_cast<double>(i) / sample_rate;
        const std::size_t eighth = i / eighth_frames;
        const std::size_t bar = std::min<std::size_t>(static_cast<std::size_t>(t / bar_seconds), 3);
        if (i % eighth_frames == 0)
        {
            const std::size_t beat = eighth / 2;
            if (eighth % 2 == 0)
            {
                kick_level.trigger();
                kick_pitch.trigger();
                kick_phase = 0.0;
                if (beat % 2 == 1)
                {
                    snare_level.trigger();
                    snare_body.trigger();
                }
            }
            hat_level.trigger();
        }

        const double kick_frequency = 45.0 + 110.0 * kick_pitch.next();
        kick_phase += kick_frequency / sample_rate;
        const double kick = sine(kick_phase) * kick_level.next();

        snare_phase += 185.0 / sample_rate;
        const double snare_tone = sine(snare_phase) * snare_body.next();
        const double snare_gain = snare_level.next();
        const double snare_left = noise.next() * snare_gain + 0.5 * snare_tone;
        const double snare_right = noise.next() * snare_gain + 0.5 * snare_tone;

        // A first difference of noise: a bright hiss.
        const double hiss = noise.next();
        const double hat = (hiss - previous_hat) * hat_level.next();
        previous_hat = hiss;

        const double note_position = t - static_cast<double>(eighth) * beat_seconds / 2.0;
        const double bass_frequency = bass_roots[bar] * bass_ratios[eighth % bass_ratios.size()];
        const double bass_tone =
            bass.next(bass_frequency, sample_rate) * gate(note_position, 0.2, 0.004, 0.03);

        // The filter opens from 250 Hz to about 3.5 kHz and closes again over the 8 seconds.
        const double sweep = 0.5 - 0.5 * sine(t / demo_seconds + 0.25);
        const double cutoff = std::min(250.0 + 3300.0 * sweep * sweep, sample_rate / 6.0);
        const double coefficient = 2.0 * sine(cutoff / (2.0 * sample_rate));
        const double bar_position = t - static_cast<double>(bar) * bar_seconds;
        const double chord_gate = gate(bar_position, bar_seconds, 0.02, 0.05);
        std::array<double, 2> chord = {0.0, 0.0};
        for (std::size_t side = 0; side < 2; ++side)
        {
            // Each side a little off the pitch the other way: a wide chord.
            const double detune = side == 0 ? 0.997 : 1.003;
            double voices = 0.0;
            for (std::size_t v = 0; v < 3; ++v)
                voices += pad[side][v].next(chords[bar][v] * detune, sample_rate);
            chord[side] = pad_filter[side].next(voices, coefficient) * chord_gate;
        }

        left[i] = 0.9 * kick + 0.45 * snare_left + 0.12 * hat + 0.35 * bass_tone + 0.22 * chord[0];
        right[i] =
            0.9 * kick + 0.45 * snare_right + 0.18 * hat + 0.35 * bass_tone + 0.22 * chord[1];
        peak = std::max({peak, std::fabs(left[i]), std::fabs(right[i])});
    }

    const double gain = peak > 0.0 ? peak_level / peak : 0.0;
    for (std::size_t i = 0; i < frames; ++i)
    {
        audio.channels[0][i] = static_cast<float>(left[i] * gain);
        audio.channels[1][i] = static_cast<float>(right[i] * gain);
    }
    return audio;
}

} // namespace morvane_host
