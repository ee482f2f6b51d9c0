// Message boxes drawn inside the game window in the game's own font and answered with a tap;
// before the game's fonts are loaded they are drawn with the built-in font and also go to standard error.
#include <cstdio>
#include <string>
#include <vector>

#include "platform/platform_detail.h"

namespace platform {
namespace {

using Painter = detail::MessagePainter;
Painter painter;

constexpr int kBoxLeft = 14, kBoxWidth = 212, kPadding = 8;
constexpr int kButtonWidth = 64, kButtonGap = 12;

struct Layout {
    std::vector<std::string> lines;
    SDL_Rect box, captionBar;
    Rect ok, yes, no;
};
Rect lastButtons[3];  // by MessageAnswer, for a scripted target that answers with a tap
bool waiting = false;

bool fits(const std::string& line, int width) {
    return painter.measure(line.c_str()) <= width;
}

// Lines broken at spaces, and inside a word too long for a line of its own (a path).
std::vector<std::string> wrap(const std::string& text, int width) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (start <= text.size()) {
        std::size_t end = text.find('\n', start);
        if (end == std::string::npos) end = text.size();
        std::string line;
        std::size_t word = start;
        while (word < end) {
            std::size_t space = text.find(' ', word);
            if (space == std::string::npos || space > end) space = end;
            std::string next = text.substr(word, space - word);
            const std::string joined = line.empty() ? next : line + " " + next;
            if (line.empty() || !fits(joined, width)) {
                if (!line.empty()) lines.push_back(line);
                while (next.size() > 1 && !fits(next, width)) {
                    std::size_t cut = next.size() - 1;
                    while (cut > 1 && !fits(next.substr(0, cut), width)) --cut;
                    lines.push_back(next.substr(0, cut));
                    next.erase(0, cut);
                }
                line = next;
            } else {
                line = joined;
            }
            word = space + 1;
        }
        lines.push_back(line);
        start = end + 1;
    }
    return lines;
}

Rect buttonAt(int left, int top, int height) {
    return {left, top, left + kButtonWidth, top + height};
}

Layout layOut(const char* text) {
    Layout layout;
    layout.lines = wrap(text, kBoxWidth - 2 * kPadding);
    const int line = painter.lineHeight;
    const int buttonHeight = line + 8;
    const int height = (line + 6) + kPadding + static_cast<int>(layout.lines.size()) * line + kPadding +
                       buttonHeight + kPadding;
    const int top = (painter.screen->h - height) / 2;
    layout.box = {kBoxLeft, static_cast<Sint16>(top), kBoxWidth, static_cast<Uint16>(height)};
    layout.captionBar = {kBoxLeft, static_cast<Sint16>(top), kBoxWidth, static_cast<Uint16>(line + 6)};
    const int buttonTop = top + height - kPadding - buttonHeight;
    const int centre = kBoxLeft + kBoxWidth / 2;
    layout.ok = buttonAt(centre - kButtonWidth / 2, buttonTop, buttonHeight);
    layout.yes = buttonAt(centre - kButtonGap / 2 - kButtonWidth, buttonTop, buttonHeight);
    layout.no = buttonAt(centre + kButtonGap / 2, buttonTop, buttonHeight);
    return layout;
}

void frame(const SDL_Rect& r, Uint32 border, Uint32 fill) {
    SDL_Rect outer = r;
    SDL_FillRect(painter.screen, &outer, border);
    SDL_Rect inner = {static_cast<Sint16>(r.x + 1), static_cast<Sint16>(r.y + 1),
                      static_cast<Uint16>(r.w - 2), static_cast<Uint16>(r.h - 2)};
    SDL_FillRect(painter.screen, &inner, fill);
}

void drawButton(const Rect& b, const char* label) {
    const Uint32 border = SDL_MapRGB(painter.screen->format, 40, 44, 70);
    const Uint32 fill = SDL_MapRGB(painter.screen->format, 196, 204, 228);
    frame({static_cast<Sint16>(b.left), static_cast<Sint16>(b.top), static_cast<Uint16>(b.right - b.left),
           static_cast<Uint16>(b.bottom - b.top)},
          border, fill);
    const int x = (b.left + b.right - painter.measure(label)) / 2;
    painter.draw(label, x, b.top + 4);
}

void draw(const Layout& layout, const char* caption, MessageStyle style) {
    const SDL_PixelFormat* f = painter.screen->format;
    frame(layout.box, SDL_MapRGB(f, 40, 44, 70), SDL_MapRGB(f, 236, 232, 220));
    frame(layout.captionBar, SDL_MapRGB(f, 40, 44, 70), SDL_MapRGB(f, 170, 184, 222));
    painter.draw(caption, kBoxLeft + kPadding, layout.captionBar.y + 3);
    int y = layout.captionBar.y + layout.captionBar.h + kPadding;
    for (const std::string& line : layout.lines) {
        painter.draw(line.c_str(), kBoxLeft + kPadding, y);
        y += painter.lineHeight;
    }
    if (style == MessageStyle::YesNo) {
        drawButton(layout.yes, "Yes");
        drawButton(layout.no, "No");
    } else {
        drawButton(layout.ok, "OK");
    }
    presentScreen(painter.screen);
}

MessageAnswer waitForAnswer(const Layout& layout, MessageStyle style) {
    const MessageAnswer dismissed = style == MessageStyle::YesNo ? MessageAnswer::No : MessageAnswer::Ok;
    SDL_Event event;
    while (waitEvent(&event)) {
        if (event.type == SDL_QUIT) return dismissed;  // it stays asked: the screen behind sees it too
        // Enter (or the gamepad's first button) accepts, Escape (or its second) declines; Y and N answer.
        const Action action = actionOf(event);
        const SDLKey key = event.type == SDL_KEYDOWN ? event.key.keysym.sym : SDLK_UNKNOWN;
        if (action == Action::Back || (key == SDLK_n && style == MessageStyle::YesNo)) return dismissed;
        if ((action == Action::Press && key != SDLK_SPACE) || (key == SDLK_y && style == MessageStyle::YesNo))
            return style == MessageStyle::YesNo ? MessageAnswer::Yes : MessageAnswer::Ok;
        if (event.type != SDL_MOUSEBUTTONDOWN) continue;
        const int x = event.button.x, y = event.button.y;
        if (style == MessageStyle::Ok && ptInRect(layout.ok, x, y)) return MessageAnswer::Ok;
        if (style == MessageStyle::YesNo && ptInRect(layout.yes, x, y)) return MessageAnswer::Yes;
        if (style == MessageStyle::YesNo && ptInRect(layout.no, x, y)) return MessageAnswer::No;
    }
    return dismissed;
}

MessageAnswer showInWindow(const char* text, const char* caption, MessageStyle style) {
    SDL_Surface* saved = SDL_ConvertSurface(painter.screen, painter.screen->format, SDL_SWSURFACE);
    const Layout layout = layOut(text);
    lastButtons[static_cast<int>(MessageAnswer::Ok)] = layout.ok;
    lastButtons[static_cast<int>(MessageAnswer::Yes)] = layout.yes;
    lastButtons[static_cast<int>(MessageAnswer::No)] = layout.no;
    draw(layout, caption, style);
    waiting = true;
    const MessageAnswer answer = waitForAnswer(layout, style);
    waiting = false;
    if (saved) {
        SDL_BlitSurface(saved, nullptr, painter.screen, nullptr);
        SDL_FreeSurface(saved);
        presentScreen(painter.screen);
    }
    return answer;
}

void paintBuiltin(const char* text, int x, int y) {
    detail::drawBuiltinText(painter.screen, text, x, y, SDL_MapRGB(painter.screen->format, 24, 26, 44));
}

// Before the game's fonts are loaded: the box in the window with the font built into the code; a
// window is opened for it when there is none yet. Without a display the answer is the dismissal.
MessageAnswer showWithBuiltinFont(const char* text, const char* caption, MessageStyle style) {
    const MessageAnswer dismissed = style == MessageStyle::YesNo ? MessageAnswer::No : MessageAnswer::Ok;
    SDL_Surface* surface = detail::openGameSurface();
    bool startedVideo = false;
    if (!surface) {
        if (!SDL_WasInit(SDL_INIT_VIDEO)) {
            if (SDL_InitSubSystem(SDL_INIT_VIDEO) < 0) return dismissed;
            startedVideo = true;
        }
        std::string error;
        surface = openScreen(240, 320, 16, "KORVEX", &error);
    }
    MessageAnswer answer = dismissed;
    if (surface) {
        const Painter gameFont = painter;
        painter = {surface, paintBuiltin, detail::builtinTextWidth, detail::kBuiltinLineHeight};
        answer = showInWindow(text, caption, style);
        painter = gameFont;
    }
    if (startedVideo) SDL_QuitSubSystem(SDL_INIT_VIDEO);
    return answer;
}

}  // namespace

const detail::MessagePainter& detail::messagePainter() {
    return painter;
}

void setMessagePainter(SDL_Surface* screen, TextPainter draw, TextMeasurer measure, int lineHeight) {
    painter = {screen, draw, measure, lineHeight};
}

MessageAnswer messageBox(WindowHandle owner, const char* text, const char* caption, MessageStyle style) {
    MessageAnswer answer;
    if (painter.screen && painter.draw && painter.measure) {
        answer = showInWindow(text, caption, style);
    } else {
        std::fprintf(stderr, "%s: %s\n", caption, text);
        answer = showWithBuiltinFont(text, caption, style);
    }
    detail::noteMessage(owner, text, caption, style, answer);
    return answer;
}

namespace detail {
void screenMoved(SDL_Surface* from, SDL_Surface* to) {
    if (painter.screen == from) painter.screen = to;
}
Rect messageButtonShown(MessageAnswer which) {
    return lastButtons[static_cast<int>(which)];
}
bool messageBoxWaiting() {
    return waiting;
}
}  // namespace detail

}  // namespace platform
