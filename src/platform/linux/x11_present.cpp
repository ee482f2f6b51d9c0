// Showing rectangles of the window on Linux. sdl12-compat (SDL 1.2 on top of SDL 2) shows every
// update by clearing the whole window, converting the rectangles for SDL 2's renderer and copying its
// whole picture to the X server again: play at scale 3 took about three times classic SDL's processor
// time. There the rectangles are put into the X window directly through shared memory, as classic SDL
// does itself, when the window's pixels are those of its X visual; everywhere else SDL shows them.
#include <sys/ipc.h>
#include <sys/shm.h>

#include <algorithm>
#include <cstring>

#include "platform/linux/sdl12_compat.h"
#include "platform/platform_detail.h"

// After our own headers: the X11 headers it brings define names such as None as macros.
#include <SDL_syswm.h>
#include <X11/Xutil.h>
#include <X11/extensions/XShm.h>

namespace platform {
namespace {

// An X image in memory shared with the X server, as large as the window's surface, made again when
// the window or the surface changes. The rectangles are copied into it and the server reads them
// from there: sent through the connection instead, they cost as much as SDL 2's own way.
struct DirectView {
    Display* display = nullptr;
    Window window = 0;
    const void* pixels = nullptr;
    int width = 0, height = 0, pitch = 0;
    bool usable = false;
    XImage* image = nullptr;
    XShmSegmentInfo shared{};
    GC gc = nullptr;
};
DirectView view;

void forgetView() {
    if (view.shared.shmaddr) {
        XShmDetach(view.display, &view.shared);
        XSync(view.display, False);
        shmdt(view.shared.shmaddr);
    }
    if (view.image) {
        view.image->data = nullptr;  // the shared memory, detached above
        XDestroyImage(view.image);
    }
    if (view.gc) XFreeGC(view.display, view.gc);
    view = DirectView{};
}

bool matches(const SDL_Surface* video, Display* display, Window window) {
    return view.display == display && view.window == window && view.pixels == video->pixels &&
           view.width == video->w && view.height == video->h && view.pitch == video->pitch;
}

bool attachFailed = false;
int noteAttachError(Display*, XErrorEvent*) {
    attachFailed = true;
    return 0;
}

// Attaches a shared image of the surface's size; false when the server cannot share memory with
// us (a display on another machine).
bool shareImage(SDL_Surface* video, const XWindowAttributes& attributes) {
    if (!XShmQueryExtension(view.display)) return false;
    view.image = XShmCreateImage(view.display, attributes.visual, static_cast<unsigned>(attributes.depth),
                                 ZPixmap, nullptr, &view.shared, static_cast<unsigned>(video->w),
                                 static_cast<unsigned>(video->h));
    if (!view.image || view.image->bits_per_pixel != 32) return false;
    view.shared.shmid = shmget(IPC_PRIVATE, static_cast<std::size_t>(view.image->bytes_per_line) * video->h,
                               IPC_CREAT | 0600);
    if (view.shared.shmid < 0) return false;
    void* memory = shmat(view.shared.shmid, nullptr, 0);
    shmctl(view.shared.shmid, IPC_RMID, nullptr);  // gone once both sides have let go
    if (memory == reinterpret_cast<void*>(-1)) return false;
    view.shared.shmaddr = view.image->data = static_cast<char*>(memory);
    view.shared.readOnly = False;
    // A server that cannot attach answers with an error, which Xlib's own handler ends the program on.
    attachFailed = false;
    const XErrorHandler previous = XSetErrorHandler(noteAttachError);
    const bool attached =
        XShmAttach(view.display, &view.shared) && (XSync(view.display, False), !attachFailed);
    XSetErrorHandler(previous);
    if (attached) return true;
    shmdt(view.shared.shmaddr);
    view.shared.shmaddr = view.image->data = nullptr;
    return false;
}

// Used when the window's pixels are its X visual's own: 32 bits a pixel, the same red, green and
// blue masks (SDL 2 takes a DirectColor visual where there is one, with ramps that leave the pixels
// as they are, and writes the same pixels into it).
void makeView(SDL_Surface* video, Display* display, Window window) {
    forgetView();
    view.display = display;
    view.window = window;
    view.pixels = video->pixels;
    view.width = video->w;
    view.height = video->h;
    view.pitch = video->pitch;
    XWindowAttributes attributes;
    const SDL_PixelFormat* f = video->format;
    if (!XGetWindowAttributes(display, window, &attributes) || f->BytesPerPixel != 4 ||
        (attributes.visual->c_class != TrueColor && attributes.visual->c_class != DirectColor) ||
        attributes.visual->red_mask != f->Rmask || attributes.visual->green_mask != f->Gmask ||
        attributes.visual->blue_mask != f->Bmask || !shareImage(video, attributes)) {
        return;
    }
    view.gc = XCreateGC(display, window, 0, nullptr);
    view.usable = view.gc != nullptr;
    // SDL 2 leaves it to a window manager to move a window going full screen to the screen's
    // corner; without one (a bare X server, a kiosk) the window stayed where the scaled window had
    // been, its picture cut off at the right and the bottom. With one, it is already there.
    if (view.usable && (video->flags & SDL_FULLSCREEN)) XMoveWindow(display, window, 0, 0);
}

// False when the rectangles are left to SDL.
bool showDirectly(SDL_Surface* video, int count, const SDL_Rect* rects) {
    static const bool compat = linux_target::onSdl12Compat();
    if (!compat || !video || video->format->BytesPerPixel != 4) return false;
    SDL_SysWMinfo info;
    SDL_VERSION(&info.version);
    if (SDL_GetWMInfo(&info) <= 0 || info.subsystem != SDL_SYSWM_X11) return false;
    if (!matches(video, info.info.x11.display, info.info.x11.window)) {
        makeView(video, info.info.x11.display, info.info.x11.window);
    }
    if (!view.usable) return false;
    const auto* from = static_cast<const Uint8*>(video->pixels);
    auto* to = reinterpret_cast<Uint8*>(view.image->data);
    for (int k = 0; k < count; ++k) {
        const int x0 = std::max<int>(rects[k].x, 0), y0 = std::max<int>(rects[k].y, 0);
        const int x1 = std::min(rects[k].x + rects[k].w, video->w),
                  y1 = std::min(rects[k].y + rects[k].h, video->h);
        if (x1 <= x0 || y1 <= y0) continue;
        for (int y = y0; y < y1; ++y) {
            std::memcpy(to + y * view.image->bytes_per_line + x0 * 4, from + y * video->pitch + x0 * 4,
                        static_cast<std::size_t>(x1 - x0) * 4);
        }
        XShmPutImage(view.display, view.window, view.gc, view.image, x0, y0, x0, y0,
                     static_cast<unsigned>(x1 - x0), static_cast<unsigned>(y1 - y0), False);
    }
    // The server has read the shared image before it is written again (classic SDL waits alike).
    XSync(view.display, False);
    return true;
}

}  // namespace

bool linux_target::onSdl12Compat() {
    const SDL_version* linked = SDL_Linked_Version();
    constexpr int kFirstCompatPatch = 50;
    return linked && linked->major == 1 && linked->minor == 2 && linked->patch >= kFirstCompatPatch;
}

namespace detail {

void rawUpdateRects(SDL_Surface* video, int count, SDL_Rect* rects) {
    if (!showDirectly(video, count, rects)) SDL_UpdateRects(video, count, rects);
}

}  // namespace detail
}  // namespace platform
