// The effect of the fuzz targets when Morvane's engine is not part of the build: the test effect,
// without its editor, which records every change it is told of and would grow without bound over
// millions of inputs.
#include "plux/vst2/TestEffect.hpp"

const plux::EffectFactoryInterface& plux::use_effect_factory()
{
    static const plux_test::TestFactory factory(
        []
        {
            plux_test::TestConfig config;
            config.with_gui = false;
            return config;
        }());
    return factory;
}
