// korvex: a vertical space shooter for a 240 x 320 portrait screen.
#include <string>
#include <vector>

#include "platform/platform.h"  // through SDL.h, main becomes SDL's entry where SDL supplies one
#include "shell/command_line.h"
#include "shell/startup.h"
#include "shell/submit.h"

int main(int argc, char** argv) {
    const std::vector<std::string> args = platform::arguments(argc, argv);
    std::vector<const char*> pointers;
    for (const std::string& arg : args) pointers.push_back(arg.c_str());
    Options options;
    std::string error;
    if (!parseOptions(static_cast<int>(pointers.size()), pointers.data(), options, error)) {
        platform::reportText("korvex: " + error + "\n" + usageText(), true);
        return 2;
    }
    if (options.help) {
        platform::reportText(usageText(), false);
        return 0;
    }
    if (options.version) {
        platform::reportText(std::string(versionText()) + "\n", false);
        return 0;
    }
    if (!options.submitFile.empty()) return runSubmit(options);  // no window: a line and an exit status
    return korvexMain(options);
}
