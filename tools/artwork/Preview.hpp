#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

namespace artwork
{

// Resource bytes by lower-case name, the font among them.
using Resources = std::map<std::string, std::vector<std::uint8_t>>;

// Loads every resource through the toolkit's factories and draws with its decoders: the editor
// at its default state (editor_png, 300 x 335) and a sheet of every picture with its name and
// anchor (sheet_png). False, with a message on the error stream, when a resource does not load,
// the tiled drawing differs from the whole one, or a file cannot be written.
bool write_previews(const Resources& resources, const std::string& editor_png,
                    const std::string& sheet_png);

} // namespace artwork
