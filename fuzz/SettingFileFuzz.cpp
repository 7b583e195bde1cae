// Setting files as the user picks them, or as autoload finds them: the input is the file, loaded
// by the plug-in's setting manager into its clients (parameter order, MIDI map, switches), and
// read by the key-tree factory on its own.
//
// Whatever the file, the host still sees each parameter exactly once, and the settings the file
// left can be saved and loaded back to the same text.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "FuzzEffect.hpp"
#include "basic/ConfErr.hpp"
#include "basic/ConfKeyFactory.hpp"
#include "basic/ConfKeyInterface.hpp"
#include "basic/TextFile.hpp"
#include "plux/DspInterface.hpp"
#include "plux/setting/SettingMgr.hpp"
#include "plux/vst2/Vst2WinPlugin.hpp"

namespace
{

struct Rig
{
    Rig()
    {
        mgr = effect.use_plugin().use_dsp().use_setting_mgr();
        if (mgr == nullptr || mgr->save(defaults) != 0)
        {
            fuzz::fail("the effect's settings cannot be saved");
        }
    }

    fuzz::FuzzEffect effect;
    plux::SettingMgr* mgr = nullptr;
    const std::string defaults = fuzz::temp_file_path("defaults.cfg.txt");
    const std::string input = fuzz::temp_file_path("input.cfg.txt");
    const std::string saved = fuzz::temp_file_path("saved.cfg.txt");
    const std::string saved_again = fuzz::temp_file_path("saved_again.cfg.txt");
};

std::string write_tree(const basic::ConfKeyInterface& key)
{
    std::string text;
    try
    {
        key.write_to_string(text);
    }
    catch (const std::runtime_error& e)
    {
        text = e.what();
    }
    return text;
}

// The factory alone: a code of its own range, and whatever it read writes like its clone.
void read_tree(const std::string& text)
{
    basic::ConfKeyFactory& factory = basic::ConfKeyFactory::use_instance();
    std::unique_ptr<basic::ConfKeyInterface> key;
    try
    {
        key = factory.create_key_from_string(text);
    }
    catch (const std::runtime_error&)
    {
        return; // a name with a path separator
    }
    const int code = factory.get_last_error();
    if (code != 0 &&
        (code > basic::conf_err::tokens_left_over || code < basic::conf_err::lex_failed))
    {
        fuzz::fail("the key-tree factory answers a code outside its range");
    }
    if (key != nullptr && write_tree(*key) != write_tree(*key->clone()))
    {
        fuzz::fail("a key tree and its clone write different texts");
    }
}

void check_param_order(fuzz::FuzzEffect& effect)
{
    const int count = effect.use_effect().numParams;
    const plux::ParamReorder& reorder = effect.use_plugin().use_param_reorder();
    std::vector<bool> seen(static_cast<std::size_t>(count), false);
    for (int i = 0; i < count; ++i)
    {
        const int dsp = reorder.to_dsp(i);
        if (dsp < 0 || dsp >= count || seen[static_cast<std::size_t>(dsp)] ||
            reorder.to_host(dsp) != i)
        {
            fuzz::fail("the parameter order is no longer a permutation");
        }
        seen[static_cast<std::size_t>(dsp)] = true;
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static Rig rig;
    const std::string text(reinterpret_cast<const char*>(data), size);
    read_tree(text);

    if (rig.mgr->load(rig.defaults) != 0)
    {
        fuzz::fail("the default settings no longer load");
    }
    if (basic::write_text_file_atomic(rig.input, text) != 0)
    {
        fuzz::fail("cannot write the input file");
    }
    if (rig.mgr->load(rig.input) > 0)
    {
        fuzz::fail("load answers a positive code");
    }
    check_param_order(rig.effect);
    rig.effect.check_params();
    rig.effect.process(64);

    std::string first;
    std::string second;
    if (rig.mgr->save(rig.saved) != 0 || rig.mgr->load(rig.saved) != 0 ||
        rig.mgr->save(rig.saved_again) != 0 || basic::read_text_file(rig.saved, first) != 0 ||
        basic::read_text_file(rig.saved_again, second) != 0)
    {
        fuzz::fail("the settings a file left cannot be saved and loaded back");
    }
    if (first != second)
    {
        fuzz::fail("saved settings load back to other settings");
    }
    return 0;
}
