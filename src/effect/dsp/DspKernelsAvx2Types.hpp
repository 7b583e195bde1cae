#pragma once

// The eight-lane vector types, the noise generator and the table of the wide kernels. Included only
// by the units compiled for AVX2, each of which gets its own copies in its anonymous namespace,
// built with that unit's instruction set.
#include <immintrin.h>

#include "effect/dsp/DspKernelsImpl.hpp"

namespace
{

// Eight lanes with AVX and AVX2.
struct Avx2
{
    static constexpr int width = 8;
    using reg = __m256;

    static reg zero() { return _mm256_setzero_ps(); }
    static reg set1(float v) { return _mm256_set1_ps(v); }
    static reg load(const float* p) { return _mm256_load_ps(p); }
    static reg loadu(const float* p) { return _mm256_loadu_ps(p); }
    static reg bcast(const float* p) { return _mm256_broadcast_ss(p); }
    static void store(float* p, reg v) { _mm256_store_ps(p, v); }
    static void storeu(float* p, reg v) { _mm256_storeu_ps(p, v); }
    static reg add(reg a, reg b) { return _mm256_add_ps(a, b); }
    static reg sub(reg a, reg b) { return _mm256_sub_ps(a, b); }
    static reg mul(reg a, reg b) { return _mm256_mul_ps(a, b); }
    static reg div(reg a, reg b) { return _mm256_div_ps(a, b); }
    static reg min(reg a, reg b) { return _mm256_min_ps(a, b); }
    static reg max(reg a, reg b) { return _mm256_max_ps(a, b); }
    static reg and_(reg a, reg b) { return _mm256_and_ps(a, b); }
    static reg andnot(reg a, reg b) { return _mm256_andnot_ps(a, b); }
    static reg xor_(reg a, reg b) { return _mm256_xor_ps(a, b); }
    static reg gt(reg a, reg b) { return _mm256_cmp_ps(a, b, _CMP_GT_OQ); }
    static reg eq(reg a, reg b) { return _mm256_cmp_ps(a, b, _CMP_EQ_OQ); }
    static reg select(reg m, reg a, reg b) { return _mm256_blendv_ps(b, a, m); }

    // {p, x0, ..., x6} and {p2, p1, x0, ..., x5}.
    static reg shift_in1(reg x, float p)
    {
        const reg up = _mm256_permutevar8x32_ps(x, _mm256_setr_epi32(0, 0, 1, 2, 3, 4, 5, 6));
        return _mm256_blend_ps(up, _mm256_set1_ps(p), 0x01);
    }
    static reg shift_in2(reg x, float p2, float p1)
    {
        const reg up = _mm256_permutevar8x32_ps(x, _mm256_setr_epi32(0, 0, 0, 1, 2, 3, 4, 5));
        return _mm256_blend_ps(up, _mm256_setr_ps(p2, p1, 0, 0, 0, 0, 0, 0), 0x03);
    }

    static void transpose(reg (&r)[8])
    {
        const reg t0 = _mm256_unpacklo_ps(r[0], r[1]);
        const reg t1 = _mm256_unpackhi_ps(r[0], r[1]);
        const reg t2 = _mm256_unpacklo_ps(r[2], r[3]);
        const reg t3 = _mm256_unpackhi_ps(r[2], r[3]);
        const reg t4 = _mm256_unpacklo_ps(r[4], r[5]);
        const reg t5 = _mm256_unpackhi_ps(r[4], r[5]);
        const reg t6 = _mm256_unpacklo_ps(r[6], r[7]);
        const reg t7 = _mm256_unpackhi_ps(r[6], r[7]);
        const reg u0 = _mm256_shuffle_ps(t0, t2, _MM_SHUFFLE(1, 0, 1, 0));
        const reg u1 = _mm256_shuffle_ps(t0, t2, _MM_SHUFFLE(3, 2, 3, 2));
        const reg u2 = _mm256_shuffle_ps(t1, t3, _MM_SHUFFLE(1, 0, 1, 0));
        const reg u3 = _mm256_shuffle_ps(t1, t3, _MM_SHUFFLE(3, 2, 3, 2));
        const reg u4 = _mm256_shuffle_ps(t4, t6, _MM_SHUFFLE(1, 0, 1, 0));
        const reg u5 = _mm256_shuffle_ps(t4, t6, _MM_SHUFFLE(3, 2, 3, 2));
        const reg u6 = _mm256_shuffle_ps(t5, t7, _MM_SHUFFLE(1, 0, 1, 0));
        const reg u7 = _mm256_shuffle_ps(t5, t7, _MM_SHUFFLE(3, 2, 3, 2));
        r[0] = _mm256_permute2f128_ps(u0, u4, 0x20);
        r[1] = _mm256_permute2f128_ps(u1, u5, 0x20);
        r[2] = _mm256_permute2f128_ps(u2, u6, 0x20);
        r[3] = _mm256_permute2f128_ps(u3, u7, 0x20);
        r[4] = _mm256_permute2f128_ps(u0, u4, 0x31);
        r[5] = _mm256_permute2f128_ps(u1, u5, 0x31);
        r[6] = _mm256_permute2f128_ps(u2, u6, 0x31);
        r[7] = _mm256_permute2f128_ps(u3, u7, 0x31);
    }

