#pragma once

// Result codes of programs, banks and bank files: 0 is success, failures are negative.
namespace plux::bank_err
{

constexpr int ok = 0;

// Programs and banks as bytes (state chunks and the bodies of bank files).
constexpr int data_malformed = -1;    // cut short, or counts that contradict the data's size
constexpr int dst_too_small = -2;     // the destination holds fewer than get_size() bytes
constexpr int not_representable = -3; // programs of unequal record sizes, or too many values

// Bank files and bank resources.
constexpr int open_failed = -1002;
constexpr int header_write_failed = -1004;
constexpr int header_read_short = -1005;
constexpr int layout_failed = -1006;
constexpr int body_unparsable = -1007;
constexpr int body_write_failed = -1008;
constexpr int body_read_short = -1009;
constexpr int bad_magic = -1010;
constexpr int prog_count_mismatch = -1011;
constexpr int value_count_mismatch = -1012;
constexpr int check_refused = -1013;

} // namespace plux::bank_err
