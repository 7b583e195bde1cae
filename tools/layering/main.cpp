// morvane-layering SRC: lists every include of the tree that breaks its layering, one a line;
// exits with 1 when there is any, so that a build or a hook can stop on it.
#include <exception>
#include <iostream>

#include "layering/IncludeRules.hpp"

int main(int argc, char** argv)
{
    if (argc != 2)
    {
        std::cerr << "usage: morvane-layering SRC_FOLDER\n";
        return 2;
    }
    try
    {
        const auto problems = layering::check_layering(argv[1]);
        for (const auto& problem : problems)
        {
            std::cout << problem << '\n';
        }
        return problems.empty() ? 0 : 1;
    }
    catch (const std::exception& e)
    {
        std::cerr << "morvane-layering: " << e.what() << '\n';
        return 2;
    }
}
