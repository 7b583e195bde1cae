#include "basic/SettingMgrInterface.hpp"

#include <algorithm>
#include <exception>
#include <memory>
#include <utility>

#include "basic/ConfErr.hpp"
#include "basic/ConfKeyContentMulti.hpp"
#include "basic/ConfKeyData.hpp"
#include "basic/ConfKeyFactory.hpp"
#include "basic/ConfKeyMulti.hpp"
#include "basic/SettingClientInterface.hpp"
#include "basic/TextFile.hpp"

namespace basic
{

namespace
{

// A block with no children reads as a leaf holding an empty list; such a root is the block of
// a file saved with nothing in it. Anything else that is not a block is refused (null).
std::unique_ptr<ConfKeyMulti> to_root(std::unique_ptr<ConfKeyInterface> key)
{
    if (auto* multi = dynamic_cast<ConfKeyMulti*>(key.get()))
    {
        key.release();
        return std::unique_ptr<ConfKeyMulti>(multi);
    }
    if (const auto* data = dynamic_cast<const ConfKeyData*>(key.get()))
    {
        const auto* list = dynamic_cast<const ConfKeyContentMulti*>(data->get_content());
        if (list != nullptr && list->get_nbr_elt() == 0)
        {
            return std::make_unique<ConfKeyMulti>(data->get_name());
        }
    }
    return nullptr;
}

} // namespace

int SettingMgrInterface::add_client(SettingClientInterface& client)
{
    const bool known = std::find(client_arr.begin(), client_arr.end(), &client) != client_arr.end();
    client_arr.push_back(&client);
    return known ? conf_err::client_registered_twice : conf_err::ok;
}

int SettingMgrInterface::remove_client(SettingClientInterface& client)
{
    const auto it = std::find(client_arr.begin(), client_arr.end(), &client);
    if (it == client_arr.end())
    {
        return conf_err::client_not_registered;
    }
    client_arr.erase(it);
    const bool still = std::find(client_arr.begin(), client_arr.end(), &client) != client_arr.end();
    return still ? conf_err::client_still_registered : conf_err::ok;
}

int SettingMgrInterface::load(const std::string& path)
{
    std::string text;
    int code = read_text_file(path, text);
    if (code != conf_err::ok)
    {
        return code;
    }

    ConfKeyFactory& factory = ConfKeyFactory::use_instance();
    std::unique_ptr<ConfKeyInterface> key;
    try
    {
        key = factory.create_key_from_string(text);
    }
    catch (const std::exception&)
    {
        // A name holding a path separator: the file is not ours to read.
        key.reset();
    }
    if (key == nullptr)
    {
        return factory.get_last_error() - 1024;
    }

    const std::unique_ptr<ConfKeyMulti> root = to_root(std::move(key));
    if (root == nullptr)
    {
        return conf_err::root_not_block;
    }
    return load_into_clients(*root, path);
}

int SettingMgrInterface::load_into_clients(const ConfKeyMulti& root, const std::string& path)
{
    int code = conf_err::ok;
    try
    {
        pre_load(root, path, code);
        if (code == conf_err::ok)
        {
            // A copy, so that a client that leaves the list while loading ends nothing early.
            const std::vector<SettingClientInterface*> clients = client_arr;
            for (SettingClientInterface* client : clients)
            {
                code = client->load_settings(root);
                if (code != conf_err::ok)
                {
                    break;
                }
            }
        }
        post_load(root, path, code);
    }
    catch (const std::exception&)
    {
        code = conf_err::unexpected_kind;
    }
    return code;
}

int SettingMgrInterface::save(const std::string& path)
{
    ConfKeyMulti root("Default");
    int code = save_from_clients(root, path);
    // Writing what a failed client left behind would replace a good file by an incomplete one.
    if (code != conf_err::ok)
    {
        return code;
    }

    std::string text;
    try
    {
        code = root.write_to_string(text);
    }
    catch (const std::exception&)
    {
        // A client added an anonymous key.
        code = conf_err::unexpected_kind;
    }
    if (code != conf_err::ok)
    {
        return code;
    }
    return write_text_file_atomic(path, text);
}

int SettingMgrInterface::save_from_clients(ConfKeyMulti& root, const std::string& path)
{
    int code = conf_err::ok;
    try
    {
        pre_save(root, path, code);
        if (code == conf_err::ok)
        {
            const std::vector<SettingClientInterface*> clients = client_arr;
            for (SettingClientInterface* client : clients)
            {
                code = client->save_settings(root);
                if (code != conf_err::ok)
                {
                    break;
                }
            }
        }
        post_save(root, path, code);
    }
    catch (const std::exception&)
    {
        code = conf_err::unexpected_kind;
    }
    return code;
}

} // namespace basic
