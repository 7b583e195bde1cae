#include "plux/prog/BankFileCommands.hpp"

#include <string>

#include "plux/prog/BankFile.hpp"
#include "plux/prog/BankFileText.hpp"
#include "sys/FileSelectorInterface.hpp"

namespace plux
{

void BankFileCommands::setup_file_selector(sys::FileSelectorInterface& selector)
{
    selector.clear_filter_list();
    selector.add_filter(bank_text::filter_description, bank_text::filter_pattern);
    selector.set_filter_index(0);
}

int BankFileCommands::load_bank_cmd(BankManager& bank, sys::FileSelectorInterface& selector,
                                    sys::MessageBoxInterface& box)
{
    return sys::FileCommand::load(selector, box, bank_text::load_title, bank_text::load_failed,
                                  [&bank](const std::string& path)
                                  { return load_bank_file(path, bank, nullptr, true); });
}

int BankFileCommands::save_bank_cmd(const BankManager& bank, sys::FileSelectorInterface& selector,
                                    sys::MessageBoxInterface& box)
{
    return sys::FileCommand::save(selector, box, bank_text::save_title, bank_text::save_failed,
                                  [&bank](const std::string& path)
                                  { return save_bank_file(path, bank); });
}

} // namespace plux
