// korvex-pak: the command-line pack tool.
#include <iostream>

#include "pak/pak_tool.h"

int main(int argc, char** argv) {
    return paktool::run(std::vector<std::string>(argv + 1, argv + argc), std::cout, std::cerr);
}
