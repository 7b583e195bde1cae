// Test-side access to the stand-in plug-in: its path, its requests through effVendorSpecific, and
// its library's own record of what hosts did.
#pragma once

#include <array>
#include <gtest/gtest.h>
#include <string>

#include "plux/vst2/Vst2Abi.hpp"
#include "tools/vst2host/fake/FakePluginProtocol.hpp"
#include "vst2host/Host.hpp"
#include "vst2host/ModuleLoader.hpp"

namespace vst2host_test
{

inline const std::string fake_plugin_path = VST2HOST_FAKE_PLUGIN_PATH;
constexpr vst2::VstInt32 block = 256;

// A host with the fake plug-in loaded and started, at 48 kHz.
class StartedHost : public testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(host.load(fake_plugin_path)) << host.get_error();
        ASSERT_TRUE(host.start(48000.0f, block));
        host.use_log().clear();
    }

    vst2host::Host host;
};

// Makes the plug-in call its host from the given thread; answers what the host answered.
inline vst2::VstIntPtr call_through(vst2host::Host& host, vst2::VstInt32 opcode,
                                    vst2::VstInt32 index = 0, vst2::VstIntPtr value = 0,
                                    void* ptr = nullptr,
                                    fake_plugin::HostThread thread = fake_plugin::same_thread)
{
    fake_plugin::HostCall call{opcode, index, value, ptr};
    EXPECT_EQ(host.vendor_specific(fake_plugin::call_host, thread, &call, 0.0f), 1)
        << "the plug-in should take the request";
    return call.answer;
}

inline fake_plugin::Seen seen_by(vst2host::Host& host)
{
    fake_plugin::Seen seen;
    EXPECT_EQ(host.vendor_specific(fake_plugin::get_seen, 0, &seen, 0.0f), 1)
        << "the plug-in should report what it saw";
    return seen;
}

// The same library opened a second time, so its records outlive the host under test.
class FakeLibrary
{
public:
    FakeLibrary()
    {
        EXPECT_TRUE(library.open(fake_plugin_path)) << library.get_error();
        take_history();
    }

    // The steps hosts took since the last call, separated by spaces.
    std::string take_history()
    {
        using HistoryProc = void (*)(char*, int);
        auto proc = reinterpret_cast<HistoryProc>(library.find_proc("fake_plugin_history"));
        if (proc == nullptr)
            return "(no history)";
        std::array<char, 512> text{};
        proc(text.data(), static_cast<int>(text.size()));
        return text.data();
    }

    int live_effects()
    {
        using CountProc = int (*)();
        auto proc = reinterpret_cast<CountProc>(library.find_proc("fake_plugin_live_effects"));
        return proc != nullptr ? proc() : -1;
    }

private:
    vst2host::ModuleLoader library;
};

} // namespace vst2host_test
