// The AVX2 kernels compiled with -mavx512f -mavx512vl as well: the same eight-lane arithmetic in
// the same order, with 32 vector registers instead of 16, where the bank's recursion keeps its
// coefficients and histories in registers. Products and sums stay separate here too.
#include "effect/dsp/DspKernelsAvx2Types.hpp"

constinit const DspKernels DspKernels::avx512 = make_wide_kernels("AVX512VL");
