// korvex: a vertical space shooter for a 240 x 320 portrait screen.
#include "shell/startup.h"

int main(int argc, char** argv) {
    return runCommandLine(argc, argv);
}
