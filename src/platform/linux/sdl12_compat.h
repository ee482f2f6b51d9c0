// What the Linux build does differently on sdl12-compat, the SDL 1.2 made on top of SDL 2.
#pragma once

namespace platform::linux_target {

// True when the SDL 1.2 linked is sdl12-compat (it says it is 1.2.50 or later).
bool onSdl12Compat();

}  // namespace platform::linux_target
