#include "sys/FileCommand.hpp"

#include "basic/FileWriter.hpp"
#include "sys/ErrorBox.hpp"
#include "sys/FileSelectorInterface.hpp"
#include "sys/MessageBoxInterface.hpp"

namespace sys
{

namespace
{

int run(FileSelectorInterface& selector, MessageBoxInterface& box, const std::string& title,
        const std::string& failed, const FileCommand::Action& action, bool save)
{
    selector.set_title(title);
    int code = save ? selector.select_save() : selector.select_load();
    if (code == FileSelectorInterface::res_cancelled)
    {
        return FileCommand::res_stopped;
    }
    const std::string path = selector.get_path();
    if (code == FileSelectorInterface::res_chosen)
    {
        if (save && basic::is_existing_file(path) &&
            box.show("Conflict", path + "\nalready exists. Overwrite ?",
                     MessageBoxInterface::buttons_ok_cancel, 1) != MessageBoxInterface::res_ok)
        {
            return FileCommand::res_stopped;
        }
        code = action(path);
        if (code == 0)
        {
            return FileCommand::res_done;
        }
    }
    show_error_box(box, failed + path, code);
    return code;
}

} // namespace

int FileCommand::load(FileSelectorInterface& selector, MessageBoxInterface& box,
                      const std::string& title, const std::string& failed, const Action& action)
{
    return run(selector, box, title, failed, action, false);
}

int FileCommand::save(FileSelectorInterface& selector, MessageBoxInterface& box,
                      const std::string& title, const std::string& failed, const Action& action)
{
    return run(selector, box, title, failed, action, true);
}

} // namespace sys
