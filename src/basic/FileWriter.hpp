#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace basic
{

// Replaces a file in one step, for every file the plug-in writes (bank files, setting files, the
// portable store of registry values). The data goes to a temporary file of its own in the
// target's folder, so that other writers, in this process or another, never share it; commit()
// flushes it to the disk, gives it the access rights of the file it replaces (mode bits and owner
// on POSIX; the hidden and system attributes on Windows) and moves it over the target. Readers
// thus see the old file or the new one, whole, and a failed save leaves the old file as it was
// with no temporary file behind. A symbolic link is kept: the file it points to is replaced. A
// read-only file is not replaced, as opening it for writing would fail.
//
// Paths are narrow strings in the system's encoding (the ANSI code page on Windows). Not for the
// audio thread: it allocates and does file I/O.
class FileWriter
{
public:
    // The step at which a save failed, for each caller to map to the codes of its format.
    enum class Step
    {
        none,
        create,  // the temporary file cannot be created, or the target is read-only
        write,   // the data cannot be written or flushed to the disk
        replace, // the complete file cannot take the target's place
    };

    explicit FileWriter(const std::string& path);
    // Without a successful commit() the temporary file is removed and the target left alone.
    ~FileWriter() { discard(); }
    FileWriter(const FileWriter&) = delete;
    FileWriter& operator=(const FileWriter&) = delete;

    // Whether the temporary file was created.
    bool is_open() const { return handle != no_handle; }

    // Appends size bytes. False when they could not all be written, now or by an earlier call;
    // the save then fails at Step::write.
    bool write(const void* data, std::size_t size);

    // Returns the first step that failed, or Step::none once the target has been replaced. Called
    // once, after the last write().
    Step commit();

private:
    // Closes and removes the temporary file, if any.
    void discard();

    // A file descriptor, or a HANDLE on Windows; both systems use -1 for none.
    static constexpr std::intptr_t no_handle = -1;

    std::string target;
    std::string temp_path;
    std::intptr_t handle = no_handle;
    Step failure = Step::none;
};

// Whether something (a file, a folder, a link) exists at path.
bool is_existing_file(const std::string& path);

} // namespace basic
