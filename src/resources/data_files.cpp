// The game's data files, found as the install layout says.
#include "resources/data_files.h"

#include "shell/install_folders.h"
#include "shell/shell.h"

std::string dataFile(const std::string& name) {
    return dataFilePath(programDir, dataDir, name);
}
