// The toolkit's own text field: editing as the system's edit fields do, and what it shows.
#include "ravik/LineEdit.hpp"

#include <gtest/gtest.h>
#include <memory>
#include <string>
#include <vector>

#include "ravik/FontFactory.hpp"
#include "ravik/FontInterface.hpp"
#include "ravik/RenderingBufferMemory.hpp"

namespace
{

using Key = ravik::LineEdit::Key;

// One thing the user does: typed text, or a key with or without Shift.
struct Action
{
    std::string typed;
    Key key = Key::end;
    bool extend = false;
};

Action typed(std::string text)
{
    return {std::move(text)};
}

Action key(Key k, bool extend = false)
{
    return {{}, k, extend};
}

struct EditCase
{
    const char* name;
    std::vector<Action> actions;
    std::string text;
    std::size_t selection_start;
    std::size_t selection_end;
};

class LineEditTest : public testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_NE(font, nullptr);
        field.set_font(font.get());
        field.set_size({60, 16});
    }

    std::unique_ptr<ravik::FontInterface> font = ravik::FontFactory::create("font_02");
    ravik::LineEdit field;

    // The columns holding ink darker than mid grey, left to right.
    std::vector<int> ink_columns(const ravik::RenderingBufferMemory& buffer) const
    {
        std::vector<int> columns;
        for (int x = 0; x < buffer.get_width(); ++x)
        {
            for (int y = 0; y < buffer.get_height(); ++y)
            {
                if ((buffer.get_pixel(x, y) & 0xFFu) < 0x80u)
                {
                    columns.push_back(x);
                    break;
                }
            }
        }
        return columns;
    }
};

} // namespace

TEST_F(LineEditTest, EditsAsTheSystemsFieldsDo)
{
    const EditCase cases[] = {
        {"typing replaces the selected text", {typed("880")}, "880", 3, 3},
        {"control bytes are not typed", {typed("8\t8\x7f")}, "88", 2, 2},
        {"left collapses the selection to its start", {key(Key::left), typed("1")}, "1440", 1, 1},
        {"right collapses it to its end", {key(Key::right), typed("1")}, "4401", 4, 4},
        {"backspace deletes the selection, then the byte before",
         {key(Key::backspace), typed("12"), key(Key::backspace)},
         "1",
         1,
         1},
        {"delete takes the byte after the caret",
         {key(Key::home), key(Key::del), key(Key::del)},
         "0",
         0,
         0},
        {"shift grows the selection from where the caret stood",
         {key(Key::home), key(Key::right, true), key(Key::right, true), typed("9")},
         "90",
         1,
         1},
        {"home and end with shift select to either end",
         {key(Key::left), key(Key::right), key(Key::end, true)},
         "440",
         1,
         3},
        {"the caret stops at both ends",
         {key(Key::home), key(Key::left), key(Key::end), key(Key::right), typed("5")},
         "4405",
         4,
         4},
    };
    for (const EditCase& c : cases)
    {
        field.set_text("440");
        for (const Action& a : c.actions)
        {
            if (!a.typed.empty())
            {
                field.type(a.typed);
            }
            else
            {
                field.press(a.key, a.extend);
            }
        }
        EXPECT_EQ(field.get_text(), c.text) << c.name;
        EXPECT_EQ(field.get_selection_start(), c.selection_start) << c.name;
        EXPECT_EQ(field.get_selection_end(), c.selection_end) << c.name;
    }
}

TEST_F(LineEditTest, TextIsCutAtTheLongestThatCanBeReadBack)
{
    field.set_text(std::string(2000, 'x'));
    EXPECT_EQ(field.get_text().size(), ravik::LineEdit::max_length);
    field.press(Key::end);
    field.press(Key::backspace);
    field.type("abc");
    EXPECT_EQ(field.get_text().size(), ravik::LineEdit::max_length);
    EXPECT_EQ(field.get_text().back(), 'a');
}

TEST_F(LineEditTest, AClickPutsTheCaretAtTheNearestCharacterBoundary)
{
    field.set_text("4400");
    const int width = font->text_width("4400");
    const int left = (60 - width) / 2;
    field.click(left + font->text_width("44") + 1);
    EXPECT_EQ(field.get_caret(), 2u);
    EXPECT_EQ(field.get_selection_start(), field.get_selection_end());
    field.click(0, true);
    EXPECT_EQ(field.get_selection_start(), 0u) << "shift-click selects from the caret";
    EXPECT_EQ(field.get_selection_end(), 2u);
}

TEST_F(LineEditTest, ShowsCentredTextTheSelectionAndTheCaret)
{
    field.set_text("440");
    field.press(Key::end);
    ravik::RenderingBufferMemory shown(60, 16);
    field.draw(shown);
    const int width = font->text_width("440");
    const int left = (60 - width) / 2;
    const std::vector<int> ink = ink_columns(shown);
    ASSERT_FALSE(ink.empty());
    EXPECT_GE(ink.front(), left) << "centred";
    EXPECT_EQ(ink.back(), left + width) << "the caret just after the text";
    EXPECT_EQ(shown.get_pixel(0, 0), ravik::LineEdit::background);

    field.select_all();
    field.draw(shown);
    const int top = (16 - font->get_line_height()) / 2;
    EXPECT_EQ(shown.get_pixel(left, top), ravik::LineEdit::selection) << "selected text lit";
    EXPECT_EQ(shown.get_pixel(left - 1, top), ravik::LineEdit::background);
}

TEST_F(LineEditTest, ALongTextScrollsToKeepTheCaretInView)
{
    field.set_text("123456789012345678901234567890");
    ravik::RenderingBufferMemory shown(60, 16);
    field.press(Key::end);
    field.draw(shown);
    EXPECT_EQ(ink_columns(shown).back(), 58) << "the caret on the last column inside the margin";
    field.press(Key::home);
    field.draw(shown);
    EXPECT_EQ(ink_columns(shown).front(), 1) << "the caret on the first column after the margin";
}
