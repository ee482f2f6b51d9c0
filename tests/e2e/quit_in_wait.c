/* Preloaded into the game by quit.sh: the first time the game itself finds SDL's queue empty (its
 * wait for events, about to sleep), SIGTERM arrives at that very moment. A wait that lets the signal
 * in between that look and the sleep sleeps on until the next X event, which never comes. */
#define _GNU_SOURCE
#include <SDL.h>
#include <dlfcn.h>
#include <signal.h>
#include <string.h>

typedef int (*PeepEvents)(SDL_Event*, int, SDL_eventaction, Uint32);

int SDL_PeepEvents(SDL_Event* events, int count, SDL_eventaction action, Uint32 mask) {
    static PeepEvents real;
    static int raised;
    if (!real) real = (PeepEvents)dlsym(RTLD_NEXT, "SDL_PeepEvents");
    const int got = real(events, count, action, mask);
    Dl_info caller;
    /* Only the game's own calls: SDL's inner ones serve its polls. */
    const int fromGame = dladdr(__builtin_return_address(0), &caller) && caller.dli_fname &&
                         !strstr(caller.dli_fname, "libSDL");
    if (got == 0 && action == SDL_GETEVENT && fromGame && !raised) {
        raised = 1;
        raise(SIGTERM);
    }
    return got;
}
