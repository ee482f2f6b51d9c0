// Device services that are the same on every build: paths, the hot-spot rule, the random generator.
#include <cstdint>

#include "platform/platform.h"

namespace platform {

std::string joinPath(const std::string& folder, const std::string& name) {
    std::string path = folder;
    for (char c : name) {
        const char part = c == '\\' ? '/' : c;
        // One separator between components, whatever the name brings.
        if (part == '/' && !path.empty() && path.back() == '/') continue;
        path += part;
    }
    return path;
}

bool ptInRect(const Rect& r, int x, int y) { return r.left <= x && x < r.right && r.top <= y && y < r.bottom; }

namespace {

// The additive feedback generator the game has always drawn from: r[i] = r[i-3] + r[i-31] over 31
// words seeded by a multiplicative congruential sequence, the first 310 results thrown away, each
// result the sum without its lowest bit. Written out here so that a recorded game replays the same
// draws whatever C library the program is built against.
constexpr int kDegree = 31;
constexpr int kSeparation = 3;

struct Feedback {
    std::int32_t words[kDegree];
    int front = kSeparation;  // the word that receives the sum
    int rear = 0;             // the word added to it

    std::int32_t next() {
        const std::uint32_t sum =
            static_cast<std::uint32_t>(words[front]) + static_cast<std::uint32_t>(words[rear]);
        words[front] = static_cast<std::int32_t>(sum);
        front = (front + 1) % kDegree;
        rear = (rear + 1) % kDegree;
        return static_cast<std::int32_t>(sum >> 1);
    }
};

Feedback generator;

}  // namespace

void seedRandom(std::uint32_t seed) {
    if (seed == 0) seed = 1;
    // The seed is taken as a signed word; 16807 x mod (2^31 - 1), computed without overflow.
    std::int32_t word = static_cast<std::int32_t>(seed);
    generator.words[0] = word;
    for (int i = 1; i < kDegree; ++i) {
        const std::int32_t hi = word / 127773;
        const std::int32_t lo = word % 127773;
        word = 16807 * lo - 2836 * hi;
        if (word < 0) word += 2147483647;
        generator.words[i] = word;
    }
    generator.front = kSeparation;
    generator.rear = 0;
    for (int i = 0; i < 10 * kDegree; ++i) generator.next();
}

int nextRandom() { return generator.next(); }

}  // namespace platform
