// Deterministic randomness for the generator: the same sources always give the same pictures.
#pragma once

#include <cstdint>

namespace art {

class Random {
  public:
    explicit Random(std::uint32_t seed) : state_(seed ? seed : 0x9E3779B9u) {}
    std::uint32_t next() {
        state_ ^= state_ << 13;
        state_ ^= state_ >> 17;
        state_ ^= state_ << 5;
        return state_;
    }
    double unit() { return (next() >> 8) / 16777216.0; }  // 0 <= unit < 1
    int range(int lo, int hi) { return lo + static_cast<int>(next() % static_cast<std::uint32_t>(hi - lo)); }

  private:
    std::uint32_t state_;
};

// Smooth value noise in 0..1 over the plane, with features about `cell` pixels wide.
double valueNoise(double x, double y, double cell, std::uint32_t seed);

}  // namespace art
