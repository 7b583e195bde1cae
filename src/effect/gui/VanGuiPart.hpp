#pragma once

class VantrelGui;

// A panel of the editor: knows the editor that owns it and builds its controls from its pictures.
class VanGuiPart
{
public:
    virtual ~VanGuiPart() = default;

    void set_gui(VantrelGui& gui) { gui_ = &gui; }

protected:
    VantrelGui& use_gui() const { return *gui_; }

private:
    VantrelGui* gui_ = nullptr;
};
