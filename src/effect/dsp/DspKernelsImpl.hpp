#pragma once

// The kernels of DspKernels as templates over a vector type V. Included only by the
// per-instruction-set units, each of which defines V in an anonymous namespace: every
// instantiation then has internal linkage, and no code compiled for a wider instruction set can
// be chosen by the linker for the rest of the program. For the same reason nothing here calls a
// function of the standard library.
//
// V provides: width; reg; zero, set1, load, loadu, bcast, store, storeu, add, sub, mul, div, min,
// max, and_, andnot, xor_, gt, eq, select; shift_in1, shift_in2 (the lanes moved up by one or
// two, the given values shifted in below); transpose (width x width, in place); fold<NV>,
// store_quad, store_quads (the band terms of one channel folded to a 128-bit quad: lane j holds
// the bands j, j + 4, j + 8 and j + 12 as ((j) + (j + 8)) + ((j + 4) + (j + 12)), whatever the
// width; fold goes as far as one register, store_quad stores one sample's quad from it,
// store_quads those of two consecutive samples); finish_quads (as the function of that name);
// lane_bcast<i> (lane i to all lanes); first (lane 0 as a float).
//
// Arithmetic is written operation by operation in a fixed order; the unit that compiles this
// must not contract products and sums (no -ffp-contract=fast with FMA), so that every version
// produces the same bits.

#include <emmintrin.h>

#include "effect/dsp/DspKernels.hpp"

namespace dsp_kernels_impl
{

// The delay-line noise generator: k states at once are state * mul_of(k) + add_of(k), mod 2^32
// (the low 31 bits then give the sequence mod 2^31).
template <class V>
struct Lcg
{
    static constexpr std::uint32_t a = 1103515245u;
    static constexpr std::uint32_t c = 12345u;
    static constexpr std::uint32_t mask = 0x7FFFFFFFu;
    // Bits of +1e-20f; the sign bit is set when bit 16 of the state is clear.
    static constexpr std::uint32_t tiny_bits = __builtin_bit_cast(std::uint32_t, 1e-20f);

