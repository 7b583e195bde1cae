#pragma once

#include "sys/FileSelectorInterface.hpp"

namespace sys
{

// The system's file dialog. On Windows the common open and save dialogs, owned by the
// foreground window of the plug-in's process. Elsewhere a desktop file chooser (zenity, else
// kdialog, found on PATH); without one, both selections answer res_failed. The chooser cannot
// tell which filter was used, so the filter index stays as it was.
class FileSelector final : public FileSelectorInterface
{
public:
    int select_load() override;
    int select_save() override;
};

} // namespace sys
