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
    return test::save_rounds(argv[1], std::string(std::strtoul(argv[3], nullptr, 10), argv[2][0]),
                             std::atoi(argv[4]));
}