    static constexpr std::uint32_t mul_of(int k) { return k == 0 ? 1u : a * mul_of(k - 1); }
    static constexpr std::uint32_t add_of(int k) { return k == 0 ? 0u : add_of(k - 1) * a + c; }
    static constexpr std::uint32_t value_bits(std::uint32_t s)
    {
        return tiny_bits | (~(s << 15) & 0x80000000u);
    }
};

template <class V>
using reg_t = typename V::reg;

// A band-pass section (b1 = 0, b2 = -b0) from its feed-forward difference u = x - x2:
// y = (b0 u - a2 y2) - a1 y1. The previous output enters last, so the recursion waits for one
// product and one difference per sample.
template <class V>
inline reg_t<V> band_pass(reg_t<V> u, reg_t<V> y1, reg_t<V> y2, reg_t<V> b0, reg_t<V> a1,
                          reg_t<V> a2)
{
    return V::sub(V::sub(V::mul(b0, u), V::mul(a2, y2)), V::mul(a1, y1));
}

// Quads of 4 consecutive samples from sample t on reduced to 4 band sums: lane j of each quad
// holds the partial sums of its sample, added as (s0 + s2) + (s1 + s3), then times the bank level.
template <class V>
inline void finish_quads(float* dst, const float (*quads)[4], int n, const BankJob& job, int t = 0)
{
    const __m128 level = _mm_set1_ps(job.level);
    for (; t + 4 <= n; t += 4)
    {
        __m128 r0 = _mm_load_ps(quads[t]);
        __m128 r1 = _mm_load_ps(quads[t + 1]);
        __m128 r2 = _mm_load_ps(quads[t + 2]);
        __m128 r3 = _mm_load_ps(quads[t + 3]);
        _MM_TRANSPOSE4_PS(r0, r1, r2, r3);
        const __m128 g = job.level_ramp != nullptr ? _mm_loadu_ps(job.level_ramp + t) : level;
        _mm_storeu_ps(dst + t, _mm_mul_ps(_mm_add_ps(_mm_add_ps(r0, r2), _mm_add_ps(r1, r3)), g));
    }
    for (; t < n; ++t)
    {
        const float g = job.level_ramp != nullptr ? job.level_ramp[t] : job.level;
        dst[t] = ((quads[t][0] + quads[t][2]) + (quads[t][1] + quads[t][3])) * g;
    }
}

// The bank over a chunk. Row t + 2 of a channel's input area holds x - x2 of every lane at sample
// t, the feed-forward difference of a band-pass section, taken while the input is gathered.
template <class V, int NV, int NCH, bool Fading>
void bank_loop(const BankJob& job)
{
    using reg = reg_t<V>;
    constexpr int w = V::width;
    constexpr int rows = BankJob::work_rows;
    constexpr int lanes = BandLanes::bands;
    BandLanes& l = *job.lanes;
    const int n = job.n;

    reg y1[NCH][NV], y2[NCH][NV], g[NCH][NV], gs[NCH][NV];
    for (int c = 0; c < NCH; ++c)
    {
        for (int v = 0; v < NV; ++v)
        {
            const int o = c * lanes + v * w;
            y1[c][v] = V::load(l.y1 + o);
            y2[c][v] = V::load(l.y2 + o);
            g[c][v] = V::load(l.gain + o);
            gs[c][v] = V::load(l.gain_step + o);
        }
    }
    const reg zero = V::zero();
    const reg one = V::set1(1.0f);
    // At the start of a page: the stack's offset within its page changes from one process to
    // the next, and 16 bands ran up to 8% apart between processes with it, most likely from
    // false 4 KiB dependencies between these stores and the loads of the lines and input area.
    alignas(4096) float quads[NCH][BankJob::max_chunk][4];

    // One sample of every channel, its band terms folded as far as one register goes.
    auto sample = [&](int t, reg(&folded)[NCH])
    {
        for (int c = 0; c < NCH; ++c)
        {
            const float* row = job.work + (c * rows + t + 2) * lanes;
            reg term[NV];
            for (int v = 0; v < NV; ++v)
            {
                const int o = c * lanes + v * w;
                const reg y = band_pass<V>(V::load(row + v * w), y1[c][v], y2[c][v],
                                           V::load(l.b0 + o), V::load(l.a1 + o), V::load(l.a2 + o));
                y2[c][v] = y1[c][v];
                y1[c][v] = y;
                if (Fading)
                {
                    term[v] = V::mul(y, g[c][v]);
                    g[c][v] = V::min(V::max(V::add(g[c][v], gs[c][v]), zero), one);
                }
                else
                {
                    term[v] = y;
                }
            }
            folded[c] = V::template fold<NV>(term);
        }
    };
    // Samples in pairs, whose quads are finished together.
    int t = 0;
    for (; t + 2 <= n; t += 2)
    {
        reg first[NCH];
        reg second[NCH];
        sample(t, first);
        sample(t + 1, second);
        for (int c = 0; c < NCH; ++c)
        {
            V::store_quads(quads[c][t], first[c], second[c]);
        }
    }
    if (t < n)
    {
        reg last[NCH];
        sample(t, last);
        for (int c = 0; c < NCH; ++c)
        {
            V::store_quad(quads[c][t], last[c]);
        }
    }

    for (int c = 0; c < NCH; ++c)
    {
        V::finish_quads(job.sum[c], quads[c], n, job);
        for (int v = 0; v < NV; ++v)
        {
            const int o = c * lanes + v * w;
            V::store(l.y1 + o, y1[c][v]);
            V::store(l.y2 + o, y2[c][v]);
            V::store(l.gain + o, g[c][v]);
        }
    }
}

// Fills the input area with x - x2 of every lane, x being the delayed input of every processed
// band, transposed from the delay lines, or one sample broadcast to all lanes when every band
// reads the same frames; the lanes' last two inputs become their history.
template <class V>
void gather_input(const BankJob& job, int nv)
{
    using reg = reg_t<V>;
    constexpr int w = V::width;
    constexpr int rows = BankJob::work_rows;
    constexpr int lanes = BandLanes::bands;
    BandLanes& l = *job.lanes;
    const int n = job.n;
    for (int c = 0; c < job.nbr_chn; ++c)
    {
        float* area = job.work + (c * rows + 2) * lanes;
        if (job.same_delay)
        {
            const float* src = job.line[c] + job.read_pos[0];
            for (int v = 0; v < nv; ++v)
            {
                const int o = c * lanes + v * w;
                reg x2 = V::load(l.x2 + o);
                reg x1 = V::load(l.x1 + o);
                for (int t = 0; t < n; ++t)
                {
                    const reg x = V::bcast(src + t);
                    V::store(area + t * lanes + v * w, V::sub(x, x2));
                    x2 = x1;
                    x1 = x;
                }
                V::store(l.x2 + o, x2);
                V::store(l.x1 + o, x1);
            }
            continue;
        }
        for (int v = 0; v < nv; ++v)
        {
            const int o = c * lanes + v * w;
            const float* src[w];
            for (int k = 0; k < w; ++k)
            {
                src[k] = job.line[c] + job.read_pos[v * w + k];
            }
            // The inputs two and one samples before the block being transposed.
            const reg old_x1 = V::load(l.x1 + o);
            reg x2 = V::load(l.x2 + o);
            reg x1 = old_x1;
            for (int t0 = 0; t0 < n; t0 += w)
            {
                reg r[w];
                for (int k = 0; k < w; ++k)
                {
                    r[k] = V::loadu(src[k] + t0);
                }
                V::transpose(r);
                V::store(area + t0 * lanes + v * w, V::sub(r[0], x2));
                V::store(area + (t0 + 1) * lanes + v * w, V::sub(r[1], x1));
                for (int k = 2; k < w; ++k)
                {
                    V::store(area + (t0 + k) * lanes + v * w, V::sub(r[k], r[k - 2]));
                }
                x2 = r[w - 2];
                x1 = r[w - 1];
            }
            if (n % w == 0)
            {
                V::store(l.x2 + o, x2);
                V::store(l.x1 + o, x1);
                continue;
            }
            // A chunk that ends inside a block: its last two inputs straight from the lines.
            V::store(l.x2 + o, old_x1);
            for (int k = 0; k < w; ++k)
            {
                if (n >= 2)
                {
                    l.x2[o + k] = src[k][n - 2];
                }
                l.x1[o + k] = src[k][n - 1];
            }
        }
    }
}

template <class V, int NV, int NCH>
void bank_dispatch_flags(const BankJob& job)
{
    job.fading ? bank_loop<V, NV, NCH, true>(job) : bank_loop<V, NV, NCH, false>(job);
}

template <class V, int NV>
void bank_dispatch_chn(const BankJob& job)
{
    if (job.nbr_chn == 2)
    {
        bank_dispatch_flags<V, NV, 2>(job);
    }
    else
    {
        bank_dispatch_flags<V, NV, 1>(job);
    }
}

template <class V>
void run_bank(const BankJob& job) noexcept
{
    constexpr int w = V::width;
    const int nv = (job.nbr_bands + w - 1) / w;
    if (nv <= 0 || job.n <= 0)
    {
        for (int c = 0; c < job.nbr_chn; ++c)
        {
            // Silence at the bank level, as the bands' sums would be: -0 under a level below
            // zero, so the mix downstream adds exactly what it always did.
            for (int t = 0; t < job.n; ++t)
            {
                job.sum[c][t] = 0.0f * (job.level_ramp != nullptr ? job.level_ramp[t] : job.level);
            }
        }
        return;
    }
    gather_input<V>(job, nv);
    if constexpr (w == 8)
    {
        nv == 1 ? bank_dispatch_chn<V, 1>(job) : bank_dispatch_chn<V, 2>(job);
    }
    else
    {
        switch (nv)
        {
        case 1:
            bank_dispatch_chn<V, 1>(job);
            break;
        case 2:
            bank_dispatch_chn<V, 2>(job);
            break;
        case 3:
            bank_dispatch_chn<V, 3>(job);
            break;
        default:
            bank_dispatch_chn<V, 4>(job);
            break;
        }
    }
}

// atan in float: reduction to |t| <= tan(pi/8) by atan(x) = pi/2 + atan(-1/x) above
// tan(3pi/8) and pi/4 + atan((x - 1)/(x + 1)) above tan(pi/8), then an odd polynomial. The
// constants pi/2 and pi/4 are added as a high and a low part. R registers side by side, step by
// step: one register's chain of dependent steps (a division, then the polynomial) is longer than
// the processor can look ahead, so chains written one after the other would wait in turn.
template <class V, int R>
inline void atan_regs(reg_t<V> (&x)[R])
{
    using reg = reg_t<V>;
    const reg sign_bit = V::set1(-0.0f);
    const reg one = V::set1(1.0f);
    reg sign[R], t[R], hi[R], lo[R];
    for (int i = 0; i < R; ++i)
    {
        sign[i] = V::and_(sign_bit, x[i]);
        const reg a = V::andnot(sign_bit, x[i]);
        const reg big = V::gt(a, V::set1(2.414213562373095f));
        const reg mid = V::andnot(big, V::gt(a, V::set1(0.4142135623730950f)));
        const reg num = V::select(big, V::set1(-1.0f), V::select(mid, V::sub(a, one), a));
        const reg den = V::select(big, a, V::select(mid, V::add(a, one), one));
        t[i] = V::div(num, den);
        hi[i] = V::select(big, V::set1(1.57079637050628662109375f),
                          V::select(mid, V::set1(0.785398185253143310546875f), V::zero()));
        lo[i] = V::select(big, V::set1(-4.37113900018624283e-8f),
                          V::select(mid, V::set1(-2.18556950009312141e-8f), V::zero()));
    }
    // The odd polynomial t + t z (c1 + c2 z + c3 z^2 + c4 z^3), z = t^2, with its two halves
    // evaluated side by side to shorten the dependency chain.
    for (int i = 0; i < R; ++i)
    {
        const reg z = V::mul(t[i], t[i]);
        const reg z2 = V::mul(z, z);
        const reg low = V::add(V::set1(-3.33329491539e-1f), V::mul(V::set1(1.99777106478e-1f), z));
        const reg high = V::add(V::set1(-1.38776856032e-1f), V::mul(V::set1(8.05374449538e-2f), z));
        const reg p = V::add(V::mul(V::mul(V::add(low, V::mul(high, z2)), z), t[i]), t[i]);
        x[i] = V::xor_(V::add(hi[i], V::add(lo[i], p)), sign[i]);
    }
}

template <class V>
inline reg_t<V> atan_reg(reg_t<V> x)
{
    reg_t<V> r[1] = {x};
    atan_regs<V, 1>(r);
    return r[0];
}

// The exact distortion curve of R vectors in place, u = x k; NaN gives 0.
template <class V, int R>
inline void shape_regs(reg_t<V> (&x)[R], reg_t<V> k)
{
    for (int i = 0; i < R; ++i)
    {
        x[i] = V::mul(x[i], k);
    }
    atan_regs<V, R>(x);
    for (int i = 0; i < R; ++i)
    {
        const reg_t<V> y = V::mul(V::set1(0.636619772367581343f), x[i]);
        x[i] = V::and_(V::eq(y, y), y);
    }
}

template <class V>
inline reg_t<V> shape_reg(reg_t<V> x, reg_t<V> k)
{
    reg_t<V> r[1] = {x};
    shape_regs<V, 1>(r, k);
    return r[0];
}

// Runs f on whole vectors, and on the remainder through a padded copy, so that dst and src need
// no padding and every sample sees the same arithmetic.
template <class V, class F>
inline void for_each_vector(float* dst, const float* src, int n, F f)
{
    constexpr int w = V::width;
    int t = 0;
    for (; t + w <= n; t += w)
    {
        V::storeu(dst + t, f(V::loadu(src + t)));
    }
    if (t < n)
    {
        alignas(32) float tmp[w] = {};
        for (int i = 0; i < n - t; ++i)
        {
            tmp[i] = src[t + i];
        }
        V::store(tmp, f(V::load(tmp)));
        for (int i = 0; i < n - t; ++i)
        {
            dst[t + i] = tmp[i];
        }
    }
}

// The curve behind the main band: shaped = shape(mix + gain y) over the chunk, y being the
// filter's output in dst, vector by vector and the remainder through a padded copy. A pass of
// its own rather than inside the recursion: its long chain of dependent steps then overlaps
// freely from one vector to the next, where inside the recursion it filled the processor's
// window of pending instructions and held the recursion back.
template <class V, int NCH>
void shape_outputs(const MainBandJob& job, int n)
{
    using reg = reg_t<V>;
    constexpr int w = V::width;
    if (job.shaped[0] == nullptr && job.shaped[NCH - 1] == nullptr)
    {
        return;
    }
    const reg rk = V::set1(job.shape_k);
    // u for w samples of channel c, read from the given copies of dst, gain and mix.
    auto u_from = [&](int c, const float* y, const float* gain, const float* mix)
    {
        reg u = V::loadu(y);
        if (job.gain != nullptr)
        {
            u = V::mul(V::loadu(gain), u);
        }
        if (job.mix[c] != nullptr)
        {
            u = V::add(V::loadu(mix), u);
        }
        return u;
    };
    // u for w samples of channel c from t on.
    auto u_at = [&](int c, int t)
    {
        return u_from(c, job.dst[c] + t, job.gain != nullptr ? job.gain + t : nullptr,
                      job.mix[c] != nullptr ? job.mix[c] + t : nullptr);
    };
    // Two vectors of every channel side by side (a channel that is not shaped is computed and
    // dropped).
    constexpr int r = 2 * NCH;
    int t = 0;
    for (; t + 2 * w <= n; t += 2 * w)
    {
        reg u[r];
        for (int i = 0; i < r; ++i)
        {
            u[i] = u_at(i / 2, t + i % 2 * w);
        }
        shape_regs<V, r>(u, rk);
        for (int i = 0; i < r; ++i)
        {
            if (job.shaped[i / 2] != nullptr)
            {
                V::storeu(job.shaped[i / 2] + t + i % 2 * w, u[i]);
            }
        }
    }
    for (; t + w <= n; t += w)
    {
        for (int c = 0; c < NCH; ++c)
        {
            if (job.shaped[c] != nullptr)
            {
                V::storeu(job.shaped[c] + t, shape_reg<V>(u_at(c, t), rk));
            }
        }
    }
    if (t == n)
    {
        return;
    }
    for (int c = 0; c < NCH; ++c)
    {
        if (job.shaped[c] == nullptr)
        {
            continue;
        }
        alignas(32) float y[w] = {};
        alignas(32) float gain[w] = {};
        alignas(32) float mix[w] = {};
        for (int i = 0; i < n - t; ++i)
        {
            y[i] = job.dst[c][t + i];
            gain[i] = job.gain != nullptr ? job.gain[t + i] : 0.0f;
            mix[i] = job.mix[c] != nullptr ? job.mix[c][t + i] : 0.0f;
        }
        alignas(32) float out[w];
        V::store(out, shape_reg<V>(u_from(c, y, gain, mix), rk));
        for (int i = 0; i < n - t; ++i)
        {
            job.shaped[c][t + i] = out[i];
        }
    }
}

// The main band in block form: the feed-forward part for the whole chunk, then 8 outputs at a
// time from it and the previous two outputs, then the remainder one by one. The channels run in
// the same loop, so that their recursions overlap.
template <class V, int NCH>
void main_band_loop(const MainBandJob& job)
{
    using reg = reg_t<V>;
    constexpr int w = V::width;
    constexpr int len = BiquadBlock::length;
    constexpr int halves = len / w;
    const BiquadCoefs& k = *job.coefs;
    const BiquadBlock& blk = *job.block;
    const int n = job.n;

    // The feed-forward values, read straight from the input: the first vector through the
    // history, and whatever does not fill a vector one by one with the same arithmetic.
    // At the start of a page, for the same reason as the band sums of the bank.
    alignas(4096) float vb[NCH][BankJob::max_chunk + len];
    const reg b0 = V::set1(k.b0);
    const reg b1 = V::set1(k.b1);
    const reg b2 = V::set1(k.b2);
    alignas(32)
        const float guard_pattern[8] = {1e-20f, 0.0f, 1e-20f, 0.0f, 1e-20f, 0.0f, 1e-20f, 0.0f};
    const reg guard = job.guarded ? V::load(guard_pattern) : V::zero();
    const float guard_even = job.guarded ? 1e-20f : 0.0f;
    const int head = n < w ? n : w;
    // The history after this chunk, taken before dst (which may be src) is written.
    float last_x1[NCH];
    float last_x2[NCH];
    for (int c = 0; c < NCH; ++c)
    {
        const float* x = job.src[c];
        const BiquadState& s = *job.state[c];
        if (n >= w)
        {
            // The first vector with the history shifted in.
            const reg x0 = V::loadu(x);
            const reg v = V::add(V::add(V::mul(b0, x0), V::mul(b1, V::shift_in1(x0, s.x1))),
                                 V::mul(b2, V::shift_in2(x0, s.x2, s.x1)));
            V::store(vb[c], V::add(v, guard));
        }
        else
        {
            float x1 = s.x1;
            float x2 = s.x2;
            for (int t = 0; t < n; ++t)
            {
                const float ff = (k.b0 * x[t] + k.b1 * x1) + k.b2 * x2;
                vb[c][t] = ff + ((t & 1) == 0 ? guard_even : 0.0f);
                x2 = x1;
                x1 = x[t];
            }
        }
        int t = head;
        for (; t + w <= n; t += w)
        {
            const reg v =
                V::add(V::add(V::mul(b0, V::loadu(x + t)), V::mul(b1, V::loadu(x + t - 1))),
                       V::mul(b2, V::loadu(x + t - 2)));
            V::store(vb[c] + t, V::add(v, guard));
        }
        for (; t < n; ++t)
        {
            const float ff = (k.b0 * x[t] + k.b1 * x[t - 1]) + k.b2 * x[t - 2];
            vb[c][t] = ff + ((t & 1) == 0 ? guard_even : 0.0f);
        }
        last_x1[c] = n >= 1 ? x[n - 1] : s.x1;
        last_x2[c] = n >= 2 ? x[n - 2] : (n == 1 ? s.x1 : s.x2);
    }

    // One block of one channel; the two previous outputs stay in registers between blocks.
    auto block = [&](int c, int t0, reg& ry1, reg& ry2)
    {
        const reg d = V::sub(ry1, ry2);
        reg last = V::zero();
        for (int h = 0; h < halves; ++h)
        {
            reg acc = V::mul(V::bcast(vb[c] + t0), V::loadu(blk.col(0) + h * w));
            for (int j = 1; j < len; ++j)
            {
                acc = V::add(acc, V::mul(V::bcast(vb[c] + t0 + j), V::loadu(blk.col(j) + h * w)));
            }
            const reg state =
                V::add(V::mul(ry1, V::load(blk.p + h * w)), V::mul(d, V::load(blk.q + h * w)));
            last = V::add(acc, state);
            V::storeu(job.dst[c] + t0 + h * w, last);
        }
        ry1 = V::template lane_bcast<w - 1>(last);
        ry2 = V::template lane_bcast<w - 2>(last);
    };
    const int whole = n - n % len;
    reg ry1_l = V::set1(job.state[0]->y1);
    reg ry2_l = V::set1(job.state[0]->y2);
    reg ry1_r = ry1_l;
    reg ry2_r = ry2_l;
    if constexpr (NCH == 2)
    {
        ry1_r = V::set1(job.state[1]->y1);
        ry2_r = V::set1(job.state[1]->y2);
    }
    for (int t0 = 0; t0 < whole; t0 += len)
    {
        block(0, t0, ry1_l, ry2_l);
        if constexpr (NCH == 2)
        {
            block(1, t0, ry1_r, ry2_r);
        }
    }
    for (int c = 0; c < NCH; ++c)
    {
        BiquadState& s = *job.state[c];
        float* dst = job.dst[c];
        // From the registers: dst may already hold the shaped values.
        float y1 = V::first(c == 0 ? ry1_l : ry1_r);
        float y2 = V::first(c == 0 ? ry2_l : ry2_r);
        for (int t = whole; t < n; ++t)
        {
            const float y = vb[c][t] - (k.a1 * y1 + k.a2 * y2);
            y2 = y1;
            y1 = y;
            dst[t] = y;
        }
        if (n > 0)
        {
            s.x1 = last_x1[c];
            s.x2 = last_x2[c];
            s.y1 = y1;
            s.y2 = y2;
        }
    }
    shape_outputs<V, NCH>(job, n);
}

template <class V>
void run_main_band(const MainBandJob& job) noexcept
{
    if (job.nbr_chn == 2)
    {
        main_band_loop<V, 2>(job);
    }
    else
    {
        main_band_loop<V, 1>(job);
    }
}

template <class V>
void run_atan(float* dst, const float* src, int n) noexcept
{
    for_each_vector<V>(dst, src, n, [](reg_t<V> x) { return atan_reg<V>(x); });
}

template <class V>
void shape_exact(float* const dst[2], const float* const src[2], int nbr_chn, float k,
                 int n) noexcept
{
    // Both channels in one loop, so that their long dependency chains overlap.
    const reg_t<V> rk = V::set1(k);
    auto f = [&](reg_t<V> x) { return shape_reg<V>(x, rk); };
    constexpr int w = V::width;
    int t = 0;
    if (nbr_chn == 2)
    {
        for (; t + w <= n; t += w)
        {
            const reg_t<V> a = f(V::loadu(src[0] + t));
            const reg_t<V> b = f(V::loadu(src[1] + t));
            V::storeu(dst[0] + t, a);
            V::storeu(dst[1] + t, b);
        }
    }
    for (int c = 0; c < nbr_chn; ++c)
    {
        for_each_vector<V>(dst[c] + t, src[c] + t, n - t, f);
    }
}

// sin and cos of v in [0, pi/4] (Taylor series), then 1 / tan(pi x): the arithmetic of
// Biquad::cot_pi, lane by lane, for R registers side by side, so that their long chains of
// dependent steps overlap instead of waiting for each other.
template <class VD, int R>
inline void cot_pi(typename VD::reg (&x)[R])
{
    using reg = typename VD::reg;
    constexpr double pi = 3.141592653589793;
    constexpr double sin_terms[] = {
        -1.0 / 1307674368000.0, 1.0 / 6227020800.0, -1.0 / 39916800.0, 1.0 / 362880.0,
        -1.0 / 5040.0,          1.0 / 120.0,        -1.0 / 6.0};
    constexpr double cos_terms[] = {
        -1.0 / 20922789888000.0, 1.0 / 87178291200.0, -1.0 / 479001600.0, 1.0 / 3628800.0,
        -1.0 / 40320.0,          1.0 / 720.0,         -1.0 / 24.0,        0.5};
    reg near[R], v[R], z[R], s[R], c[R];
    for (int i = 0; i < R; ++i)
    {
        near[i] = VD::le(x[i], VD::set1(0.25));
        v[i] = VD::select(near[i], VD::mul(VD::set1(pi), x[i]),
                          VD::mul(VD::set1(pi), VD::sub(VD::set1(0.5), x[i])));
        z[i] = VD::mul(v[i], v[i]);
        s[i] = VD::set1(1.0 / 355687428096000.0);
        c[i] = VD::set1(1.0 / 6402373705728000.0);
    }
    // A negative term is subtracted as its magnitude, as the scalar series does.
    for (const double term : sin_terms)
    {
        for (int i = 0; i < R; ++i)
        {
            s[i] = term < 0.0 ? VD::sub(VD::mul(s[i], z[i]), VD::set1(-term))
                              : VD::add(VD::mul(s[i], z[i]), VD::set1(term));
        }
    }
    for (const double term : cos_terms)
    {
        for (int i = 0; i < R; ++i)
        {
            c[i] = term < 0.0 ? VD::sub(VD::mul(c[i], z[i]), VD::set1(-term))
                              : VD::add(VD::mul(c[i], z[i]), VD::set1(term));
        }
    }
    for (int i = 0; i < R; ++i)
    {
        const reg sin_v = VD::add(v[i], VD::mul(v[i], VD::mul(z[i], s[i])));
        const reg cos_v = VD::sub(VD::set1(1.0), VD::mul(z[i], c[i]));
        x[i] = VD::div(VD::select(near[i], cos_v, sin_v), VD::select(near[i], sin_v, cos_v));
    }
}

// The first R registers of bands, side by side.
template <class VD, int R>
void design_registers(SectionDesignJob& job) noexcept
{
    using reg = typename VD::reg;
    constexpr int w = VD::width;
    const reg rate = VD::set1(static_cast<double>(job.rate));
    const reg limit = VD::mul(VD::set1(0.49), rate);
    const reg one = VD::set1(1.0);
    const reg two = VD::set1(2.0);
    // G/Q and 1/Q in float, 4 bands at a time.
    for (int b = 0; b < R * w; b += 4)
    {
        const __m128 q = _mm_load_ps(job.q + b);
        _mm_store_ps(job.s1 + b, _mm_div_ps(_mm_load_ps(job.gain + b), q));
        _mm_store_ps(job.d1 + b, _mm_div_ps(_mm_set1_ps(1.0f), q));
    }
    reg k[R];
    for (int i = 0; i < R; ++i)
    {
        const reg freq = VD::min(VD::from_float(job.freq + i * w), limit);
        k[i] = VD::div(freq, rate);
    }
    cot_pi<VD, R>(k);
    for (int i = 0; i < R; ++i)
    {
        const int b = i * w;
        const reg s0 = VD::from_float(job.s0 + b);
        const reg s1 = VD::from_float(job.s1 + b);
        const reg d1 = VD::from_float(job.d1 + b);
        const reg kk = VD::mul(k[i], k[i]);
        const reg e = VD::add(one, kk);
        const reg m = VD::div(one, VD::add(e, VD::mul(d1, k[i])));
        const reg s1k = VD::mul(s1, k[i]);
        VD::to_float(job.b0 + b, VD::mul(VD::add(s0, s1k), m));
        VD::to_float(job.b1 + b, VD::mul(VD::mul(two, s0), m));
        VD::to_float(job.b2 + b, VD::mul(VD::sub(s0, s1k), m));
        VD::to_float(job.a1 + b, VD::mul(VD::mul(two, VD::sub(one, kk)), m));
        VD::to_float(job.a2 + b, VD::mul(VD::sub(e, VD::mul(d1, k[i])), m));
    }
}

// The band-pass and low-pass cases of Biquad::update, 4 sections a group: G/Q and 1/Q in float,
// the bilinear transform in double. The terms in s2, zero for both, are left out; they change no
// bit of the result. Whole groups are designed (the arrays have room for the last one), as many
// registers at once as the job needs, up to 16 sections.
template <class VD>
void design_sections(SectionDesignJob& job) noexcept
{
    constexpr int w = VD::width;
    constexpr int per_group = 4 / w;
    switch ((job.n + 3) / 4)
    {
    case 0:
        break;
    case 1:
        design_registers<VD, per_group>(job);
        break;
    case 2:
        design_registers<VD, 2 * per_group>(job);
        break;
    case 3:
        design_registers<VD, 3 * per_group>(job);
        break;
    default:
        design_registers<VD, 4 * per_group>(job);
        break;
    }
}

template <class V>
void add(float* dst, const float* a, const float* b, int n) noexcept
{
    constexpr int w = V::width;
    int t = 0;
    for (; t + w <= n; t += w)
    {
        V::storeu(dst + t, V::add(V::loadu(a + t), V::loadu(b + t)));
    }
    for (; t < n; ++t)
    {
        dst[t] = a[t] + b[t];
    }
}

// x, or 0 where x is NaN or infinite: x - x is 0 exactly for finite x and NaN otherwise.
template <class V>
inline reg_t<V> finite_or_zero(reg_t<V> x)
{
    return V::and_(V::eq(V::sub(x, x), V::zero()), x);
}

template <class V>
void sanitize(float* dst, const float* src, int n) noexcept
{
    for_each_vector<V>(dst, src, n, [](reg_t<V> x) { return finite_or_zero<V>(x); });
}

template <class V>
void mix_clean(float* dst, const float* bank, const float* main, const float* gain, int n) noexcept
{
    constexpr int w = V::width;
    int t = 0;
    for (; t + w <= n; t += w)
    {
        reg_t<V> v = V::mul(V::loadu(gain + t), V::loadu(main + t));
        if (bank != nullptr)
        {
            v = V::add(V::loadu(bank + t), v);
        }
        V::storeu(dst + t, finite_or_zero<V>(v));
    }
    for (; t < n; ++t)
    {
        float v = gain[t] * main[t];
        if (bank != nullptr)
        {
            v = bank[t] + v;
        }
        dst[t] = v - v == 0.0f ? v : 0.0f;
    }
}

} // namespace dsp_kernels_impl
