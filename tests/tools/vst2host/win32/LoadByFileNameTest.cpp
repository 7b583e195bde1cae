#include <gtest/gtest.h>
#include <string>

#include "tools/vst2host/FakePluginAccess.hpp"
#include "vst2host/Host.hpp"

using namespace vst2host;

// Windows looks for a bare file name next to the executable first, where the build puts the
// plug-in; a Unix absolute path (as the other tests use under wine) goes through drive Z:.
TEST(HostLoadOnWindows, FindsThePluginByFileNameNextToTheProgram)
{
    Host host;
    ASSERT_TRUE(host.load(VST2HOST_FAKE_PLUGIN_FILE_NAME)) << host.get_error();
    ASSERT_TRUE(host.start(44100.0f, 32));
    EXPECT_EQ(host.get_effect_name(), "Fake Gain");
}
