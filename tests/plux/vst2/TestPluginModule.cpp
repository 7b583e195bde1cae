// The test effect as a plug-in module, for tests that load it as a DAW does; the fuzz targets
// build their effect from this factory when Morvane's engine is not part of the build.
#include "TestEffect.hpp"

const plux::EffectFactoryInterface& plux::use_effect_factory()
{
    static const plux_test::TestFactory factory;
    return factory;
}
