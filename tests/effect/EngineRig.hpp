#pragma once

#include <algorithm>
#include <cmath>
#include <memory>
#include <numbers>
#include <vector>

#include "effect/FakeHostDsp.hpp"
#include "effect/dsp/Biquad.hpp"
#include "effect/dsp/VantrelDsp.hpp"
#include "plux/param/NormalizedParamInterface.hpp"

// Every kernel version this processor runs, the baseline first.
inline std::vector<const DspKernels*> kernel_versions()
{
    std::vector<const DspKernels*> v{&DspKernels::get_baseline()};
    for (const DspKernels* wide : {DspKernels::find_avx2(), DspKernels::find_avx512()})
    {
        if (wide != nullptr)
        {
            v.push_back(wide);
        }
    }
    return v;
}

// An engine wired to a fake host, initialised and started at a rate, with stereo buffers.
struct EngineRig
{
    enum Param
    {
        cutoff,
        reso,
        nbr_bands,
        dist_gain,
        routing,
        spacing,
        evolution,
        tone
    };

    FakeHostDsp host;
    std::unique_ptr<VantrelDsp> dsp = std::make_unique<VantrelDsp>();

    explicit EngineRig(float rate = 44100.0f)
    {
        dsp->set_host(&host);
        dsp->init();
        dsp->set_sample_rate(rate);
        dsp->start();
    }

    // Internal value, with notification, then settled as after a host reset.
    void set(Param index, double val) { dsp->use_param(index).set_val_and_notify(val); }
    void set_settled(Param index, double val)
    {
        set(index, val);
        dsp->clear_buffers();
    }

    // How render hands the buffers over: outputs that the engine replaces, outputs that start at
    // added_to and that it adds to, or the inputs themselves.
    enum class Io
    {
        replace,
        add,
        in_place
    };
    static constexpr float added_to = 0.25f;

    // Renders left and right in blocks; returns the two outputs.
    std::vector<std::vector<float>> render(const std::vector<float>& left,
                                           const std::vector<float>& right, int block = 256,
                                           Io io = Io::replace)
    {
        std::vector<std::vector<float>> in = {left, right};
        const std::vector<float> start(left.size(), io == Io::add ? added_to : 0.0f);
        std::vector<std::vector<float>> out = {start, start};
        std::vector<std::vector<float>>& dst = io == Io::in_place ? in : out;
        for (std::size_t pos = 0; pos < left.size(); pos += static_cast<std::size_t>(block))
        {
            const int n = static_cast<int>(std::min<std::size_t>(block, left.size() - pos));
            float* ins[2] = {in[0].data() + pos, in[1].data() + pos};
            float* outs[2] = {dst[0].data() + pos, dst[1].data() + pos};
            if (io == Io::add)
            {
                dsp->process_adding(outs, ins, n, 0);
            }
            else
            {
                dsp->process(outs, ins, n, 0);
            }
        }
        return dst;
    }
};

inline std::vector<float> sine(double freq, double rate, std::size_t n, double amp = 1.0)
{
    std::vector<float> s(n);
    for (std::size_t i = 0; i < n; ++i)
    {
        s[i] = static_cast<float>(amp * std::sin(2.0 * std::numbers::pi * freq * i / rate));
    }
    return s;
}

// Peak amplitude of a steady sine from its RMS over [from, end).
inline double amplitude(const std::vector<float>& s, std::size_t from)
{
    double sum = 0.0;
    for (std::size_t i = from; i < s.size(); ++i)
    {
        sum += static_cast<double>(s[i]) * s[i];
    }
    return std::sqrt(2.0 * sum / static_cast<double>(s.size() - from));
}

inline bool all_finite(const std::vector<float>& s)
{
    return std::all_of(s.begin(), s.end(), [](float v) { return std::isfinite(v); });
}

// A filter designed as the engine designs its own: gain is G, q is Q (the low- and high-pass
// take their resonance from G).
inline Biquad make_biquad(int type, double freq, double gain, double q, double rate)
{
    Biquad b;
    b.set_type(type);
    b.set_freq(static_cast<float>(freq));
    b.set_gain(static_cast<float>(gain));
    b.set_q(static_cast<float>(q));
    b.set_sample_rate(static_cast<float>(rate));
    b.update();
    return b;
}
