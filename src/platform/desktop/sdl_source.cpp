// What the desktop targets (linux/, windows/) take from SDL alike: its clock, its event queue and held
// keys, the desktop's size and the gamepad. The wait for an event and the showing of the window are
// each system's own.
#include "platform/platform_detail.h"

namespace platform {

void captureButtons() {}
void releaseButtons() {}

void openGamepad() {
    if (SDL_InitSubSystem(SDL_INIT_JOYSTICK) < 0 || SDL_NumJoysticks() < 1) return;
    if (SDL_JoystickOpen(0)) SDL_JoystickEventState(SDL_ENABLE);  // stays open for the whole run
}

namespace detail {

std::uint32_t rawTicks() {
    return SDL_GetTicks();
}

void rawDelay(std::uint32_t ms) {
    SDL_Delay(ms);
}

int rawPollEvent(SDL_Event* event) {
    return SDL_PollEvent(event);
}

const Uint8* rawKeyState() {
    return SDL_GetKeyState(nullptr);
}

void rawDesktopSize(int* width, int* height, int* bitsPerPixel) {
    // SDL tells the desktop's size only until the first video mode is set: keep it for the switches.
    static int desktopW = 0, desktopH = 0, desktopDepth = 0;
    if (!SDL_GetVideoSurface()) {
        const SDL_VideoInfo* info = SDL_GetVideoInfo();
        desktopW = info ? info->current_w : 0;
        desktopH = info ? info->current_h : 0;
        desktopDepth = info && info->vfmt ? info->vfmt->BitsPerPixel : 0;
    }
    *width = desktopW;
    *height = desktopH;
    *bitsPerPixel = desktopDepth;
}

void noteMessage(WindowHandle, const char*, const char*, MessageStyle, MessageAnswer) {}

}  // namespace detail
}  // namespace platform