    // Bands j and j + 8 added.
    template <int NV>
    static reg fold(const reg (&t)[NV])
    {
        if constexpr (NV > 1)
        {
            return _mm256_add_ps(t[0], t[1]);
        }
        return t[0];
    }
    static void store_quad(float* dst, reg folded)
    {
        _mm_store_ps(dst,
                     _mm_add_ps(_mm256_castps256_ps128(folded), _mm256_extractf128_ps(folded, 1)));
    }
    // The quads of two samples with one addition: their low halves against their high ones.
    static void store_quads(float* dst, reg first, reg second)
    {
        const reg low = _mm256_insertf128_ps(first, _mm256_castps256_ps128(second), 1);
        const reg high = _mm256_permute2f128_ps(first, second, 0x31);
        _mm256_store_ps(dst, _mm256_add_ps(low, high));
    }
    // Eight samples at a time: four registers of two quads each, transposed within their halves,
    // give the sums of the even samples in the low half and of the odd ones in the high half.
    static void finish_quads(float* dst, const float (*quads)[4], int n, const BankJob& job)
    {
        const reg level = _mm256_set1_ps(job.level);
        const __m256i order = _mm256_setr_epi32(0, 4, 1, 5, 2, 6, 3, 7);
        int t = 0;
        for (; t + 8 <= n; t += 8)
        {
            const reg a = _mm256_load_ps(quads[t]);
            const reg b = _mm256_load_ps(quads[t + 2]);
            const reg c = _mm256_load_ps(quads[t + 4]);
            const reg d = _mm256_load_ps(quads[t + 6]);
            const reg ab_lo = _mm256_unpacklo_ps(a, b);
            const reg ab_hi = _mm256_unpackhi_ps(a, b);
            const reg cd_lo = _mm256_unpacklo_ps(c, d);
            const reg cd_hi = _mm256_unpackhi_ps(c, d);
            const reg s0 = _mm256_shuffle_ps(ab_lo, cd_lo, _MM_SHUFFLE(1, 0, 1, 0));
            const reg s1 = _mm256_shuffle_ps(ab_lo, cd_lo, _MM_SHUFFLE(3, 2, 3, 2));
            const reg s2 = _mm256_shuffle_ps(ab_hi, cd_hi, _MM_SHUFFLE(1, 0, 1, 0));
            const reg s3 = _mm256_shuffle_ps(ab_hi, cd_hi, _MM_SHUFFLE(3, 2, 3, 2));
            const reg sum = _mm256_permutevar8x32_ps(
                _mm256_add_ps(_mm256_add_ps(s0, s2), _mm256_add_ps(s1, s3)), order);
            const reg g = job.level_ramp != nullptr ? _mm256_loadu_ps(job.level_ramp + t) : level;
            _mm256_storeu_ps(dst + t, _mm256_mul_ps(sum, g));
        }
        dsp_kernels_impl::finish_quads<Avx2>(dst, quads, n, job, t);
    }

    static float first(reg v) { return _mm256_cvtss_f32(v); }

    template <int I>
    static reg lane_bcast(reg v)
    {
        return _mm256_permutevar8x32_ps(v, _mm256_set1_epi32(I));
    }
};

// Four double lanes with AVX.
struct Avx2d
{
    static constexpr int width = 4;
    using reg = __m256d;

