#pragma once

#include "plux/setup/WebSiteJumpInterface.hpp"
#include "ravik/DefaultEventListener.hpp"
#include "ravik/MenuNodes.hpp"

namespace plux
{

class SetupMgr;

// What every piece of the setup menu knows: the manager that carries out the actions. Editor
// thread, as all below.
class SetupComponent
{
public:
    explicit SetupComponent(SetupMgr& mgr)
        : mgr_(mgr)
    {
    }

protected:
    SetupMgr& mgr_;
};

// The setup button: its press (notify 0) opens the menu.
class SetupCtrlListener : public ravik::DefaultEventListener, public SetupComponent
{
public:
    using SetupComponent::SetupComponent;
    void notify(int code, void* data) override;
};

// The menu items, one listener each.
class SetupMLAbout : public SetupComponent, public ravik::MenuListenerInterface
{
public:
    using SetupComponent::SetupComponent;
    void on_select() override;
};

class SetupMLWebSite : public SetupComponent, public ravik::MenuListenerInterface
{
public:
    SetupMLWebSite(SetupMgr& mgr, WebSiteJumpInterface::Kind kind)
        : SetupComponent(mgr)
        , kind_(kind)
    {
    }
    void on_select() override;

private:
    WebSiteJumpInterface::Kind kind_;
};

class SetupMLLoadSettings : public SetupComponent, public ravik::MenuListenerInterface
{
public:
    using SetupComponent::SetupComponent;
    void on_select() override;
};

class SetupMLSaveSettings : public SetupComponent, public ravik::MenuListenerInterface
{
public:
    using SetupComponent::SetupComponent;
    void on_select() override;
};

class SetupMLAutoloadSettings : public SetupComponent, public ravik::MenuListenerInterface
{
public:
    using SetupComponent::SetupComponent;
    void on_select() override;
};

class SetupMLCompatibleMouse : public SetupComponent, public ravik::MenuListenerInterface
{
public:
    using SetupComponent::SetupComponent;
    void on_select() override;
};

class SetupMLMidiAutoBind : public SetupComponent, public ravik::MenuListenerInterface
{
public:
    using SetupComponent::SetupComponent;
    void on_select() override;
};

class SetupMLMidiUnBind : public SetupComponent, public ravik::MenuListenerInterface
{
public:
    using SetupComponent::SetupComponent;
    void on_select() override;
};

// A device of a submenu: direction 0 input, 1 output; position -1 is "None".
class SetupMLMidiDevice : public SetupComponent, public ravik::MenuListenerInterface
{
public:
    SetupMLMidiDevice(SetupMgr& mgr, int direction, int position)
        : SetupComponent(mgr)
        , direction_(direction)
        , position_(position)
    {
    }
    void on_select() override;

private:
    int direction_;
    int position_;
};

class SetupMLMidiNrpnComp : public SetupComponent, public ravik::MenuListenerInterface
{
public:
    using SetupComponent::SetupComponent;
    void on_select() override;
};

} // namespace plux
