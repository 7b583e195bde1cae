#pragma once

#include <cstddef>
#include <string>

namespace basic
{

// Whole-file access for the text files the plug-in keeps: setting files and the portable store
// of registry values. Paths are narrow strings in the system's encoding (the ANSI code page on
// Windows, plain bytes elsewhere). Files are read and written as bytes, so the text on disk is
// exactly the text given, with no line-end conversion. Called on the user-interface thread or on
// the thread that starts the plug-in, never on the audio thread.

// Larger files are not read: no setting file comes near this, and a wrong choice in the file
// dialog (an audio file, a disk image) must not exhaust the memory of the host.
constexpr std::size_t max_text_file_size = std::size_t{16} << 20;

// Replaces text by the file's lines, each followed by '\n' (a last line without one gains it).
// Returns 0, or conf_err::file_open_read_failed when the file cannot be opened or read or is
// larger than max_text_file_size; text is then empty.
int read_text_file(const std::string& path, std::string& text);

// Replaces the file at path by text in one step, or leaves it as it was (basic::FileWriter).
// Returns 0; conf_err::file_open_write_failed when the new file cannot be created or cannot take
// the target's place (a read-only file among others); conf_err::file_write_failed when writing or
// flushing fails.
int write_text_file_atomic(const std::string& path, const std::string& text);

} // namespace basic
