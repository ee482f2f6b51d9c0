// The world as a recorded game sees it.
#include "game/world_state.h"

#include <type_traits>

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

// The carried values in their stored order; the same walk reads and writes them.
template <typename Visit>
void forEachCarried(Visit visit) {
    visit(hurry);
    visit(lastRandom);
    visit(enemyFireChance);
    for (Enemy& e : enemies) visit(e.fireCounter);
    visit(player.movingLeft);
    visit(player.movingRight);
    visit(player.frame);
    visit(player.speed);
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
    forEachCarried([&](auto& field) {
        const auto value = static_cast<std::uint32_t>(field);
        for (int i = 0; i < 4; ++i) bytes += static_cast<char>(value >> (8 * i));
    });
    return bytes;
}

bool restoreCarriedState(const std::string& bytes) {
    if (bytes.size() != carriedState().size()) return false;
    std::size_t at = 0;
    forEachCarried([&](auto& field) {
        std::uint32_t value = 0;
        for (int i = 0; i < 4; ++i)
            value |= std::uint32_t{static_cast<unsigned char>(bytes[at++])} << (8 * i);
        field = static_cast<std::remove_reference_t<decltype(field)>>(value);
    });
    return true;
}
