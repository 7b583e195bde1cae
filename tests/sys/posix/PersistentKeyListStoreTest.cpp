#include <cstdlib>
#include <filesystem>
#include <gtest/gtest.h>
#include <string>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <vector>

#include "basic/TempFolder.hpp"
#include "sys/PersistentKeyList.hpp"
#include "sys/RegistrySandbox.hpp"

using sys::PersistentKeyList;

namespace
{

// Every case starts without a store, and leaves none behind for the other suites.
class PersistentKeyListStore : public testing::Test
{
protected:
    void SetUp() override { std::filesystem::remove_all(folder); }
    void TearDown() override { std::filesystem::remove_all(folder); }

    static std::string get(const std::string& key_path, const std::string& name)
    {
        std::string value;
        return PersistentKeyList(key_path, true).get_string(name, value) == 0 ? value : "(none)";
    }

    const std::string folder = std::string(std::getenv("XDG_CONFIG_HOME")) + "/Tarvex";
    const std::string store = folder + "/registry.txt";
};

} // namespace

TEST_F(PersistentKeyListStore, WritingKeepsTheCompleteKeysOfADamagedFile)
{
    std::filesystem::create_directories(folder);
    test::TempFolder::write(store, "Software = {\n  Kept = { v = 1 }\n  Lost = { w = \n");
    EXPECT_EQ(PersistentKeyList("New", true).set_string("x", "2"), 0);
    EXPECT_EQ(get("Kept", "v"), "1");
    EXPECT_EQ(get("New", "x"), "2");
}

TEST_F(PersistentKeyListStore, AStoreThatCannotBeReadIsNeitherReadNorReplaced)
{
    // A folder where the file should be: it exists but reads as nothing.
    std::filesystem::create_directories(store);
    EXPECT_EQ(PersistentKeyList("K", true).set_string("x", "1"), -1);
    EXPECT_EQ(get("K", "x"), "(none)");
    EXPECT_TRUE(std::filesystem::is_directory(store));
}

// Plug-in instances in three processes, each with three threads, write their own values at the
// same time: every value must survive.
TEST_F(PersistentKeyListStore, ConcurrentWritersInProcessesAndThreadsLoseNothing)
{
    const std::string key_path = test::sandbox_key_path();
    const auto name_of = [](int proc, int thread, int v)
    { return std::to_string(proc) + "_" + std::to_string(thread) + "_" + std::to_string(v); };
    const auto write_values = [&](int proc)
    {
        std::vector<std::thread> threads;
        for (int t = 0; t < 3; ++t)
        {
            threads.emplace_back(
                [&, t]
                {
                    PersistentKeyList key(key_path, true);
                    for (int v = 0; v < 12; ++v)
                    {
                        key.set_string(name_of(proc, t, v), "value " + name_of(proc, t, v));
                    }
                });
        }
        for (std::thread& thread : threads)
        {
            thread.join();
        }
    };

    std::vector<pid_t> children;
    for (int proc = 1; proc < 3; ++proc)
    {
        children.push_back(::fork());
        ASSERT_GE(children.back(), 0);
        if (children.back() == 0)
        {
            write_values(proc);
            std::_Exit(0);
        }
    }
    write_values(0);
    for (const pid_t pid : children)
    {
        ASSERT_EQ(::waitpid(pid, nullptr, 0), pid);
    }
    int lost = 0;
    for (int value = 0; value < 3 * 3 * 12; ++value)
    {
        const std::string name = name_of(value / 36, value / 12 % 3, value % 12);
        lost += get(key_path, name) != "value " + name;
    }
    EXPECT_EQ(lost, 0) << "values lost out of 108";
}
