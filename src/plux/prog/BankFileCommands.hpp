#pragma once

#include "sys/FileCommand.hpp"

namespace sys
{
class FileSelectorInterface;
class MessageBoxInterface;
} // namespace sys

namespace plux
{

class BankManager;

// The preset bank file commands of the editor: a file dialog, then a strict load into the bank or
// a save of it, with the overwrite question and the failure boxes of sys::FileCommand.
// User-interface thread only.
class BankFileCommands
{
public:
    // Gives selector the single filter of preset bank files and makes it current.
    static void setup_file_selector(sys::FileSelectorInterface& selector);

    // The bank changes only when the whole file fits its shape (program and value counts).
    static int load_bank_cmd(BankManager& bank, sys::FileSelectorInterface& selector,
                             sys::MessageBoxInterface& box);
    static int save_bank_cmd(const BankManager& bank, sys::FileSelectorInterface& selector,
                             sys::MessageBoxInterface& box);
};

} // namespace plux
