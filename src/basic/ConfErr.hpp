#pragma once

// Result codes of the key trees and of the setting manager: 0 is success, failures are negative.
// Several numbers have one meaning while a text is read and another in the setting manager.
namespace basic::conf_err
{

constexpr int ok = 0;

constexpr int tokens_left_over = -1015;
constexpr int string_missing = -1016;
constexpr int list_cut_short = -1017;
constexpr int leaf_without_value = -1018;
constexpr int block_cut_short = -1019;
constexpr int lex_failed = -1020;
constexpr int unterminated_quote = -1021;
constexpr int unbalanced_brace = -1022;
constexpr int unexpected_kind = -1024;

constexpr int root_not_block = -1016;
constexpr int file_write_failed = -1017;
constexpr int file_open_write_failed = -1018;
constexpr int file_open_read_failed = -1020;
constexpr int client_still_registered = -1021;
constexpr int client_not_registered = -1022;
constexpr int client_registered_twice = -1023;

} // namespace basic::conf_err
