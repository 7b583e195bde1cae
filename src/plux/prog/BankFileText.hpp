#pragma once

// Texts of the bank file dialogs and messages. Zero-terminated arrays, so that they go to the
// system's dialog functions as they are.
namespace plux::bank_text
{

inline constexpr char extension[] = "pbk";
inline constexpr char filter_description[] = "Tarvex plug-in preset bank (*.pbk)";
inline constexpr char filter_pattern[] = "*.pbk";

inline constexpr char save_title[] = "Save preset bank";
inline constexpr char load_title[] = "Load preset bank";

// The question shows the path followed by conflict_question; Cancel is the default answer.
inline constexpr char conflict_title[] = "Conflict";
inline constexpr char conflict_question[] = "\nalready exists. Overwrite ?";

// Failure boxes: error_title over the text, the path, then code_format with the error code.
inline constexpr char error_title[] = "Error";
inline constexpr char save_failed[] = "Can't save bank file\n";
inline constexpr char load_failed[] = "Can't load bank file\n";
inline constexpr char code_format[] = "\n\nCode %d";

} // namespace plux::bank_text
