#include "plux/vst2/AEffEditor.hpp"

namespace vst2
{

bool AEffEditor::getRect(ERect** rect)
{
    if (rect != nullptr)
    {
        *rect = nullptr;
    }
    return false;
}

bool AEffEditor::open(void* parent)
{
    parent_ = parent;
    return false;
}

} // namespace vst2
