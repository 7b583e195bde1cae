#include <emmintrin.h>

#include "effect/dsp/DspKernelsImpl.hpp"

namespace
{

// Four lanes with the instructions of every x86-64 processor.
struct Sse2
{
    static constexpr int width = 4;
    using reg = __m128;

    static reg zero() { return _mm_setzero_ps(); }
    static reg set1(float v) { return _mm_set1_ps(v); }
    static reg load(const float* p) { return _mm_load_ps(p); }
    static reg loadu(const float* p) { return _mm_loadu_ps(p); }
    static reg bcast(const float* p) { return _mm_load1_ps(p); }
    static void store(float* p, reg v) { _mm_store_ps(p, v); }
    static void storeu(float* p, reg v) { _mm_storeu_ps(p, v); }
    static reg add(reg a, reg b) { return _mm_add_ps(a, b); }
    static reg sub(reg a, reg b) { return _mm_sub_ps(a, b); }
    static reg mul(reg a, reg b) { return _mm_mul_ps(a, b); }
    static reg div(reg a, reg b) { return _mm_div_ps(a, b); }
    static reg min(reg a, reg b) { return _mm_min_ps(a, b); }
    static reg max(reg a, reg b) { return _mm_max_ps(a, b); }
    static reg and_(reg a, reg b) { return _mm_and_ps(a, b); }
    static reg andnot(reg a, reg b) { return _mm_andnot_ps(a, b); }
    static reg xor_(reg a, reg b) { return _mm_xor_ps(a, b); }
    static reg gt(reg a, reg b) { return _mm_cmpgt_ps(a, b); }
    static reg eq(reg a, reg b) { return _mm_cmpeq_ps(a, b); }
    static reg select(reg m, reg a, reg b)
    {
        return _mm_or_ps(_mm_and_ps(m, a), _mm_andnot_ps(m, b));
    }

    // {p, x0, x1, x2} and {p2, p1, x0, x1}.
    static reg shift_in1(reg x, float p)
    {
        return _mm_move_ss(_mm_shuffle_ps(x, x, _MM_SHUFFLE(2, 1, 0, 0)), _mm_set_ss(p));
    }
    static reg shift_in2(reg x, float p2, float p1)
    {
        return _mm_movelh_ps(_mm_setr_ps(p2, p1, 0.0f, 0.0f), x);
    }

    static void transpose(reg (&r)[4]) { _MM_TRANSPOSE4_PS(r[0], r[1], r[2], r[3]); }

    template <int NV>
    static __m128 fold(const reg (&t)[NV])
    {
        reg a = t[0];
        if constexpr (NV > 2)
        {
            a = _mm_add_ps(a, t[2]);
        }
        if constexpr (NV > 1)
        {
            reg b = t[1];
            if constexpr (NV > 3)
            {
                b = _mm_add_ps(b, t[3]);
            }
            return _mm_add_ps(a, b);
        }
        return a;
    }
    static void store_quad(float* dst, reg folded) { _mm_store_ps(dst, folded); }
    static void store_quads(float* dst, reg first, reg second)
    {
        _mm_store_ps(dst, first);
        _mm_store_ps(dst + 4, second);
    }
    static void finish_quads(float* dst, const float (*quads)[4], int n, const BankJob& job)
    {
        dsp_kernels_impl::finish_quads<Sse2>(dst, quads, n, job);
    }

    static float first(reg v) { return _mm_cvtss_f32(v); }

    template <int I>
    static reg lane_bcast(reg v)
    {
        return _mm_shuffle_ps(v, v, _MM_SHUFFLE(I, I, I, I));
    }
};

// Two double lanes with SSE2.
struct Sse2d
{
    static constexpr int width = 2;
    using reg = __m128d;

    static reg set1(double v) { return _mm_set1_pd(v); }
    static reg from_float(const float* p)
    {
        return _mm_cvtps_pd(_mm_castpd_ps(_mm_load_sd(reinterpret_cast<const double*>(p))));
    }
    static void to_float(float* p, reg v)
    {
        _mm_storel_pi(reinterpret_cast<__m64*>(p), _mm_cvtpd_ps(v));
    }
    static reg add(reg a, reg b) { return _mm_add_pd(a, b); }
    static reg sub(reg a, reg b) { return _mm_sub_pd(a, b); }
    static reg mul(reg a, reg b) { return _mm_mul_pd(a, b); }
    static reg div(reg a, reg b) { return _mm_div_pd(a, b); }
    static reg min(reg a, reg b) { return _mm_min_pd(a, b); }
    static reg le(reg a, reg b) { return _mm_cmple_pd(a, b); }
    static reg select(reg m, reg a, reg b)
    {
        return _mm_or_pd(_mm_and_pd(m, a), _mm_andnot_pd(m, b));
    }
};

// Four interleaved generator chains, each jumping four states at a time.
void make_noise(float* dst, std::uint32_t& state, int n) noexcept
{
    using Lcg = dsp_kernels_impl::Lcg<Sse2>;
    constexpr std::uint32_t a4 = Lcg::mul_of(4);
    constexpr std::uint32_t c4 = Lcg::add_of(4);
    // The first four states straight from the current one, chain j jumping j + 1 states.
    std::uint32_t s[4];
    s[0] = (state * Lcg::mul_of(1) + Lcg::add_of(1)) & Lcg::mask;
    s[1] = (state * Lcg::mul_of(2) + Lcg::add_of(2)) & Lcg::mask;
    s[2] = (state * Lcg::mul_of(3) + Lcg::add_of(3)) & Lcg::mask;
    s[3] = (state * Lcg::mul_of(4) + Lcg::add_of(4)) & Lcg::mask;
    std::uint32_t last = state;
    int t = 0;
    for (; t + 4 <= n; t += 4)
    {
        for (int j = 0; j < 4; ++j)
        {
            dst[t + j] = __builtin_bit_cast(float, Lcg::value_bits(s[j]));
        }
        last = s[3];
        for (int j = 0; j < 4; ++j)
        {
            s[j] = (s[j] * a4 + c4) & Lcg::mask;
        }
    }
    for (int j = 0; t + j < n; ++j)
    {
        dst[t + j] = __builtin_bit_cast(float, Lcg::value_bits(s[j]));
        last = s[j];
    }
    state = last;
}

} // namespace

const DspKernels DspKernels::sse2 = {dsp_kernels_impl::run_bank<Sse2>,
                                     dsp_kernels_impl::run_main_band<Sse2>,
                                     dsp_kernels_impl::run_atan<Sse2>,
                                     dsp_kernels_impl::shape_exact<Sse2>,
                                     dsp_kernels_impl::sanitize<Sse2>,
                                     dsp_kernels_impl::mix_clean<Sse2>,
                                     dsp_kernels_impl::add<Sse2>,
                                     make_noise,
                                     dsp_kernels_impl::design_sections<Sse2d>,
                                     "SSE2"};
