// Command-line tool for making and inspecting the player's files.
#include <iostream>
#include <string>
#include <vector>

#include "tools/bdc_command.h"

namespace {

int Usage()
{
    std::cerr << "usage: olvetool bdc encode IN OUT   compress a file into the BDC format\n"
                 "       olvetool bdc decode IN OUT   expand a BDC file\n";
    return 2;
}

}  // namespace

int main(int argc, char** argv)
{
    std::vector<std::string> args(argv + 1, argv + argc);
    if (args.empty())
        return Usage();
    const std::string command = args.front();
    args.erase(args.begin());
    if (command == "bdc")
        return olve::RunBdcCommand(args);
    return Usage();
}
