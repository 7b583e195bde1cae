#pragma once

#include <map>
#include <memory>
#include <set>

#include "ravik/Geometry.hpp"
#include "ravik/MessageHandlerInterface.hpp"

namespace ravik
{

class FontInterface;
class Menu;
class RenderingBufferInterface;
class SPTreeNodeInterface;
class TextLineEditorInterface;

// The toolkit's window: the root of the background tree and of the control tree, the mouse
// capture, the timers' handlers, the repaint cycle through a rendering buffer, text entry and
// menus. Each system's window answers the controls' up messages (process_message) and opens and
// closes its native window. Neither tree is owned. Editor thread only.
class WindowInterface : public MessageHandlerInterface
{
public:
    WindowInterface() = default;
    explicit WindowInterface(const Point& size)
        : content_size_(size)
        , window_size_(size)
    {
    }
    ~WindowInterface() override = default;
    WindowInterface(const WindowInterface&) = delete;
    WindowInterface& operator=(const WindowInterface&) = delete;

    // parent: the system's window to open in (a window handle on Windows, an X11 window id).
    virtual int open_native(void* parent) = 0;
    virtual void close_native() = 0;
    virtual void on_content_resized() {}
    // The host's idle call, on the window's thread: where a system gives the window no timer or
    // event dispatch of its own, its events and timers are handled here.
    virtual void idle() {}
    // Not owned: the font of menus and text fields where the toolkit draws them itself; systems
    // whose own menus and fields are used need none.
    virtual void set_font(const FontInterface* /*font*/) {}

    // Opens the native window, then shows both trees. 0, or what open_native answered.
    int open(void* parent);
    // Tells both trees that the window goes, hides them, closes the native window.
    void close();

    void set_background_root(SPTreeNodeInterface* root);
    void set_control_root(SPTreeNodeInterface* root);
    SPTreeNodeInterface* get_background_root() const { return background_root_; }
    SPTreeNodeInterface* get_control_root() const { return control_root_; }

    // The paint cycle of rect: RedrawBegin, the tiles of the rendering buffer (background under
    // controls in each, each blitted to the window), RedrawEnd.
    void redraw(const Rect& rect);

    // Gives the capture to handler; the former holder, if another, hears MouseCaptureLost.
    void set_capture(MessageHandlerInterface* handler, int mode, const Point& hot_spot);
    void release_capture();
    MessageHandlerInterface* get_capture() const { return capture_; }
    int get_capture_mode() const { return capture_mode_; }
    const Point& get_capture_hot_spot() const { return hot_spot_; }

    void set_timer_handler(int id, MessageHandlerInterface* handler) { timers_[id] = handler; }
    MessageHandlerInterface* find_timer_handler(int id) const;
    int erase_timer_handler(int id);

    void add_direct_handler(MessageHandlerInterface* handler) { direct_.insert(handler); }
    void remove_direct_handler(MessageHandlerInterface* handler) { direct_.erase(handler); }
    // Sends every direct handler a MouseDirectMove relative to its position.
    void send_direct_moves(const Point& pos);

    const Point& get_content_size() const { return content_size_; }
    void set_content_size(const Point& size);
    const Point& get_window_size() const { return window_size_; }
    void set_window_size(const Point& size) { window_size_ = size; }
    bool get_fit() const { return fit_; }
    void set_fit(bool fit) { fit_ = fit; }

    RenderingBufferInterface* get_rendering_buffer() const { return buffer_; }
    void set_rendering_buffer(RenderingBufferInterface* buffer) { buffer_ = buffer; }
    TextLineEditorInterface* get_text_editor() const { return text_editor_; }
    void set_text_editor(TextLineEditorInterface* editor) { text_editor_ = editor; }
    Menu* get_menu() const { return menu_; }
    void set_menu(Menu* menu) { menu_ = menu; }

private:
    bool fit_ = false;
    Point content_size_;
    Point window_size_;
    // Owned by the system's window.
    RenderingBufferInterface* buffer_ = nullptr;
    TextLineEditorInterface* text_editor_ = nullptr;
    Menu* menu_ = nullptr;
    SPTreeNodeInterface* background_root_ = nullptr;
    SPTreeNodeInterface* control_root_ = nullptr;
    std::map<int, MessageHandlerInterface*> timers_;
    MessageHandlerInterface* capture_ = nullptr;
    int capture_mode_ = 0;
    Point hot_spot_;
    std::set<MessageHandlerInterface*> direct_;
};

} // namespace ravik
