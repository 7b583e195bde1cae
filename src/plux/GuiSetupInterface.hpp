#pragma once

namespace plux
{

// What the setup menu tells the editor: a setting that the editor shows has changed.
class GuiSetupInterface
{
public:
    virtual ~GuiSetupInterface() = default;

    virtual void setup_changed() = 0;
};

} // namespace plux