    static reg set1(double v) { return _mm256_set1_pd(v); }
    static reg from_float(const float* p) { return _mm256_cvtps_pd(_mm_loadu_ps(p)); }
    static void to_float(float* p, reg v) { _mm_storeu_ps(p, _mm256_cvtpd_ps(v)); }
    static reg add(reg a, reg b) { return _mm256_add_pd(a, b); }
    static reg sub(reg a, reg b) { return _mm256_sub_pd(a, b); }
    static reg mul(reg a, reg b) { return _mm256_mul_pd(a, b); }
    static reg div(reg a, reg b) { return _mm256_div_pd(a, b); }
    static reg min(reg a, reg b) { return _mm256_min_pd(a, b); }
    static reg le(reg a, reg b) { return _mm256_cmp_pd(a, b, _CMP_LE_OQ); }
    static reg select(reg m, reg a, reg b) { return _mm256_blendv_pd(b, a, m); }
};

// Eight generator chains in the lanes of one register, each jumping eight states at a time.
void make_noise(float* dst, std::uint32_t& state, int n) noexcept
{
    using Lcg = dsp_kernels_impl::Lcg<Avx2>;
    // The first eight states straight from the current one, lane j jumping j + 1 states.
    const __m256i first_mul =
        _mm256_setr_epi32(static_cast<int>(Lcg::mul_of(1)), static_cast<int>(Lcg::mul_of(2)),
                          static_cast<int>(Lcg::mul_of(3)), static_cast<int>(Lcg::mul_of(4)),
                          static_cast<int>(Lcg::mul_of(5)), static_cast<int>(Lcg::mul_of(6)),
                          static_cast<int>(Lcg::mul_of(7)), static_cast<int>(Lcg::mul_of(8)));
    const __m256i first_add =
        _mm256_setr_epi32(static_cast<int>(Lcg::add_of(1)), static_cast<int>(Lcg::add_of(2)),
                          static_cast<int>(Lcg::add_of(3)), static_cast<int>(Lcg::add_of(4)),
                          static_cast<int>(Lcg::add_of(5)), static_cast<int>(Lcg::add_of(6)),
                          static_cast<int>(Lcg::add_of(7)), static_cast<int>(Lcg::add_of(8)));
    alignas(32) std::uint32_t s[8];
    __m256i v = _mm256_and_si256(
        _mm256_add_epi32(_mm256_mullo_epi32(_mm256_set1_epi32(static_cast<int>(state)), first_mul),
                         first_add),
        _mm256_set1_epi32(static_cast<int>(Lcg::mask)));
    const __m256i mul = _mm256_set1_epi32(static_cast<int>(Lcg::mul_of(8)));
    const __m256i add = _mm256_set1_epi32(static_cast<int>(Lcg::add_of(8)));
    const __m256i mask = _mm256_set1_epi32(static_cast<int>(Lcg::mask));
    const __m256i sign = _mm256_set1_epi32(static_cast<int>(0x80000000u));
    const __m256i tiny = _mm256_set1_epi32(static_cast<int>(Lcg::tiny_bits));
    std::uint32_t last = state;
    int t = 0;
    for (; t + 8 <= n; t += 8)
    {
        const __m256i bits =
            _mm256_or_si256(tiny, _mm256_andnot_si256(_mm256_slli_epi32(v, 15), sign));
        _mm256_storeu_ps(dst + t, _mm256_castsi256_ps(bits));
        last = static_cast<std::uint32_t>(_mm256_extract_epi32(v, 7));
        v = _mm256_and_si256(_mm256_add_epi32(_mm256_mullo_epi32(v, mul), add), mask);
    }
    _mm256_store_si256(reinterpret_cast<__m256i*>(s), v);
    for (int j = 0; t + j < n; ++j)
    {
        dst[t + j] = __builtin_bit_cast(float, Lcg::value_bits(s[j]));
        last = s[j];
    }
    state = last;
}

// The kernels of a unit, under the name it gives them.
constexpr DspKernels make_wide_kernels(const char* name)
{
    return {dsp_kernels_impl::run_bank<Avx2>,
            dsp_kernels_impl::run_main_band<Avx2>,
            dsp_kernels_impl::run_atan<Avx2>,
            dsp_kernels_impl::shape_exact<Avx2>,
            dsp_kernels_impl::sanitize<Avx2>,
            dsp_kernels_impl::mix_clean<Avx2>,
            dsp_kernels_impl::add<Avx2>,
            make_noise,
            dsp_kernels_impl::design_sections<Avx2d>,
            name};
}

} // namespace
