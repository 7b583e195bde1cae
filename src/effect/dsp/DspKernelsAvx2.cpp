// Compiled with -mavx2 (and without FMA, so that products and sums stay separate). Only this
// unit's own anonymous types instantiate the kernels, and nothing here calls into the standard
// library, so no AVX code can leak into functions that the baseline program shares.
#include "effect/dsp/DspKernelsAvx2Types.hpp"

const DspKernels DspKernels::avx2 = {dsp_kernels_impl::run_bank<Avx2>,
                                     dsp_kernels_impl::run_main_band<Avx2>,
                                     dsp_kernels_impl::run_atan<Avx2>,
                                     dsp_kernels_impl::shape_exact<Avx2>,
                                     dsp_kernels_impl::sanitize<Avx2>,
                                     dsp_kernels_impl::add<Avx2>,
                                     make_noise,
                                     dsp_kernels_impl::design_band_pass<Avx2d>,
                                     "AVX2"};
