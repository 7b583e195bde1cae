// Saves one file over and over, as another instance of the plug-in in another process would:
//   file_writer_peer PATH LETTER SIZE ROUNDS
// Exits with the number of saves that failed (100 for wrong arguments).

#include <cstdlib>
#include <string>

#include "basic/FileWriterCheck.hpp"

int main(int argc, char** argv)
{
    if (argc != 5)
    {
        return 100;
    }
    const std::string content(std::strtoul(argv[3], nullptr, 10), argv[2][0]);
    int failed = 0;
    for (int round = std::atoi(argv[4]); round > 0; --round)
    {
        failed += test::save_in_pieces(argv[1], content) != basic::FileWriter::Step::none;
    }
    return failed;
}
