#include "engine/tool/DbfTool.h"

#include <iostream>

int main(int argc, char** argv) {
    std::vector<std::string> args(argv + 1, argv + argc);
    return engine::tool::runDbfTool(args, std::cout, std::cerr);
}
