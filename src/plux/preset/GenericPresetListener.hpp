#pragma once

#include "ravik/DefaultEventListener.hpp"

namespace plux
{

class PresetManager;

// The base of the preset manager's listeners: the manager they act for. Editor thread.
class GenericPresetListener : public ravik::DefaultEventListener
{
public:
    explicit GenericPresetListener(PresetManager& mgr)
        : mgr_(mgr)
    {
    }

    PresetManager& use_manager() const { return mgr_; }

protected:
    PresetManager& mgr_;
};

} // namespace plux
