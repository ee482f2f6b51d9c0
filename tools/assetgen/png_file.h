// Writing a picture as a PNG file (8-bit RGBA), the format icon themes take.
#pragma once

#include <string>

#include "assetgen/canvas.h"

namespace art {

bool writePng(const Canvas& picture, const std::string& path, std::string* error);

}  // namespace art
