#include "plux/EditorRig.hpp"

#include <algorithm>
#include <memory>

#include "plux/vst2/TestEffect.hpp"
#include "ravik/FontFactory.hpp"
#include "sys/RegistrySandbox.hpp"

namespace test
{

PanelDsp::PanelDsp()
    : manufacturer(sandbox_key_path())
{
    const struct
    {
        const char* name;
        double min;
        double max;
        bool stepped;
    } table[] = {
        {"Cutoff Freq", 40.0, 10240.0, false}, {"Resonance", 0.0, 1.0, false},
        {"Nbr Bands", 1.0, 16.0, true},        {"Dist Gain", 0.0, 1.0, false},
        {"Dist Routing", 0.0, 1.0, true},      {"Band Spacing", 0.0, 1.0, false},
        {"Evolution", 0.0, 1.0, false},        {"Tone", 0.0, 1.0, false},
    };
    for (const auto& row : table)
    {
        auto param =
            std::make_shared<plux_test::TestParam>(row.name, "", row.min, row.max, row.stepped);
        param->set_nrm_and_notify(0.5f);
        add_param(param);
    }
    setup_settings({});
}

double PanelDsp::get_info_num(const std::string& key) const
{
    if (key == "plugin_version")
    {
        return 1.6;
    }
    return key == "hide_parameters" ? hide_parameters : 0.0;
}

std::string PanelDsp::get_info_str(const std::string& key) const
{
    if (key == "plugin_name")
    {
        return "Morvane";
    }
    return key == "manufacturer" ? manufacturer : "";
}

void PanelDsp::load_prog(const std::vector<float>& values)
{
    for (int i = 0; i < std::min(static_cast<int>(values.size()), get_nbr_param()); ++i)
    {
        use_param(i).set_nrm_and_notify(values[static_cast<std::size_t>(i)]);
    }
}

std::vector<float> PanelDsp::values() const
{
    std::vector<float> v;
    copy_values(v);
    return v;
}

int FakeHostGui::apply_prog(const plux::ProgramSlot& prog, int priority)
{
    applied.push_back({prog.use_values(), prog.get_name(), priority});
    dsp_.set_prog_name(prog.get_name());
    dsp_.load_prog(prog.use_values());
    return 0;
}

void FakeHostGui::write_bank(const plux::BankManager& bank)
{
    ++nbr_banks_written;
    last_bank = bank;
}

std::vector<std::string> menu_lines(const ravik::MenuList& menu)
{
    std::vector<std::string> lines;
    for (int i = 0; i < menu.size(); ++i)
    {
        const ravik::MenuNodeInterface& node = menu.at(i);
        std::string line = node.get_label();
        if (const auto* item = dynamic_cast<const ravik::MenuItem*>(&node))
        {
            line += std::string(item->is_checked() ? " [x]" : "") +
                    (item->is_disabled() ? " (off)" : "");
        }
        lines.push_back(line);
        if (const auto* list = dynamic_cast<const ravik::MenuList*>(&node))
        {
            for (const std::string& sub : menu_lines(*list))
            {
                lines.push_back("> " + sub);
            }
        }
    }
    return lines;
}

EditorRig::EditorRig()
    : font(ravik::FontFactory::create("font_02"))
{
    window.set_font(font.get());
    root.set_position({0, 0});
    window.set_control_root(&root);
    window.open(nullptr);
}

void EditorRig::click(const ravik::Point& pos)
{
    window.press(pos);
    window.release(pos);
}

void EditorRig::wait(double seconds, double step)
{
    for (double t = 0.0; t < seconds - 1e-9; t += step)
    {
        clock.advance(step);
        window.tick();
    }
}

} // namespace test
