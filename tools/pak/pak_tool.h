// The pack tool's commands: list, unpack and pack Korvex image packs.
#pragma once

#include <ostream>
#include <string>
#include <vector>

namespace paktool {

// Exit codes of the tool.
constexpr int kExitOk = 0;
constexpr int kExitFailed = 1;  // bad or missing input, or an output that cannot be written
constexpr int kExitUsage = 2;   // the command line itself is wrong

// Runs the command in `args` (without the program name): normal output to `out`, problems to `err`.
int run(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

// The file name under which image `index` of a pack of `count` images is unpacked.
std::string unpackedFileName(int index, int count);

}  // namespace paktool
