#pragma once

// Texts of the bank file dialogs and messages; the overwrite question and the failure box around
// them are sys::FileCommand's.
namespace plux::bank_text
{

inline constexpr char extension[] = "pbk";
inline constexpr char filter_description[] = "Tarvex plug-in preset bank (*.pbk)";
inline constexpr char filter_pattern[] = "*.pbk";

inline constexpr char save_title[] = "Save preset bank";
inline constexpr char load_title[] = "Load preset bank";

// The first line of the failure boxes, which go on with the path and the code.
inline constexpr char save_failed[] = "Can't save bank file\n";
inline constexpr char load_failed[] = "Can't load bank file\n";

} // namespace plux::bank_text
