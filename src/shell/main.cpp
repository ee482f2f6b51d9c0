// korvex: a vertical space shooter for a 240 x 320 portrait screen.
#include <cstdio>

#include "shell/options.h"
#include "shell/startup.h"

int main(int argc, char** argv) {
    Options options;
    std::string error;
    if (!parseOptions(argc, argv, options, error)) {
        std::fprintf(stderr, "korvex: %s\n%s", error.c_str(), usageText().c_str());
        return 2;
    }
    if (options.help) {
        std::fputs(usageText().c_str(), stdout);
        return 0;
    }
    if (options.version) {
        std::printf("%s\n", versionText());
        return 0;
    }
    return korvexMain(options);
}
