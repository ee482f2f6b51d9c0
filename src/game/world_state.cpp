// The world as a recorded game sees it.
#include "game/world_state.h"

#include <cstdint>
#include <type_traits>

#include "game/game_frame.h"
#include "game/world.h"

namespace {

// FNV-1a over the values in a fixed order.
class Digest {
  public:
    void add(std::int32_t value) {
        for (int i = 0; i < 4; ++i) {
            hash_ ^= (static_cast<std::uint32_t>(value) >> (8 * i)) & 0xffu;
            hash_ *= 16777619u;
        }
    }
    // Where a shot or bomb stopped matters to nothing once it is over.
    void add(const Projectile& p) {
        add(p.active);
        if (!p.active) return;
        add(p.x);
        add(p.y);
    }
    std::uint32_t value() const { return hash_; }

  private:
    std::uint32_t hash_ = 2166136261u;
};

constexpr std::int32_t kFireDraws = 500;  // the fire chance is out of so many draws

// The carried values in their stored order, each with the range the game keeps it in; the same walk
// writes, checks and reads them. A recording is only data: a value out of range is refused, not played.
template <typename Visit>
void forEachCarried(Visit visit) {
    visit(hurry, 0, 1);
    visit(lastRandom, 0, INT32_MAX);  // a draw: the low end of a range plus a share of it
    visit(enemyFireChance, 0, kFireDraws);
    for (Enemy& e : enemies) visit(e.fireCounter, 0, Enemy{}.firePeriod - 1);
    visit(player.movingLeft, 0, 1);
    visit(player.movingRight, 0, 1);
    visit(player.frame, 0, Player{}.frameCount - 1);
    visit(player.speed, 1, kPlayerMaxX);  // a step, never wider than the field
}

std::int32_t readCarried(const std::string& bytes, std::size_t at) {
    std::uint32_t value = 0;
    for (int i = 0; i < 4; ++i) value |= std::uint32_t{static_cast<unsigned char>(bytes[at + i])} << (8 * i);
    return static_cast<std::int32_t>(value);
}

}  // namespace

std::uint32_t worldChecksum() {
    Digest d;
    const Player& p = player;
    for (std::int32_t v :
         {std::int32_t{p.x}, std::int32_t{p.y}, std::int32_t{p.speed}, std::int32_t{p.movingLeft},
          std::int32_t{p.movingRight}, std::int32_t{p.lives}, p.score, std::int32_t{p.frame}}) {
        d.add(v);
    }
    d.add(p.shot);
    for (const Enemy& e : enemies) {
        d.add(e.bomb);
        for (std::int32_t v :
             {std::int32_t{e.x}, std::int32_t{e.y}, std::int32_t{e.code}, std::int32_t{e.alive},
              e.fireCounter, e.alive ? e.hitsLeft : 0, std::int32_t{e.frame}, std::int32_t{e.exploding}}) {
            d.add(v);
        }
    }
    for (const Star& s : stars) {
        for (std::int32_t v : {std::int32_t{s.x}, std::int32_t{s.y}, std::int32_t{s.vSpeed},
                               std::int32_t{s.hSpeed}, s.imageIndex}) {
            d.add(v);
        }
    }
    for (const Brick& b : bricks) d.add(b.present);
    const GiftLauncher& g = giftLauncher;
    for (std::int32_t v :
         {std::int32_t{g.x}, std::int32_t{g.y}, std::int32_t{g.movingRight}, std::int32_t{g.falling},
          std::int32_t{g.kind}, std::int32_t{g.effectKind}, std::int32_t{g.effectActive}, g.effectCounter,
          std::int32_t{g.freezeActive}, std::int32_t{g.chainActive}, g.animFrame}) {
        d.add(v);
    }
    for (std::int32_t v :
         {formationX, formationY, std::int32_t{formationMovingRight}, std::int32_t{formationMovingLeft},
          enemiesLeft, std::int32_t{hurry}, std::int32_t{showLevelBanner}, enemyFireChance, lastRandom}) {
        d.add(v);
    }
    return d.value();
}

std::string carriedState() {
    std::string bytes;
    forEachCarried([&](auto& field, std::int32_t, std::int32_t) {
        const auto value = static_cast<std::uint32_t>(field);
        for (int i = 0; i < 4; ++i) bytes += static_cast<char>(value >> (8 * i));
    });
    return bytes;
}

bool restoreCarriedState(const std::string& bytes) {
    if (bytes.size() != carriedState().size()) return false;
    std::size_t at = 0;
    bool inRange = true;
    forEachCarried([&](auto&, std::int32_t low, std::int32_t high) {
        const std::int32_t value = readCarried(bytes, at);
        inRange = inRange && value >= low && value <= high;
        at += 4;
    });
    if (!inRange) return false;
    at = 0;
    forEachCarried([&](auto& field, std::int32_t, std::int32_t) {
        field = static_cast<std::remove_reference_t<decltype(field)>>(readCarried(bytes, at));
        at += 4;
    });
    return true;
}
