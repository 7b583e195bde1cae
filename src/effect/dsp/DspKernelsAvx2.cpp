// Compiled with -mavx2 (and without FMA, so that products and sums stay separate). Only this
// unit's own anonymous types instantiate the kernels, and nothing here calls into the standard
// library, so no AVX code can leak into functions that the baseline program shares.
#include "effect/dsp/DspKernelsAvx2Types.hpp"

constinit const DspKernels DspKernels::avx2 = make_wide_kernels("AVX2");
