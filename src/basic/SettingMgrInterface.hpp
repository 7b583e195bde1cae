#pragma once

#include <string>
#include <vector>

namespace basic
{

class ConfKeyMulti;
class SettingClientInterface;

// Gathers the settings of its clients into one key tree, writes it to a setting file and reads
// such a file back into the clients. Clients are not owned. Load and save run on the thread that
// calls them (the user-interface thread, or the thread that starts the plug-in) and take no
// lock; clients that the audio thread also uses protect their own data.
class SettingMgrInterface
{
public:
    SettingMgrInterface() = default;
    SettingMgrInterface(const SettingMgrInterface&) = delete;
    SettingMgrInterface& operator=(const SettingMgrInterface&) = delete;
    virtual ~SettingMgrInterface() = default;

    // Appends client, even when it is registered already (its settings are then written twice):
    // conf_err::client_registered_twice in that case, else 0.
    int add_client(SettingClientInterface& client);
    // Removes the first registration of client: conf_err::client_not_registered when there is
    // none, conf_err::client_still_registered when a second one remains, else 0.
    int remove_client(SettingClientInterface& client);
    void clear_clients() { client_arr.clear(); }

    // Reads the setting file at path into every client, in registration order, stopping at the
    // first client that fails. Clients that ran before a failure keep their new settings.
    // Returns 0 or a negative code: conf_err::file_open_read_failed when the file cannot be read;
    // the reader's code minus 1024 when no key can be read at all (an empty file gives -1024);
    // conf_err::root_not_block when the file holds a single leaf; a code of a hook or a client.
    // A file damaged after some complete keys still loads those keys.
    int load(const std::string& path);
    // Writes the settings of every client to the setting file at path, replacing it only once
    // the whole text is on the disk. When a hook or a client fails, its code is returned and the
    // file is left as it was. Other codes: those of key-tree writing,
    // conf_err::file_open_write_failed, conf_err::file_write_failed.
    int save(const std::string& path);

protected:
    // Hooks around loading and saving; code is the current result, which they may change. A
    // hook or a client that throws ends the operation with conf_err::unexpected_kind.
    virtual void pre_load(const ConfKeyMulti& /*root*/, const std::string& /*path*/, int& /*code*/)
    {
    }
    virtual void post_load(const ConfKeyMulti& /*root*/, const std::string& /*path*/, int& /*code*/)
    {
    }
    virtual void pre_save(ConfKeyMulti& /*root*/, const std::string& /*path*/, int& /*code*/) {}
    virtual void post_save(ConfKeyMulti& /*root*/, const std::string& /*path*/, int& /*code*/) {}

private:
    int load_into_clients(const ConfKeyMulti& root, const std::string& path);
    int save_from_clients(ConfKeyMulti& root, const std::string& path);

    // The same client may appear twice.
    std::vector<SettingClientInterface*> client_arr;
};

} // namespace basic
