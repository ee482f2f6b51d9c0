// The baseline of the memory measurement: opens the game's video mode and waits, nothing more.
// Used by bench/measure_memory.sh.
#include <SDL.h>

int main() {
    if (SDL_Init(SDL_INIT_VIDEO) < 0) return 1;
    SDL_Surface* screen = SDL_SetVideoMode(240, 320, 16, SDL_SWSURFACE);
    if (!screen) return 1;
    SDL_UpdateRect(screen, 0, 0, 0, 0);
    SDL_Event event;
    while (SDL_WaitEvent(&event) && event.type != SDL_QUIT) {
    }
    SDL_Quit();
    return 0;
}
