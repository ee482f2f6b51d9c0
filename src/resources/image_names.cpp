#include "resources/image_names.h"

// Five a row, as the slots are numbered.
// clang-format off
const char* const kImageFileNames[kImageSlotCount] = {
    "start_screen.bmp", "GameBackground.bmp", "Player1.bmp", "Weapon1.bmp", "Weapon2.bmp",
    "Enemy11.bmp", "Enemy21.bmp", "Enemy31.bmp", "NewGameBackground.bmp", "SmallEnemy.bmp",
    "GameOver.bmp", "GiftLauncher1.bmp", "Gifts.bmp", "Brick.bmp", "options.bmp",
    "help.bmp", "about.bmp", "scores.bmp", "support.bmp", "font.bmp",
    "font_bold.bmp", "StarFront1.bmp", "StarFront2.bmp", "StarFront3.bmp", "StarFront4.bmp",
    "StarFront5.bmp", "Explosion.bmp", "ExplosionPlayer.bmp", "but_radio.bmp", "start.bmp",
    "unused30.bmp", "but_resume.bmp", "keyboard_small.bmp", "keyboard_large.bmp", "keyboard_small_pushed.bmp",
    "keyboard_large_pushed.bmp", "unused36.bmp", "editbox.bmp", "font_white.bmp",
};
// clang-format on
