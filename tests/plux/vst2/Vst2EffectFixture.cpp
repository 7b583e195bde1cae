#include "Vst2EffectFixture.hpp"

#include "plux/vst2/Vst2Entry.hpp"
#include "plux/vst2/Vst2WinPlugin.hpp"
#include "sys/Resource.hpp"

namespace plux_test
{

std::string to_string(LoadMode mode)
{
    return mode == LoadMode::entry ? "InProcess" : "Module";
}

namespace
{

TestFactory& use_factory()
{
    static TestFactory factory;
    return factory;
}

} // namespace

void set_test_config(const TestConfig& config)
{
    use_factory() = TestFactory(config);
}

vst2::AEffect* test_entry(vst2::HostCallback host)
{
    return plux::vst2_entry(host, use_factory());
}

std::vector<unsigned char> read_builtin_bank()
{
    const auto bytes = sys::get_resource("QBNK", "static_presets");
    return {bytes.begin(), bytes.end()};
}

std::vector<vst2host::CallbackRecord> filter(const std::vector<vst2host::CallbackRecord>& records,
                                             vst2::VstInt32 opcode)
{
    std::vector<vst2host::CallbackRecord> out;
    for (const auto& r : records)
    {
        if (r.opcode == opcode)
        {
            out.push_back(r);
        }
    }
    return out;
}

bool Vst2EffectTest::load()
{
    const bool ok = GetParam() == LoadMode::entry ? host.load_entry(&test_entry)
                                                  : host.load(PLUX_TEST_MODULE_PATH);
    EXPECT_TRUE(ok) << host.get_error();
    return ok;
}

void Vst2EffectTest::SetUp()
{
    if (!load())
    {
        GTEST_SKIP() << "no effect";
    }
    ASSERT_TRUE(host.start(44100.0f, 512));
    host.use_log().clear();
}

void Vst2EffectTest::TearDown()
{
    host.stop();
}

void Vst2EffectTest::run_blocks(int count)
{
    std::vector<float> left(512, 0.0f);
    std::vector<float> right(512, 0.0f);
    float* in[] = {left.data(), right.data()};
    for (int i = 0; i < count; ++i)
    {
        ASSERT_TRUE(host.process(in, in, 512));
    }
}

void Vst2EffectTest::send_effect_change(int index, float value)
{
    std::vector<float> left(64, 0.0f);
    std::vector<float> right(64, 0.0f);
    left[0] = TestDsp::change_marker;
    left[1] = static_cast<float>(index);
    left[2] = value;
    float* in[] = {left.data(), right.data()};
    std::vector<float> out_l(64);
    std::vector<float> out_r(64);
    float* out[] = {out_l.data(), out_r.data()};
    ASSERT_TRUE(host.process(in, out, 64));
}

int Vst2EffectTest::effect_info(const std::string& key)
{
    if (GetParam() != LoadMode::entry)
    {
        return -1;
    }
    auto* base = static_cast<vst2::AudioEffect*>(host.use_effect()->object);
    auto& dsp = dynamic_cast<TestDsp&>(dynamic_cast<plux::Vst2WinPlugin&>(*base).use_dsp());
    if (key == "tempo_calls")
    {
        return dsp.tempo_calls.load();
    }
    if (key == "bank_changed_calls")
    {
        return dsp.bank_changed_calls.load();
    }
    return -1;
}

} // namespace plux_test
