#include "port/probe/PortvaneProbe.h"
#include "port/Win32PortvaneSystem.h"

#include <iostream>

int main(int argc, char** argv)
{
    std::vector<std::string> args(argv + 1, argv + argc);
    return RunPortvaneProbe(RealPortvaneSystem(), args, std::cout, std::cerr);
}
