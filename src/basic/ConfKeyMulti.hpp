#pragma once

#include <memory>
#include <string>
#include <vector>

#include "basic/ConfKeyInterface.hpp"

namespace basic
{

// An inner key holding child keys in insertion order. Child names need not be unique; every
// lookup takes the first match. Paths name keys below this one, with components separated by
// '/' or '\' ("midi/bindings/cutoff").
class ConfKeyMulti : public ConfKeyInterface
{
public:
    ConfKeyMulti() = default;
    explicit ConfKeyMulti(const std::string& name);
    ConfKeyMulti(const ConfKeyMulti& other);
    // Strong guarantee: the children of other are cloned before the old ones are dropped.
    ConfKeyMulti& operator=(const ConfKeyMulti& other);

    std::unique_ptr<ConfKeyInterface> clone() const override;

    int get_nbr_keys() const { return static_cast<int>(key_arr.size()); }
    // Throws std::out_of_range for an index outside [0, get_nbr_keys()).
    const ConfKeyInterface& use_key_at(int index) const;
    ConfKeyInterface& use_key_at(int index);

    // Index of the first direct child at or after start with exactly this name, else -1.
    int find_index(const std::string& name, int start = 0) const;
    // As find_index(), skipping children that are not blocks (resp. not leaves).
    int find_index_multi(const std::string& name, int start = 0) const;
    int find_index_data(const std::string& name, int start = 0) const;
    int find_index_throw(const std::string& name) const;

    // Null when a component is missing or an inner component is a leaf. An empty first
    // component throws (see split_key_path_first()).
    const ConfKeyInterface* find_key(const std::string& path) const;
    ConfKeyInterface* find_key(const std::string& path);
    const ConfKeyInterface& use_key(const std::string& path) const;
    ConfKeyInterface& use_key(const std::string& path);
    bool is_existing_key(const std::string& path) const;

    // Appends a clone of key, whatever the names of the other children.
    void add_key(const ConfKeyInterface& key);
    // Appends key itself; throws std::invalid_argument for null.
    void add_key(std::unique_ptr<ConfKeyInterface> key);
    // Replaces the first child named like key by a clone of it, in place; appends otherwise.
    void set_key(const ConfKeyInterface& key);
    // Creates or replaces the string leaf at path, with blocks on the way; a leaf met on the
    // way is replaced by an empty block. An invalid path throws before anything changes.
    void set_data(const std::string& path, const std::string& value);
    // Empty when there is no string leaf at path.
    std::string get_data_string(const std::string& path) const;

    void clear() { key_arr.clear(); }

    // Cuts path at its first '/' or '\'; rest is empty when there is none. Throws when first
    // would be empty; a trailing separator is harmless.
    static void split_key_path_first(std::string& first, std::string& rest,
                                     const std::string& path);

protected:
    int do_write_key(std::string& text, ConfKeyIndent& indent) const override;

private:
    template <class Kind>
    int find_index_of_kind(const std::string& name, int start) const;

    std::vector<std::unique_ptr<ConfKeyInterface>> key_arr;
};

} // namespace basic
