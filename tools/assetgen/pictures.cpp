// The main pack's slot table: which builder makes each picture and which colour the game keys out.
#include "assetgen/pictures.h"

#include "assetgen/palette.h"

namespace art {
namespace {

using Builder = Canvas (*)(const Sources&);

struct Slot {
    Builder build;
    Colour key;
};

Canvas enemyOneHit(const Sources& s) {
    return enemyStrip(s, 1);
}
Canvas enemyTwoHits(const Sources& s) {
    return enemyStrip(s, 2);
}
Canvas enemyThreeHits(const Sources& s) {
    return enemyStrip(s, 3);
}
Canvas star1(const Sources&) {
    return starPicture(0);
}
Canvas star2(const Sources&) {
    return starPicture(1);
}
Canvas star3(const Sources&) {
    return starPicture(2);
}
Canvas star4(const Sources&) {
    return starPicture(3);
}
Canvas star5(const Sources&) {
    return starPicture(4);
}
Canvas keyboardSmall(const Sources& s) {
    return keyboardPicture(s, false, false);
}
Canvas keyboardLarge(const Sources& s) {
    return keyboardPicture(s, true, false);
}
Canvas keyboardSmallPushed(const Sources& s) {
    return keyboardPicture(s, false, true);
}
Canvas keyboardLargePushed(const Sources& s) {
    return keyboardPicture(s, true, true);
}

constexpr Colour kOpaque = palette::kKeyBlack;  // no transparent pixels: the key is never used
constexpr Colour kBlack = palette::kKeyBlack;

const Slot kSlots[] = {
    {splashPicture, kOpaque},                  // 0 start_screen.bmp
    {gameBackground, kOpaque},                 // 1 GameBackground.bmp
    {playerStrip, kBlack},                     // 2 Player1.bmp
    {shotPicture, kOpaque},                    // 3 Weapon1.bmp
    {bombPicture, kOpaque},                    // 4 Weapon2.bmp
    {enemyOneHit, kBlack},                     // 5 Enemy11.bmp
    {enemyTwoHits, kBlack},                    // 6 Enemy21.bmp
    {enemyThreeHits, kBlack},                  // 7 Enemy31.bmp
    {menuBackground, kOpaque},                 // 8 NewGameBackground.bmp
    {smallEnemyPicture, kOpaque},              // 9 SmallEnemy.bmp
    {gameOverBanner, kBlack},                  // 10 GameOver.bmp
    {carrierStrip, kBlack},                    // 11 GiftLauncher1.bmp
    {giftsStrip, kOpaque},                     // 12 Gifts.bmp
    {brickPicture, kOpaque},                   // 13 Brick.bmp
    {optionsScreen, kOpaque},                  // 14 options.bmp
    {helpScreen, kOpaque},                     // 15 help.bmp
    {aboutScreen, kOpaque},                    // 16 about.bmp
    {scoresScreen, kOpaque},                   // 17 scores.bmp
    {supportScreen, kOpaque},                  // 18 support.bmp
    {fontPicture, palette::kKeyFont},          // 19 font.bmp
    {boldFontPicture, palette::kKeyFontBold},  // 20 font_bold.bmp
    {star1, kOpaque},                          // 21 StarFront1.bmp
    {star2, kOpaque},                          // 22 StarFront2.bmp
    {star3, kOpaque},                          // 23 StarFront3.bmp
    {star4, kOpaque},                          // 24 StarFront4.bmp
    {star5, kOpaque},                          // 25 StarFront5.bmp
    {enemyExplosionStrip, kBlack},             // 26 Explosion.bmp
    {playerExplosionStrip, kOpaque},           // 27 ExplosionPlayer.bmp
    {choiceMarkerPicture, kBlack},             // 28 but_radio.bmp
    {levelBanner, kBlack},                     // 29 start.bmp
    {placeholderPicture, kOpaque},             // 30 never drawn
    {resumeButton, kOpaque},                   // 31 but_resume.bmp
    {keyboardSmall, kOpaque},                  // 32 keyboard_small.bmp
    {keyboardLarge, kOpaque},                  // 33 keyboard_large.bmp
    {keyboardSmallPushed, kOpaque},            // 34 keyboard_small_pushed.bmp
    {keyboardLargePushed, kOpaque},            // 35 keyboard_large_pushed.bmp
    {placeholderPicture, kOpaque},             // 36 never drawn
    {editBoxPicture, kOpaque},                 // 37 editbox.bmp
    {whiteFontPicture, kWhiteFontKey},         // 38 font_white.bmp
};

}  // namespace

Picture slotPicture(int slot, const Sources& sources) {
    const Slot& entry = kSlots[slot];
    return Picture{entry.build(sources), entry.key};
}

}  // namespace art
