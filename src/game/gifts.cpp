// The gift carrier, the gift it drops and the effect of a caught gift. One record holds all of it:
// the carrier and the gift share one position, and only one of them exists at a time.
#include "game/gifts.h"

#include "game/game_frame.h"
#include "platform/platform.h"
#include "resources/images.h"

namespace {

constexpr int kCarrierWidth = 24;
constexpr int kCarrierFrames = 2;
constexpr int kCarrierLastX = 220;
constexpr int kGiftSize = 12;
constexpr int kGiftCentre = kGiftSize / 2;
constexpr int kRestY = 30;
constexpr int kLaunchDraws = 500;
constexpr std::int32_t kGiftSalt = 2222555;
constexpr int kGiftKinds = 5;
constexpr std::int16_t kSpeedUpBonus = 2;

int carrierHeight() {
    return giftLauncher.launcherImage ? giftLauncher.launcherImage->h : 0;
}

void putToRest() {
    giftLauncher.falling = false;
    giftLauncher.x = 0;
    giftLauncher.y = kRestY;
}

void startEffect(std::int16_t kind) {
    switch (kind) {
        case Freeze:
            giftLauncher.freezeActive = true;
            break;
        case Bricks:
            for (Brick& b : bricks) b.present = true;
            break;
        case ExtraLife:
            ++player.lives;
            break;
        case SpeedUp:
            player.speed = static_cast<std::int16_t>(player.speed + kSpeedUpBonus);
            break;
        case Chain:
            giftLauncher.chainActive = true;
            break;
    }
}

// Bricks and extra lives stay; the timed effects are taken back.
void endEffect(std::int16_t kind) {
    switch (kind) {
        case Freeze:
            giftLauncher.freezeActive = false;
            break;
        case SpeedUp:
            player.speed = static_cast<std::int16_t>(player.speed - kSpeedUpBonus);
            break;
        case Chain:
            giftLauncher.chainActive = false;
            break;
        default:
            break;
    }
}

bool playerTouches(int px, int py) {
    const platform::Rect r = {player.x, player.y, player.x + player.width, player.y + player.height};
    return platform::ptInRect(r, px, py);
}

void moveFallingGift() {
    GiftLauncher& g = giftLauncher;
    if (playerTouches(g.x + kGiftCentre, g.y + kGiftCentre)) {
        g.effectActive = true;
        g.effectKind = g.kind;
        playSound(kSoundGiftCaught);
        startEffect(g.kind);
        putToRest();
    }
    // Also in the frame of a catch, so the record then rests at y 33.
    g.y = static_cast<std::int16_t>(g.y + g.fallSpeed);
    if (g.y + kGiftSize > kScreenHeight) putToRest();
}

void countEffect() {
    GiftLauncher& g = giftLauncher;
    if (!g.effectActive) return;
    if (++g.effectCounter > g.effectDuration) {
        g.effectActive = false;
        endEffect(g.effectKind);
        g.effectCounter = 0;
    }
}

}  // namespace

void updateGift() {
    GiftLauncher& g = giftLauncher;
    if (g.movingRight) {
        g.x = static_cast<std::int16_t>(g.x + g.speed);
        if (g.x > kCarrierLastX) {
            g.movingRight = false;
            g.x = 0;
        }
    } else if (g.falling) {
        moveFallingGift();
    }
    countEffect();
}

void tryStartLauncher() {
    GiftLauncher& g = giftLauncher;
    if (g.movingRight || g.falling) return;
    // The draw is made even while an effect runs, so the random sequence does not depend on it.
    const std::int32_t v = randomRange(0, kLaunchDraws, kGiftSalt);
    if (v > kLaunchDraws - giftLaunchChance && !g.effectActive) g.movingRight = true;
}

void drawGiftLauncher() {
    GiftLauncher& g = giftLauncher;
    if (g.movingRight) {
        blitImagePart(g.launcherImage, g.x, g.y, kCarrierWidth, carrierHeight(), g.animFrame * kCarrierWidth,
                      0);
        if (++g.animFrame == kCarrierFrames) g.animFrame = 0;
    } else if (g.falling) {
        blitImagePart(g.giftImage, g.x, g.y, kGiftSize, kGiftSize, g.kind * kGiftSize, 0);
    }
}

void checkLauncherHit() {
    GiftLauncher& g = giftLauncher;
    Projectile& shot = player.shot;
    // Only a shot in flight hitting the carrier while it crosses: not the resting record, and not a
    // gift already falling.
    if (!shot.active || !g.movingRight) return;
    const platform::Rect r = {g.x, g.y, g.x + kCarrierWidth, g.y + carrierHeight()};
    if (!platform::ptInRect(r, shot.x, shot.y)) return;
    playSound(kSoundCarrierHit);
    g.kind = static_cast<std::int16_t>(randomRange(0, kGiftKinds, kGiftSalt));
    g.falling = true;
    g.movingRight = false;
    shot.active = false;
}
