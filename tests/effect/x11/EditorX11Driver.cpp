// The editor in a Linux host's window (Morvane.so under an X server), driven with real input
// through XTest by a host that calls effEditIdle and by one that hands the window its events
// through _XEventProc.
#include <cstdlib>
#include <dlfcn.h>
#include <filesystem>
#include <gtest/gtest.h>

#include "effect/EditorScenarios.hpp"
#include "ravik/widget/MouseMode.hpp"
#include "ravik/x11/X11Host.hpp"

namespace test
{

namespace
{

// With a configuration folder, and so a registry, of its own.
class X11Driver : public EditorDriver
{
public:
    X11Driver(const std::string& style, vst2host::Host& host)
        : host_(host)
    {
        EXPECT_EQ(dlopen(MORVANE_MODULE_PATH, RTLD_NOW | RTLD_NOLOAD), nullptr)
            << "an earlier session's module";
        char folder[] = "/tmp/morvane-editor-XXXXXX";
        EXPECT_NE(mkdtemp(folder), nullptr);
        config_ = folder;
        setenv("XDG_CONFIG_HOME", folder, 1);
        x11_ = std::make_unique<X11Host>([this] { host_.dispatch(vst2::effEditIdle); },
                                         style == "Idle" ? X11Host::Dispatch::idle
                                                         : X11Host::Dispatch::event_proc);
    }
    ~X11Driver() override
    {
        x11_.reset();
        std::filesystem::remove_all(config_);
    }

    void open() override
    {
        ASSERT_EQ(host_.dispatch(vst2::effEditOpen, 0, 0, x11_->get_parent()), 1);
        x11_->adopt();
        ASSERT_NE(x11_->get_child(), 0u) << "the editor is a child of the host's window";
        ASSERT_NE(x11_->get_event_proc(), nullptr);
    }
    bool is_gone() override
    {
        return pump(
            [this]
            {
                x11_->adopt();
                return x11_->get_child() == 0;
            });
    }
    bool pump(const std::function<bool()>& done) override { return x11_->pump(done); }

    void move(const ravik::Point& pos) override { x11_->move(pos); }
    void press(const ravik::Point& pos) override
    {
        x11_->move(pos);
        x11_->button(Button1, true);
        down_ = true;
    }
    void release() override
    {
        if (down_)
        {
            x11_->button(Button1, false);
            down_ = false;
        }
    }
    void click(const ravik::Point& pos) override
    {
        x11_->move(pos);
        x11_->click(Button1);
    }
    void type(const std::string& text) override { x11_->type(text); }
    void tap(Key key) override { x11_->tap(key == Key::enter ? XK_Return : XK_Escape); }

    ravik::Point get_pointer() override { return x11_->get_pointer(); }
    bool is_cursor_shown() override { return x11_->is_cursor_visible(); }
    // The field is the editor's one child window.
    Field get_field() override
    {
        Display* display = x11_->get_display();
        Window root = 0;
        Window parent = 0;
        Window* children = nullptr;
        unsigned nbr = 0;
        XQueryTree(display, x11_->get_child(), &root, &parent, &children, &nbr);
        const Window field = nbr > 0 ? children[0] : 0;
        XFree(children);
        Window focus = 0;
        int revert = 0;
        XGetInputFocus(display, &focus, &revert);
        return field == 0 ? Field::none : focus == field ? Field::focused : Field::unfocused;
    }
    std::vector<std::uint32_t> read_pixels() override
    {
        return pixels_of(*read_window(x11_->get_display(), x11_->get_child()));
    }
    // The menu's rows are found in the twin's menu, which must look the same.
    std::vector<std::string> pick(const ravik::Point& button, const std::string& item,
                                  Twin& twin) override
    {
        click(button);
        Window shown = 0;
        EXPECT_TRUE(pump([&] { return (shown = menu()) != 0; })) << "the button opens it";
        // The twin reads the mode the module keeps in the registry.
        ravik::MouseMode::set_key_path("Tarvex");
        twin.open({});
        twin.window.press(button);
        twin.window.release(button);
        ravik::MenuOffscreen& twin_menu = twin.window.use_menu();
        EXPECT_TRUE(twin_menu.is_shown());
        std::vector<std::string> items;
        int row = -1;
        const ravik::MenuPanel& panel = twin_menu.use_panel(0);
        for (int i = 0; i < panel.get_nbr_rows(); ++i)
        {
            const ravik::MenuPanel::Row& r = panel.get_row(i);
            items.push_back(r.text + (r.checked ? " (checked)" : ""));
            row = r.text == item ? i : row;
        }
        const ravik::Rect r = twin_menu.get_row_rect(0, std::max(row, 0));
        const ravik::Point in_panel =
            ravik::Point{(r.x1 + r.x2) / 2, (r.y1 + r.y2) / 2} - twin_menu.get_position();
        // Down to the item: rows below it may name what the module's editor last touched.
        const int bottom = r.y2 - twin_menu.get_position().y;
        EXPECT_TRUE(pixels_of(*read_window(x11_->get_display(), shown), bottom) ==
                    pixels_of(*twin_menu.render(0), bottom))
            << "the menu on the screen";
        twin_menu.stop();
        twin.gui->close();
        EXPECT_GE(row, 0) << item;
        XWindowAttributes a;
        XGetWindowAttributes(x11_->get_display(), shown, &a);
        click(ravik::Point{a.x, a.y} + in_panel - X11Host::origin);
        EXPECT_TRUE(pump([this] { return menu() == 0; })) << "a pick closes the menu";
        return items;
    }

private:
    // The top rows down to bottom, all by default.
    static std::vector<std::uint32_t> pixels_of(const ravik::RenderingBufferMemory& buffer,
                                                int bottom = 1 << 30)
    {
        std::vector<std::uint32_t> pixels;
        for (int y = 0; y < std::min(bottom, buffer.get_height()); ++y)
        {
            for (int x = 0; x < buffer.get_width(); ++x)
            {
                pixels.push_back(buffer.get_pixel(x, y) & 0x00FFFFFFu);
            }
        }
        return pixels;
    }

    // The pop-up menu on the screen, 0 when none is shown.
    Window menu()
    {
        Display* display = x11_->get_display();
        Window root = 0;
        Window parent = 0;
        Window* children = nullptr;
        unsigned nbr = 0;
        XQueryTree(display, DefaultRootWindow(display), &root, &parent, &children, &nbr);
        Window found = 0;
        for (unsigned i = 0; i < nbr; ++i)
        {
            XWindowAttributes a;
            if (XGetWindowAttributes(display, children[i], &a) != 0 && a.override_redirect &&
                a.map_state == IsViewable)
            {
                found = children[i];
            }
        }
        XFree(children);
        return found;
    }

    vst2host::Host& host_;
    std::string config_;
    std::unique_ptr<X11Host> x11_;
    bool down_ = false;
};

} // namespace

std::vector<std::string> editor_host_styles()
{
    return {"Idle", "EventProc"};
}

std::unique_ptr<EditorDriver> make_editor_driver(const std::string& style, vst2host::Host& host)
{
    return std::make_unique<X11Driver>(style, host);
}

std::string preset_bank_path()
{
    return MORVANE_PRESET_BANK;
}

} // namespace test
