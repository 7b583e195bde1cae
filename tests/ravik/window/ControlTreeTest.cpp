// Messages through the two trees and the window's paint cycle, with hand-made trees.
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <string>
#include <vector>

#include "ravik/DefaultEventListener.hpp"
#include "ravik/GraphicMessages.hpp"
#include "ravik/MouseMessages.hpp"
#include "ravik/RenderingBufferMemory.hpp"
#include "ravik/SPTreeSplit.hpp"
#include "ravik/WindowOffscreen.hpp"
#include "ravik/window/ToolkitScene.hpp"

using testing::ElementsAre;

namespace
{

// A node that notes the areas that reach it.
class ProbeNode : public ravik::CtrlGroupNodeInterface
{
public:
    ProbeNode(std::string name, std::vector<std::string>& log)
        : name_(std::move(name))
        , log_(log)
    {
    }
    std::int32_t process_down(ravik::MessageInterface& message) override
    {
        if (const auto* redraw = dynamic_cast<ravik::Redraw*>(&message))
        {
            log_.push_back(name_ + " " + std::to_string(redraw->area.x1) + "," +
                           std::to_string(redraw->area.y1) + "-" + std::to_string(redraw->area.x2) +
                           "," + std::to_string(redraw->area.y2));
        }
        return 0;
    }

private:
    std::string name_;
    std::vector<std::string>& log_;
};

test::ProbeControl probe(const ravik::Point& pos, int w, int h, const char* name,
                         std::vector<std::string>& log)
{
    test::ProbeControl c(pos, {0, 0, w, h}, name);
    c.shared_log = &log;
    return c;
}

} // namespace

TEST(ControlTree, MouseMessagesReachTheTopmostControlFirstThenTheChildGroups)
{
    std::vector<std::string> log;
    ravik::CtrlGroupItem root;
    ravik::CtrlGroupItem child_a;
    ravik::CtrlGroupItem child_b;
    auto below = probe({10, 10}, 20, 20, "below", log);
    auto above = probe({15, 15}, 20, 20, "above", log);
    auto in_a = probe({100, 0}, 10, 10, "in_a", log);
    auto in_b = probe({100, 0}, 10, 10, "in_b", log);
    root.add_control(below);
    root.add_control(above);
    root.add_child(child_a);
    root.add_child(child_b);
    child_a.add_control(in_a);
    child_b.add_control(in_b);
    root.set_position({0, 0});
    ravik::ShowObject show(true);
    root.process_message(show);
    log.clear();

    ravik::MouseClick press({20, 20}, ravik::mouse::left);
    EXPECT_EQ(root.process_message(press), 1);
    EXPECT_THAT(log, ElementsAre("above click 20,20 b1 m0 d0")) << "the one added last";

    log.clear();
    above.click_result = 0;
    root.process_message(press);
    EXPECT_THAT(log, ElementsAre("above click 20,20 b1 m0 d0", "below click 20,20 b1 m0 d0"))
        << "a control that lets the click go leaves it to the one below";

    log.clear();
    in_b.click_result = 0;
    ravik::MouseClick elsewhere({105, 5}, ravik::mouse::left);
    root.process_message(elsewhere);
    EXPECT_THAT(log, ElementsAre("in_b click 105,5 b1 m0 d0", "in_a click 105,5 b1 m0 d0"))
        << "an empty spot of the group goes on to its children, last first";
    EXPECT_TRUE(in_a.is_active()) << "a press begins a gesture";

    log.clear();
    ravik::Disconnecting bye;
    root.process_message(bye);
    EXPECT_THAT(log, ElementsAre("in_a disconnecting", "in_b disconnecting", "below disconnecting",
                                 "above disconnecting"))
        << "other messages: children first, first to last, then the controls";
}

TEST(ControlTree, ControlsRemovedWhileADispatchRunsStopIt)
{
    std::vector<std::string> log;
    ravik::CtrlGroupItem root;
    auto a = probe({0, 0}, 10, 10, "a", log);
    auto b = probe({0, 0}, 10, 10, "b", log);
    root.add_control(a);
    root.add_control(b);
    root.set_position({0, 0});
    b.click_result = 0;
    // b removes a while it handles the click; a must not be reached afterwards.
    struct Remover : ravik::DefaultEventListener
    {
        ravik::CtrlGroupItem* root;
        ravik::ControlInterface* victim;
        void begin_gesture() override { root->remove_control(*victim); }
    } remover;
    remover.root = &root;
    remover.victim = &a;
    b.set_listener(&remover);
    log.clear();
    ravik::MouseClick press({5, 5}, ravik::mouse::left);
    root.process_message(press);
    EXPECT_THAT(log, ElementsAre("a hidden", "b click 5,5 b1 m0 d0"))
        << "a, removed by b's gesture, is not reached";
    EXPECT_EQ(root.remove_control(a), -1) << "it is gone";
}

