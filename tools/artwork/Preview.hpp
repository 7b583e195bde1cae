#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

namespace artwork
{

// Resource bytes by lower-case name, the font among them.
using Resources = std::map<std::string, std::vector<std::uint8_t>>;

// Loads every resource through the toolkit's factories and draws, with its decoders, a sheet of
// every picture with its name and anchor. False, with a message on the error stream, when a
// resource does not load or the file cannot be written. (The editor itself is pictured by
// `morvane-host snapshot`, which opens the real editor.)
bool write_contact_sheet(const Resources& resources, const std::string& sheet_png);

} // namespace artwork
