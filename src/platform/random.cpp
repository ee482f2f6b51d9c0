// The random generator behind randomRange, the same on every build.
#include <cstdint>

#include "platform/platform.h"

namespace platform {

namespace {

// The additive feedback generator the game has always drawn from: r[i] = r[i-3] + r[i-31] over 31
// words seeded by a multiplicative congruential sequence, the first 310 results thrown away, each
// result the sum without its lowest bit. Written out here so that a recorded game replays the same
// draws whatever C library the program is built against.
constexpr int kDegree = 31;
constexpr int kSeparation = 3;
constexpr int kDiscardedRounds = 10;  // of kDegree results each

struct Feedback {
    std::uint32_t words[kDegree];
    int front = kSeparation;  // the word that receives the sum
    int rear = 0;             // the word added to it

    std::int32_t next() {
        const std::uint32_t sum = words[front] + words[rear];
        words[front] = sum;
        if (++front == kDegree) front = 0;
        if (++rear == kDegree) rear = 0;
        return static_cast<std::int32_t>(sum >> 1);
    }

    // kDegree steps of next() from front = kSeparation, rear = 0, which leave them there again. The
    // game reseeds before every draw, so the discarded steps are most of what a draw costs: here the
    // three sums last made stay in registers (word j gets word j - 3 of this round).
    void round() {
        static_assert(kSeparation == 3, "the round keeps three sums");
        std::uint32_t a = words[0], b = words[1], c = words[2];
        for (int j = kSeparation; j < kDegree; ++j) {
            const std::uint32_t sum = words[j] + a;
            words[j] = sum;
            a = b;
            b = c;
            c = sum;
        }
        words[0] += a;  // the last three steps wrap around to the first words
        words[1] += b;
        words[2] += c;
    }
};

Feedback generator;

}  // namespace

void seedRandom(std::uint32_t seed) {
    if (seed == 0) seed = 1;
    // The seed is taken as a signed word; 16807 x mod (2^31 - 1), computed without overflow.
    std::int32_t word = static_cast<std::int32_t>(seed);
    generator.words[0] = static_cast<std::uint32_t>(word);
    for (int i = 1; i < kDegree; ++i) {
        const std::int32_t hi = word / 127773;
        const std::int32_t lo = word % 127773;
        word = 16807 * lo - 2836 * hi;
        if (word < 0) word += 2147483647;
        generator.words[i] = static_cast<std::uint32_t>(word);
    }
    generator.front = kSeparation;
    generator.rear = 0;
    for (int i = 0; i < kDiscardedRounds; ++i) generator.round();
}

int nextRandom() {
    return generator.next();
}

}  // namespace platform
