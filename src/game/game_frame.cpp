// The level loop: one input event, one game step and a 50 ms pause per frame, until the level is
// cleared or lost, the menu is asked for, or the program is told to quit.
#include "game/game_frame.h"

#include "game/gifts.h"
#include "platform/platform.h"
#include "resources/images.h"

namespace {

constexpr platform::Rect kMenuArea = {94, 273, 143, 293};

void readMoveKeysDown(const Uint8* keys) {
    if (keys[SDLK_LEFT]) {
        player.movingRight = false;
        player.movingLeft = true;
    }
    // Right wins when both are held.
    if (keys[SDLK_RIGHT]) {
        player.movingLeft = false;
        player.movingRight = true;
    }
    if (keys[SDLK_UP]) fireShot();
    if (keys[SDLK_LCTRL]) fireShot();
}

void readMoveKeysUp(const Uint8* keys) {
    if (!keys[SDLK_LEFT]) player.movingLeft = false;
    if (!keys[SDLK_RIGHT]) player.movingRight = false;
}

void movePlayer() {
    if (player.movingLeft) {
        player.x = static_cast<std::int16_t>(player.x - player.speed);
        if (player.x < 0) player.x = 0;
    }
    if (player.movingRight) {
        player.x = static_cast<std::int16_t>(player.x + player.speed);
        if (player.x > kPlayerMaxX) player.x = kPlayerMaxX;
    }
}

}  // namespace

void handleEvent(const SDL_Event& event, int* result) {
    switch (event.type) {
        case SDL_KEYDOWN:
            // Escape (or the gamepad's Start) is the keyboard's MENU button.
            if (platform::actionOf(event) == platform::Action::Back) *result = kLevelMenu;
            readMoveKeysDown(platform::keyState());
            break;
        case SDL_KEYUP:
            readMoveKeysUp(platform::keyState());
            break;
        case SDL_MOUSEBUTTONDOWN:
            if (platform::ptInRect(kMenuArea, event.button.x, event.button.y)) *result = kLevelMenu;
            break;
        case SDL_QUIT:
            *result = kLevelQuit;
            break;
        default:
            break;
    }
}

void fireShot() {
    Projectile& shot = player.shot;
    if (shot.active) return;
    playSound(kSoundShot);
    const int shotWidth = images[kWeapon1] ? images[kWeapon1]->w : 0;
    shot.x = static_cast<std::int16_t>(player.x + kPlayerWidth / 2 - shotWidth / 2);
    shot.y = shot.homeY;
    shot.active = true;
}

void advanceFrame() {
    movePlayer();
    moveProjectile(player.shot);
    updateGift();
    tryStartLauncher();
    moveFormation();
    drawFrame();
}

int runLevel() {
    int result = 0;
    // The record keeps the last event taken: with nothing new pending it is handled again, so a
    // held fire button keeps firing.
    SDL_Event event{};
    event.type = SDL_NOEVENT;
    platform::beginPlay();
    platform::pollEvent(&event);
    drawFrame();
    do {
        platform::pollEvent(&event);
        handleEvent(event, &result);
        advanceFrame();
        if (levelCleared) {
            levelCleared = false;
            result = kLevelCleared;
        }
        // Losing wins over clearing, and both over the menu or quit asked for in the same frame.
        if (gameOver) {
            gameOver = false;
            result = kLevelLost;
        }
        platform::delay(kFrameDelayMs);
    } while (result == 0);
    platform::endPlay();
    return result;
}
