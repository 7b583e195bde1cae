// The editor in a Win32 host's window (Morvane.dll under wine), worked with real input through
// the system's input queue.
#include <windows.h>

#include <algorithm>
#include <gmock/gmock.h>
#include <optional>

#include "effect/EditorScenarios.hpp"
#include "ravik/win32/Desktop.hpp"
#include "vst2host/WindowsPath.hpp"

namespace test
{

namespace
{

using input::mouse;

constexpr const char* maker_key = "Software\\Tarvex";
constexpr const char* mouse_mode = "MouseCompatibility";

// Each driver loads the module anew, so that it reads the mouse mode anew; the user's mode is
// put back once the session is over.
class Win32Driver : public EditorDriver
{
public:
    explicit Win32Driver(vst2host::Host& host)
        : host_(host)
    {
        EXPECT_EQ(::GetModuleHandleA("Morvane.dll"), nullptr) << "an earlier session's module";
        char text[64] = {};
        DWORD size = sizeof(text);
        if (::RegGetValueA(HKEY_CURRENT_USER, maker_key, mouse_mode, RRF_RT_REG_SZ, nullptr, text,
                           &size) == ERROR_SUCCESS)
        {
            saved_mode_ = text;
        }
        // The focus where a host keeps it, the mouse outside.
        ::SetFocus(frame_);
        park_mouse();
    }
    ~Win32Driver() override
    {
        if (saved_mode_.has_value())
        {
            ::RegSetKeyValueA(HKEY_CURRENT_USER, maker_key, mouse_mode, REG_SZ,
                              saved_mode_->c_str(), static_cast<DWORD>(saved_mode_->size() + 1));
        }
        else
        {
            ::RegDeleteKeyValueA(HKEY_CURRENT_USER, maker_key, mouse_mode);
        }
        EXPECT_TRUE(::IsWindow(frame_));
    }

    void open() override
    {
        RECT outer = {0, 0, VantrelGui::width, VantrelGui::height};
        ::AdjustWindowRect(&outer, WS_OVERLAPPEDWINDOW, FALSE);
        ::SetWindowPos(frame_, nullptr, 0, 0, outer.right - outer.left, outer.bottom - outer.top,
                       SWP_NOMOVE | SWP_NOZORDER);
        ASSERT_EQ(host_.dispatch(vst2::effEditOpen, 0, 0, frame_), 1);
        editor_ = ::GetWindow(frame_, GW_CHILD);
        ASSERT_NE(editor_, nullptr);
        char name[256] = {};
        ::GetClassNameA(editor_, name, sizeof(name));
        EXPECT_THAT(name, testing::StartsWith("TarvexAudioPlugin"));
        RECT client = {};
        ::GetClientRect(editor_, &client);
        EXPECT_EQ(client.right, VantrelGui::width);
        EXPECT_EQ(client.bottom, VantrelGui::height);
    }
    bool is_gone() override { return !::IsWindow(editor_); }
    bool pump(const std::function<bool()>& done) override { return pump_until(done); }

    void move(const ravik::Point& pos) override
    {
        POINT p = {pos.x, pos.y};
        ::ClientToScreen(editor_, &p);
        input::move_to(p);
    }
    void press(const ravik::Point& pos) override
    {
        move(pos);
        mouse(MOUSEEVENTF_LEFTDOWN);
        ASSERT_TRUE(pump_until([&] { return ::GetCapture() == editor_; }))
            << "the control takes the mouse";
    }
    void release() override
    {
        if (::GetAsyncKeyState(VK_LBUTTON) < 0)
        {
            mouse(MOUSEEVENTF_LEFTUP);
        }
    }
    void click(const ravik::Point& pos) override
    {
        move(pos);
        mouse(MOUSEEVENTF_LEFTDOWN);
        mouse(MOUSEEVENTF_LEFTUP);
    }
    void type(const std::string& text) override { input::type(text); }
    void tap(Key key) override { input::press_key(key == Key::enter ? VK_RETURN : VK_ESCAPE); }

    ravik::Point get_pointer() override
    {
        POINT p = get_cursor();
        ::ScreenToClient(editor_, &p);
        return {p.x, p.y};
    }
    bool is_cursor_shown() override { return test::is_cursor_shown(); }
    Field get_field() override
    {
        const HWND field = ::FindWindowExA(editor_, nullptr, "Edit", nullptr);
        return field == nullptr        ? Field::none
               : ::GetFocus() == field ? Field::focused
                                       : Field::unfocused;
    }
    std::vector<std::uint32_t> read_pixels() override
    {
        return test::read_pixels(editor_, VantrelGui::width, VantrelGui::height);
    }
    std::vector<std::string> pick(const ravik::Point& button, const std::string& item,
                                  Twin&) override
    {
        // The system's menu runs a loop of its own: the pick is made from within it. Nothing
        // above the item has a submenu, so its line is its position.
        std::vector<std::string> items;
        MenuScript script({[&]
                           {
                               const HMENU menu = shown_menu();
                               items = describe(menu);
                               const auto at = std::find_if(items.begin(), items.end(),
                                                            [&](const std::string& line)
                                                            { return line.starts_with(item); });
                               if (at != items.end())
                               {
                                   click_item(menu, static_cast<int>(at - items.begin()));
                               }
                               return at != items.end();
                           }});
        click(button);
        EXPECT_TRUE(pump_until([&] { return script.is_done(); }));
        return items;
    }

private:
    vst2host::Host& host_;
    const HWND frame_ = host_window();
    HWND editor_ = nullptr;
    std::optional<std::string> saved_mode_;
};

} // namespace

std::vector<std::string> editor_host_styles()
{
    return {"Win32"};
}

std::unique_ptr<EditorDriver> make_editor_driver(const std::string&, vst2host::Host& host)
{
    return std::make_unique<Win32Driver>(host);
}

std::string preset_bank_path()
{
    return vst2host::to_windows_path(MORVANE_PRESET_BANK);
}

} // namespace test
