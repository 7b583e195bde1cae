#include "ravik/MenuNodes.hpp"

#include <gtest/gtest.h>
#include <string>

TEST(MenuNodes, LabelsAreShownLiterallyAndTitledDelimitersFortyWide)
{
    EXPECT_EQ(ravik::double_ampersands("Load && Save & go"), "Load &&&& Save && go");
    EXPECT_EQ(ravik::delimiter_text("MIDI"), "--- MIDI " + std::string(31, '-'));
    EXPECT_EQ(ravik::delimiter_text("MIDI").size(), 40u);
    const std::string long_label(200, 'x');
    EXPECT_EQ(ravik::delimiter_text(long_label), "--- " + std::string(123, 'x') + " ")
        << "a long title is cut and gets no dashes";
}

TEST(MenuNodes, ItemsAreFoundDepthFirstAndCopiesTakeNewIdentifiers)
{
    ravik::MenuList root;
    ravik::MenuList sub("Sub");
    ravik::MenuItem first("First");
    ravik::MenuItem inner("Inner");
    ravik::MenuDelimiter line;
    root.append(first);
    root.append(line);
    root.append(sub);
    sub.append(inner);

    const ravik::MenuItem copy(first);
    EXPECT_NE(copy.get_id(), first.get_id());
    EXPECT_GT(inner.get_id(), first.get_id()) << "one counter, counting up";
    EXPECT_EQ(ravik::find_item(root, inner.get_id()), &inner) << "found inside the submenu";
    EXPECT_EQ(ravik::find_item(root, first.get_id()), &first);
    EXPECT_EQ(ravik::find_item(root, copy.get_id()), nullptr);

    EXPECT_EQ(root.remove(line), 2);
    EXPECT_EQ(root.insert(line, 0), 3);
    EXPECT_EQ(&root.at(0), &line);
}
