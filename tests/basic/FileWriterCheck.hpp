#pragma once

#include <algorithm>
#include <cstddef>
#include <gtest/gtest.h>
#include <string>

#include "basic/ConfErr.hpp"
#include "basic/FileWriter.hpp"
#include "basic/TempFolder.hpp"
#include "basic/TextFile.hpp"

namespace test
{

// Saves content in pieces of 4 KiB, so that writers sharing a file would mix their pieces.
inline basic::FileWriter::Step save_in_pieces(const std::string& path, const std::string& content)
{
    constexpr std::size_t piece = 4096;
    basic::FileWriter file(path);
    for (std::size_t pos = 0; pos < content.size(); pos += piece)
    {
        file.write(content.data() + pos, std::min(piece, content.size() - pos));
    }
    return file.commit();
}

// Saves content over and over, as another instance of the plug-in would; answers how many of
// the saves failed.
inline int save_rounds(const std::string& path, const std::string& content, int rounds)
{
    int failed = 0;
    for (; rounds > 0; --rounds)
    {
        failed += save_in_pieces(path, content) != basic::FileWriter::Step::none;
    }
    return failed;
}

// Saves content over file through the writer and as a setting file. Both must fail at step, and
// leave the folder as it was, byte for byte: the old file whole and no temporary file.
inline void expect_failed_saves(const TempFolder& folder, const std::string& file,
                                const std::string& content, basic::FileWriter::Step step)
{
    const auto before = folder.contents();
    EXPECT_EQ(save_in_pieces(file, content), step);
    EXPECT_EQ(basic::write_text_file_atomic(file, content),
              step == basic::FileWriter::Step::write ? basic::conf_err::file_write_failed
                                                     : basic::conf_err::file_open_write_failed);
    EXPECT_EQ(folder.contents(), before);
}

} // namespace test
