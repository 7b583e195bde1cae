// morvane-host with a plug-in nobody here wrote, built against another implementation of the
// interface: a stereo compressor from Debian's lsp-plugins-vst.
#include <gtest/gtest.h>

#include "ToolFixture.hpp"

using namespace morvane_host;
using namespace morvane_host_test;

namespace
{

const std::string compressor = "/usr/lib/vst/lsp-plugins/compressor-stereo.so";

// The plug-in's bundle unloads its core library at the end, and memory from that library's start-up
// would be reported as lost: the leak check is for this project's code, not for theirs.
const Environment no_leak_check = {{"ASAN_OPTIONS", "detect_leaks=0"}};

} // namespace

class ThirdPartyPlugin : public ToolFixture
{
protected:
    void SetUp() override
    {
        if (!std::filesystem::exists(compressor))
            GTEST_SKIP() << compressor << " is missing: install Debian's lsp-plugins-vst";
        ToolFixture::SetUp();
    }
};

TEST_F(ThirdPartyPlugin, RendersWithAutomationAndBenchmarks)
{
    const ToolRun render =
        run("render " + compressor + " --out {out} --automate g_in:0=0.3,8=0.9", no_leak_check);
    ASSERT_EQ(render.exit_code, 0) << render.err;
    const AudioData output = read_wav(path("out.wav"));
    ASSERT_EQ(output.channels.size(), 2u);
    EXPECT_EQ(output.get_frames(), 8u * 48000u);
    EXPECT_GT(get_rms_dbfs(output), -60.0) << "the compressed demo is not silent";

    const ToolRun bench = run("bench " + compressor + " --seconds 1", no_leak_check);
    ASSERT_EQ(bench.exit_code, 0) << bench.err;
    EXPECT_NE(bench.out.find("Real-time factor"), std::string::npos) << bench.out;
}
