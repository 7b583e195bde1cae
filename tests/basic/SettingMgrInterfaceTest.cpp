#include "basic/SettingMgrInterface.hpp"

#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <ostream>
#include <string>
#include <vector>

#include "basic/ConfErr.hpp"
#include "basic/ConfKeyData.hpp"
#include "basic/ConfKeyMulti.hpp"
#include "basic/FakeSettingClient.hpp"
#include "basic/TempFolder.hpp"

using namespace basic;
using test::FakeSettingClient;
using testing::ElementsAre;

namespace
{

// Records the hooks with the code each one saw, and can make one of them fail.
class HookedMgr : public SettingMgrInterface
{
public:
    std::vector<std::string> calls;
    int pre_load_code = 0;
    int pre_save_code = 0;

protected:
    void pre_load(const ConfKeyMulti& root, const std::string&, int& code) override
    {
        calls.push_back("pre_load " + root.get_name() + " " + std::to_string(code));
        code = code == 0 ? pre_load_code : code;
    }
    void post_load(const ConfKeyMulti&, const std::string&, int& code) override
    {
        calls.push_back("post_load " + std::to_string(code));
    }
    void pre_save(ConfKeyMulti& root, const std::string&, int& code) override
    {
        calls.push_back("pre_save " + root.get_name() + " " + std::to_string(code));
        code = code == 0 ? pre_save_code : code;
    }
    void post_save(ConfKeyMulti&, const std::string&, int& code) override
    {
        calls.push_back("post_save " + std::to_string(code));
    }
};

class SettingMgrInterfaceFile : public testing::Test
{
protected:
    void SetUp() override
    {
        mgr.add_client(a);
        mgr.add_client(b);
        mgr.add_client(c);
    }

    std::string write(const std::string& text)
    {
        test::TempFolder::write(file, text);
        return file;
    }

    test::TempFolder folder;
    const std::string file = folder.path("s.cfg.txt");
    HookedMgr mgr;
    FakeSettingClient a{"a", "1"};
    FakeSettingClient b{"b", "two words"};
    FakeSettingClient c{"c", "3"};
};

} // namespace

TEST(SettingMgrInterfaceClients, ASecondRegistrationCountsAndIsRemovedOnceAtATime)
{
    SettingMgrInterface mgr;
    FakeSettingClient client("k", "v");
    EXPECT_EQ(mgr.add_client(client), 0);
    EXPECT_EQ(mgr.add_client(client), conf_err::client_registered_twice);
    EXPECT_EQ(mgr.remove_client(client), conf_err::client_still_registered);
    EXPECT_EQ(mgr.remove_client(client), 0);
    EXPECT_EQ(mgr.remove_client(client), conf_err::client_not_registered);
    mgr.add_client(client);
    mgr.clear_clients();
    EXPECT_EQ(mgr.remove_client(client), conf_err::client_not_registered);
}

TEST_F(SettingMgrInterfaceFile, SavesEveryClientInOrderAndLoadsThemBack)
{
    EXPECT_EQ(mgr.save(file), 0);
    EXPECT_EQ(test::TempFolder::read(file),
              "Default =\n{\n   a = 1\n   b = \"two words\"\n   c = 3\n}");
    EXPECT_EQ(mgr.load(file), 0);
    EXPECT_EQ(b.loaded, "two words");
    EXPECT_EQ(c.root_name, "Default");
    EXPECT_THAT(mgr.calls, ElementsAre("pre_save Default 0", "post_save 0", "pre_load Default 0",
                                       "post_load 0"));

    EXPECT_EQ(mgr.add_client(a), conf_err::client_registered_twice);
    EXPECT_EQ(mgr.save(file), 0);
    EXPECT_EQ(test::TempFolder::read(file),
              "Default =\n{\n   a = 1\n   b = \"two words\"\n   c = 3\n   a = 1\n}")
        << "a client registered twice is written twice";
}

