// The options screen: difficulty and sound, shown as radio markers, saved on every way out.
#include "persist/settings.h"
#include "resources/images.h"
#include "shell/shell.h"
#include "ui/focus.h"
#include "ui/screen_loop.h"
#include "ui/screens.h"

namespace {

constexpr int kMarkerX = 4;
constexpr int kDifficultyY[] = {64, 97, 129};
constexpr int kSoundOnY = 215, kSoundOffY = 247;

enum class Choice { Ok, Easy, Normal, Hard, SoundOn, SoundOff };

struct OptionSpot {
    platform::Rect rect;
    Choice choice;
};

platform::Rect markerRect(int y) {
    const SDL_Surface* radio = images[kButRadio];
    return {kMarkerX, y, kMarkerX + (radio ? radio->w : 0), y + (radio ? radio->h : 0)};
}

// Returns the screen's result for the choice: 0 while the screen stays open.
int apply(Choice choice) {
    switch (choice) {
        case Choice::Ok:
            return ui::kScreenClosed;
        case Choice::Easy:
            settings.difficulty = 0;
            break;
        case Choice::Normal:
            settings.difficulty = 1;
            break;
        case Choice::Hard:
            settings.difficulty = 2;
            break;
        case Choice::SoundOn:
            settings.soundOn = 1;
            break;
        case Choice::SoundOff:
            settings.soundOn = 0;
            break;
    }
    return 0;
}

constexpr int kSpotCount = 6;

void optionSpots(OptionSpot (&spots)[kSpotCount]) {
    const OptionSpot table[kSpotCount] = {
        {{87, 280, 138, 308}, Choice::Ok},
        {markerRect(kDifficultyY[0]), Choice::Easy},
        {markerRect(kDifficultyY[1]), Choice::Normal},
        {markerRect(kDifficultyY[2]), Choice::Hard},
        {markerRect(kSoundOnY), Choice::SoundOn},
        {markerRect(kSoundOffY), Choice::SoundOff},
    };
    for (int k = 0; k < kSpotCount; ++k) spots[k] = table[k];
}

// The six spots do not overlap; each is tested on its own.
int handleTap(int x, int y) {
    OptionSpot spots[kSpotCount];
    optionSpots(spots);
    int result = 0;
    for (const OptionSpot& spot : spots) {
        if (!platform::ptInRect(spot.rect, x, y)) continue;
        if (const int r = apply(spot.choice)) result = r;
    }
    return result;
}

// A key's action: Escape leaves as OK does; the arrows and Enter work the focus.
int handleAction(platform::Action action, ui::Focus& focus, const platform::Rect (&rects)[kSpotCount]) {
    if (action == platform::Action::Back) return apply(Choice::Ok);
    const int pressed = focus.handle(action, rects, kSpotCount);
    if (pressed < 0) return 0;
    const ui::Input tap = ui::tapInside(rects[pressed]);
    return handleTap(tap.x, tap.y);
}

}  // namespace

void drawOptions() {
    blitImage(images[kOptions], 0, 0);
    if (settings.difficulty >= 0 && settings.difficulty <= 2) {
        blitImage(images[kButRadio], kMarkerX, kDifficultyY[settings.difficulty]);
    }
    blitImage(images[kButRadio], kMarkerX, settings.soundOn ? kSoundOnY : kSoundOffY);
    updateScreen();
}

int showOptions() {
    OptionSpot spots[kSpotCount];
    optionSpots(spots);
    platform::Rect rects[kSpotCount];
    for (int k = 0; k < kSpotCount; ++k) rects[k] = spots[k].rect;
    ui::Focus focus;
    drawOptions();
    focus.draw(rects);
    int result = 0;
    while (!result) {
        const ui::Input input = ui::waitInput();
        if (input.kind == ui::InputKind::Quit) result = ui::kScreenQuit;
        if (input.kind == ui::InputKind::Tap) result = handleTap(input.x, input.y);
        if (input.kind == ui::InputKind::Action) result = handleAction(input.action, focus, rects);
        drawOptions();
        focus.draw(rects);
    }
    saveSettings(settings);
    return result;
}
