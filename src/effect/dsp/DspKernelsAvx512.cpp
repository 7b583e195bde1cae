// The AVX2 kernels compiled with -mavx512f -mavx512vl as well: the same eight-lane arithmetic in
// the same order, with 32 vector registers instead of 16, where the bank's recursion keeps its
// coefficients and histories in registers. Products and sums stay separate here too.
#include "effect/dsp/DspKernelsAvx2Types.hpp"

const DspKernels DspKernels::avx512 = {dsp_kernels_impl::run_bank<Avx2>,
                                       dsp_kernels_impl::run_main_band<Avx2>,
                                       dsp_kernels_impl::run_atan<Avx2>,
                                       dsp_kernels_impl::shape_exact<Avx2>,
                                       dsp_kernels_impl::sanitize<Avx2>,
                                       dsp_kernels_impl::add<Avx2>,
                                       make_noise,
                                       dsp_kernels_impl::design_band_pass<Avx2d>,
                                       "AVX512VL"};
