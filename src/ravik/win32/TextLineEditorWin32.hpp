#pragma once

#include <cstdint>

#include "ravik/TextLineEditorInterface.hpp"

struct HFONT__;
struct HWND__;

namespace ravik
{

// One-line text entry on Windows: a system edit control over the requesting control, with the
// text selected and the keyboard focus. Enter and losing the focus validate, Escape cancels.
// Editor thread only.
class TextLineEditorWin32 final : public TextLineEditorInterface
{
public:
    // What the entry keeps of the field's text.
    static constexpr int max_text = 1023;

    TextLineEditorWin32() = default;
    ~TextLineEditorWin32() override;
    TextLineEditorWin32(const TextLineEditorWin32&) = delete;
    TextLineEditorWin32& operator=(const TextLineEditorWin32&) = delete;

    // The plug-in's window, in which the fields open.
    void set_parent(HWND__* parent) { parent_ = parent; }
    // Hands the keyboard focus back to the window that had it before the entry began; the field
    // losing it ends the entry validated.
    void give_focus_back();
    HWND__* get_edit() const { return edit_; }

    // The messages of the field, whose procedure this replaces while the entry lasts.
    std::intptr_t edit_procedure(HWND__* edit, unsigned int message, std::uintptr_t wparam,
                                 std::intptr_t lparam);

protected:
    int start_native(const TextInputRequest& request) override;
    int close_native() override;

private:
    void destroy_field();
    // The field is going: keep its text, let go of it.
    void on_field_destroyed(HWND__* edit);

    HWND__* parent_ = nullptr;
    HWND__* edit_ = nullptr;
    HWND__* previous_focus_ = nullptr;
    std::intptr_t previous_procedure_ = 0;
    HFONT__* font_ = nullptr;
    // Set while the field closes, so that its losing the focus does not end the entry again.
    bool finishing_ = false;
};

} // namespace ravik