TEST(ControlTree, ASplitSendsAnAreaToTheChildrenItCoversAndEdgesToTheEndChildren)
{
    std::vector<std::string> log;
    ravik::CtrlGroupSplit split(ravik::SPTreeSplit::left_to_right);
    ProbeNode a("a", log);
    ProbeNode b("b", log);
    ProbeNode c("c", log);
    split.push_back(a, 100);
    split.push_back(b, 50);
    split.push_back(c, 100);
    split.set_position({10, 0});
    EXPECT_EQ(b.get_position(), (ravik::Point{110, 0}));
    EXPECT_EQ(split.offset_of(2), 150);

    ravik::RenderingBufferMemory buffer(8, 8);
    for (const ravik::Rect area :
         {ravik::Rect{120, 0, 130, 5}, ravik::Rect{100, 0, 200, 5}, ravik::Rect{500, 0, 510, 5},
          ravik::Rect{-50, 0, -40, 5}, ravik::Rect{0, 0, 110, 5}})
    {
        ravik::Redraw redraw(area, buffer);
        split.process_message(redraw);
    }
    EXPECT_THAT(log, ElementsAre("b 120,0-130,5",                                   // inside b
                                 "a 100,0-200,5", "b 100,0-200,5", "c 100,0-200,5", // across
                                 "c 500,0-510,5", // beyond the last: the last
                                 "a -50,0--40,5", // before the first: the first
                                 "a 0,0-110,5"))  // ending where b begins: not b
    ;
    log.clear();
    split.remove(0);
    EXPECT_EQ(b.get_position(), (ravik::Point{10, 0})) << "the others move up";
}

TEST(ControlTree, HiddenControlsNeitherDrawNorAskForRepaints)
{
    ravik::WindowOffscreen window({50, 50});
    ravik::CtrlGroupItem root;
    root.set_position({0, 0});
    std::vector<std::string> log;
    auto c = probe({5, 5}, 10, 10, "c", log);
    root.add_control(c);
    window.set_control_root(&root);
    window.open_native(nullptr);
    window.paint();
    c.invalidate();
    EXPECT_FALSE(window.is_dirty()) << "hidden: no Invalidate";
    ravik::ShowObject show(true);
    root.process_message(show);
    c.invalidate();
    EXPECT_TRUE(window.is_dirty());
}

// A buffer that notes the tiles it copies to the window.
class TileLog : public ravik::RenderingBufferMemory
{
public:
    using RenderingBufferMemory::RenderingBufferMemory;
    void blit(const ravik::Point& dest, const ravik::Point& size) override
    {
        tiles.push_back({dest.x, dest.y, dest.x + size.x, dest.y + size.y});
    }
    std::vector<ravik::Rect> tiles;
};

TEST(ControlTree, APaintIsCutIntoTilesOfTheBufferColumnsFirst)
{
    ravik::WindowOffscreen window({400, 400});
    TileLog buffer(100, 100);
    window.set_rendering_buffer(&buffer);
    window.redraw({10, 20, 260, 140});
    EXPECT_THAT(buffer.tiles,
                ElementsAre(ravik::Rect{10, 20, 110, 120}, ravik::Rect{10, 120, 110, 140},
                            ravik::Rect{110, 20, 210, 120}, ravik::Rect{110, 120, 210, 140},
                            ravik::Rect{210, 20, 260, 120}, ravik::Rect{210, 120, 260, 140}));
}

TEST(ControlTree, TheCaptureGoesToOneHandlerAndTheFormerHearsItLost)
{
    ravik::WindowOffscreen window({50, 50});
    std::vector<std::string> log;
    auto a = probe({0, 0}, 10, 10, "a", log);
    auto b = probe({0, 0}, 10, 10, "b", log);
    window.set_capture(&a, ravik::capture::visible, {3, 3});
    window.set_capture(&a, ravik::capture::relative, {3, 3});
    EXPECT_TRUE(log.empty()) << "the holder asking again changes nothing";
    EXPECT_EQ(window.get_capture_mode(), ravik::capture::visible);
    window.set_capture(&b, ravik::capture::relative, {4, 5});
    EXPECT_THAT(log, ElementsAre("a lost"));
    EXPECT_EQ(window.get_capture_hot_spot(), (ravik::Point{4, 5}));
    window.release_capture();
    EXPECT_THAT(log, ElementsAre("a lost", "b lost"));
    EXPECT_EQ(window.get_capture(), nullptr);
}