TEST_F(SettingMgrInterfaceFile, AFailedSaveLeavesThePreviousFileAndReturnsTheFailure)
{
    write("previous");
    b.result = -7;
    EXPECT_EQ(mgr.save(file), -7);
    EXPECT_EQ(c.nbr_saves, 0) << "saving stops at the first failing client";
    EXPECT_THAT(mgr.calls, ElementsAre("pre_save Default 0", "post_save -7"));

    b.result = 0;
    b.throws = true;
    EXPECT_EQ(mgr.save(file), conf_err::unexpected_kind);

    b.throws = false;
    mgr.pre_save_code = -5;
    EXPECT_EQ(mgr.save(file), -5);
    EXPECT_EQ(a.nbr_saves, 2) << "no client runs after a failed pre_save";

    mgr.pre_save_code = 0;
    b.key = ""; // an anonymous key cannot be written
    EXPECT_EQ(mgr.save(file), conf_err::unexpected_kind);

    EXPECT_EQ(test::TempFolder::read(file), "previous");
    EXPECT_EQ(folder.list().size(), 1U) << "a temporary file was left";
}

struct LoadCase
{
    const char* label;
    const char* text;
    int code;

    friend void PrintTo(const LoadCase& c, std::ostream* os) { *os << c.label; }
};

class SettingMgrInterfaceLoad : public SettingMgrInterfaceFile,
                                public testing::WithParamInterface<LoadCase>
{
};

TEST_P(SettingMgrInterfaceLoad, RefusesFilesWithoutARootBlockBeforeAnyClientRuns)
{
    EXPECT_EQ(mgr.load(write(GetParam().text)), GetParam().code);
    EXPECT_EQ(a.nbr_loads, 0);
    EXPECT_THAT(mgr.calls, ElementsAre());
}

// Without a key the code is the reader's minus 1024.
INSTANTIATE_TEST_SUITE_P(Files, SettingMgrInterfaceLoad,
                         testing::Values(LoadCase{"Empty", "", -1024},
                                         LoadCase{"BraceTooMany", "}", conf_err::lex_failed - 1024},
                                         LoadCase{"NameWithSeparator", "a/b = { c = 1 }",
                                                  conf_err::unexpected_kind - 1024},
                                         LoadCase{"Leaf", "x = 5", conf_err::root_not_block},
                                         LoadCase{"List", "x = { 1 2 }", conf_err::root_not_block}),
                         [](const testing::TestParamInfo<LoadCase>& info)
                         { return info.param.label; });

TEST_F(SettingMgrInterfaceFile, ADamagedFileStillLoadsItsCompleteKeys)
{
    // Cut short inside the block of b, as by an interrupted copy.
    EXPECT_EQ(mgr.load(write("Default =\n{\n   a = 1\n   b = {\n      x =")), 0);
    EXPECT_EQ(a.loaded, "1");
    EXPECT_EQ(b.nbr_loads, 1);
    EXPECT_EQ(b.loaded, "") << "the incomplete key is dropped";
    EXPECT_EQ(mgr.load(write("Default = { a = 4 c = 5 } trailing")), 0);
    EXPECT_EQ(c.loaded, "5");
}

TEST_F(SettingMgrInterfaceFile, LoadStopsAtTheFirstFailingClientWithoutRollback)
{
    const std::string path = write("Default = { a = 1 b = 2 c = 3 }");
    b.result = -9;
    EXPECT_EQ(mgr.load(path), -9);
    EXPECT_EQ(a.loaded, "1");
    EXPECT_EQ(c.nbr_loads, 0);
    EXPECT_THAT(mgr.calls, ElementsAre("pre_load Default 0", "post_load -9"));

    b.throws = true;
    EXPECT_EQ(mgr.load(path), conf_err::unexpected_kind);

    b.throws = false;
    mgr.pre_load_code = -3;
    mgr.calls.clear();
    EXPECT_EQ(mgr.load(path), -3);
    EXPECT_EQ(a.nbr_loads, 2) << "no client runs after a failed pre_load";
    EXPECT_THAT(mgr.calls, ElementsAre("pre_load Default 0", "post_load -3"));
}
