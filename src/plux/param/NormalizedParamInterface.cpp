#include "plux/param/NormalizedParamInterface.hpp"

#include <algorithm>
#include <cstring>

#include "plux/param/NotifiedInterface.hpp"

namespace plux
{

void NormalizedParamInterface::set_val(double val, int automation_level)
{
    val_.store(val, std::memory_order_relaxed);
    nrm_.store(conv_val_to_nrm(val), std::memory_order_relaxed);
    automation_level_.store(automation_level, std::memory_order_relaxed);
}

void NormalizedParamInterface::set_nrm_and_notify(float nrm)
{
    nrm_.store(nrm, std::memory_order_relaxed);
    val_.store(conv_nrm_to_val(nrm), std::memory_order_relaxed);
    changed();
}

void NormalizedParamInterface::set_val_and_notify(double val)
{
    val_.store(val, std::memory_order_relaxed);
    nrm_.store(conv_val_to_nrm(val), std::memory_order_relaxed);
    changed();
}

void NormalizedParamInterface::changed()
{
    update();
    if (target != nullptr)
    {
        target->notify(*this);
    }
}

void NormalizedParamInterface::copy_text(char* buffer, int capacity, const char* text)
{
    if (buffer == nullptr || capacity <= 0)
    {
        return;
    }
    const std::size_t len = std::min(std::strlen(text), static_cast<std::size_t>(capacity) - 1);
    std::memcpy(buffer, text, len);
    buffer[len] = '\0';
}

} // namespace plux
