// The test effect as a plug-in module, for tests that load it as a DAW does.
#include "TestEffect.hpp"

const plux::EffectFactoryInterface& plux::use_effect_factory()
{
    static const plux_test::TestFactory factory;
    return factory;
}
