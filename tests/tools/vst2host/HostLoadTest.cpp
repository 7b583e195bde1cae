#include <functional>
#include <gtest/gtest.h>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "tools/vst2host/FakePluginAccess.hpp"
#include "vst2host/Host.hpp"

using namespace vst2host;
using namespace vst2host_test;

TEST(HostLoad, LoadsThePluginAndRoutesTheCallsItMakesBeforeItsRecordIsKnown)
{
    Host host;
    ASSERT_TRUE(host.load(fake_plugin_path)) << host.get_error();
    const vst2::AEffect* effect = host.use_effect();
    ASSERT_NE(effect, nullptr);
    EXPECT_EQ(effect->uniqueID, fake_plugin::gain_id) << "the plug-in built when no id is asked";
    EXPECT_EQ(effect->user, &host) << "the host keeps itself in the record's user field";
    EXPECT_FALSE(host.load(fake_plugin_path)) << "one plug-in a host";
    EXPECT_EQ(host.use_effect(), effect) << "the first effect stays";

    const std::vector<CallbackRecord> records = host.use_log().get_records();
    ASSERT_GE(records.size(), 4u);
    EXPECT_EQ(records[0].opcode, vst2::audioMasterVersion);
    EXPECT_TRUE(records[0].null_effect) << "the entry asks for the version without a record";
    EXPECT_EQ(records[0].thread, std::this_thread::get_id());
    EXPECT_EQ(records[3].opcode, vst2::audioMasterGetVendorString);
    EXPECT_FALSE(records[3].null_effect) << "asked with the record the host does not know yet";
}

struct LoadFailure
{
    const char* name;
    std::string path;
    std::function<void(Host&)> set_up;
    std::string expected_error;
};

using HostLoadFailure = testing::TestWithParam<LoadFailure>;

TEST_P(HostLoadFailure, LeavesNoEffectAndSaysWhy)
{
    const LoadFailure& failure = GetParam();
    FakeLibrary library;
    {
        Host host;
        failure.set_up(host);
        EXPECT_FALSE(host.load(failure.path));
        EXPECT_EQ(host.use_effect(), nullptr);
        EXPECT_EQ(host.get_error().find(failure.expected_error), 0u)
            << "error \"" << host.get_error() << "\" should start with \"" << failure.expected_error
            << "\"";
        EXPECT_NE(host.get_error().find(failure.path), std::string::npos)
            << "the error names the path: " << host.get_error();
        EXPECT_EQ(host.dispatch(vst2::effGetVendorVersion), 0) << "nothing to dispatch to";
    }
    EXPECT_EQ(library.live_effects(), 0) << "no effect was left behind";
}

INSTANTIATE_TEST_SUITE_P(
    Cases, HostLoadFailure,
    testing::Values(LoadFailure{"MissingFile", "/nonexistent/vst2host/none.dll", [](Host&) {},
                                "cannot load /nonexistent/vst2host/none.dll"},
                    LoadFailure{"NoEntryPoint", VST2HOST_NO_ENTRY_PATH, [](Host&) {},
                                std::string(VST2HOST_NO_ENTRY_PATH) +
                                    " exports neither VSTPluginMain nor main"},
                    LoadFailure{"HostWithoutVersion", fake_plugin_path,
                                [](Host& host) { host.set_version(0); },
                                "the entry of " + fake_plugin_path + " answered no effect"},
                    LoadFailure{"RecordWithoutMagic", fake_plugin_path,
                                [](Host& host)
                                { host.set_can_do(fake_plugin::bad_magic_capability, 1); },
                                "the entry of " + fake_plugin_path +
                                    " answered a record without the VstP magic"}),
    [](const testing::TestParamInfo<LoadFailure>& info) { return info.param.name; });

TEST(HostLoad, StartsAndStopsAsADawDoes)
{
    FakeLibrary library;
    Host host;
    ASSERT_TRUE(host.load(fake_plugin_path)) << host.get_error();
    ASSERT_TRUE(host.start(48000.0f, 256));
    EXPECT_EQ(library.take_history(), "entry open rate block resume");
    EXPECT_FALSE(host.start(48000.0f, 256)) << "an open effect is not opened again";

    host.stop();
    EXPECT_EQ(library.take_history(), "suspend close");
    EXPECT_EQ(library.live_effects(), 0);
    EXPECT_EQ(host.use_effect(), nullptr);
    EXPECT_EQ(host.dispatch(vst2::effGetVendorVersion), 0) << "a closed effect gets no calls";
    EXPECT_EQ(host.get_effect_name(), "");
}

TEST(HostLoad, ClosesTheEffectBeforeReleasingTheLibrary)
{
    FakeLibrary library;
    for (const bool started : {false, true})
    {
        SCOPED_TRACE(started ? "started" : "never started");
        {
            Host host;
            ASSERT_TRUE(host.load(fake_plugin_path)) << host.get_error();
            ASSERT_TRUE(!started || host.start(44100.0f, 64));
            library.take_history();
            EXPECT_EQ(library.live_effects(), 1);
        }
        EXPECT_EQ(library.take_history(), started ? "suspend close" : "close")
            << "a suspended effect is not suspended again";
        EXPECT_EQ(library.live_effects(), 0);
    }
}

TEST(HostLoad, ListsTheShellsPluginsAndBuildsTheOneAskedFor)
{
    Host shell;
    ASSERT_TRUE(shell.load(fake_plugin_path)) << shell.get_error();
    const std::vector<ShellPlugin> plugins = shell.list_shell_plugins();
    ASSERT_EQ(plugins.size(), 2u);
    EXPECT_EQ(plugins[0].id, fake_plugin::gain_id);
    EXPECT_EQ(plugins[0].name, "Fake Gain");
    EXPECT_EQ(plugins[1].id, fake_plugin::trim_id);
    EXPECT_EQ(plugins[1].name, "Fake Trim");

    Host one;
    one.set_current_id(fake_plugin::trim_id);
    ASSERT_TRUE(one.load(fake_plugin_path)) << one.get_error();
    EXPECT_EQ(one.use_effect()->uniqueID, fake_plugin::trim_id);
    EXPECT_EQ(one.get_effect_name(), "Fake Trim");
}
