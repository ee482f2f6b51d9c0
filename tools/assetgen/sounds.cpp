// Sound synthesis: oscillators and noise shaped by envelopes, then normalised without clipping.
#include "assetgen/sounds.h"

#include <algorithm>
#include <cmath>

#include "assetgen/random.h"

namespace sound {
namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr double kPeak = 0.72;  // of full scale: loud enough, never clipped

using Signal = std::vector<double>;

Signal silence(double seconds) {
    return Signal(static_cast<std::size_t>(seconds * kSampleRate), 0.0);
}

double envelope(double t, double attack, double decay) {
    return t < attack ? t / attack : std::exp(-(t - attack) / decay);
}

std::vector<std::int16_t> finish(Signal signal) {
    double peak = 1e-9;
    for (double v : signal) peak = std::max(peak, std::abs(v));
    const std::size_t fade = kSampleRate / 60;  // about 17 ms, so the end never clicks
    for (std::size_t i = 0; i < fade && i < signal.size(); ++i)
        signal[signal.size() - 1 - i] *= double(i) / fade;
    std::vector<std::int16_t> samples;
    samples.reserve(signal.size());
    for (double v : signal)
        samples.push_back(static_cast<std::int16_t>(std::lround(v / peak * kPeak * 32767)));
    return samples;
}

}  // namespace

std::vector<std::int16_t> shot() {
    Signal s = silence(0.13);
    double phase = 0;
    for (std::size_t i = 0; i < s.size(); ++i) {
        const double t = double(i) / kSampleRate;
        const double frequency = 480 + 1500 * std::exp(-t / 0.035);
        phase += 2 * kPi * frequency / kSampleRate;
        const double tone = std::tanh(2.5 * std::sin(phase));  // a soft square: bright, not harsh
        s[i] = tone * envelope(t, 0.002, 0.045);
    }
    return finish(s);
}

std::vector<std::int16_t> hit() {
    Signal s = silence(0.32);
    art::Random random(77);
    double low = 0, phase = 0;
    for (std::size_t i = 0; i < s.size(); ++i) {
        const double t = double(i) / kSampleRate;
        const double cutoff = 0.05 + 0.45 * std::exp(-t / 0.05);  // the crackle darkens as it fades
        low += cutoff * ((random.unit() * 2 - 1) - low);
        phase += 2 * kPi * (55 + 110 * std::exp(-t / 0.04)) / kSampleRate;
        s[i] = 0.9 * low * envelope(t, 0.001, 0.09) + 0.8 * std::sin(phase) * envelope(t, 0.002, 0.07);
    }
    return finish(s);
}

std::vector<std::int16_t> carrierHit() {
    // A struck metal plate: inharmonic partials that ring down at different rates.
    static const double kPartials[][3] = {
        {587, 1.0, 0.16}, {933, 0.7, 0.11}, {1490, 0.5, 0.08}, {2217, 0.3, 0.05}};
    Signal s = silence(0.42);
    art::Random random(5);
    for (std::size_t i = 0; i < s.size(); ++i) {
        const double t = double(i) / kSampleRate;
        double v = 0;
        for (const auto& partial : kPartials)
            v += partial[1] * std::sin(2 * kPi * partial[0] * t) * envelope(t, 0.001, partial[2]);
        v += 0.5 * (random.unit() * 2 - 1) * envelope(t, 0.0005, 0.01);
        s[i] = v;
    }
    return finish(s);
}

std::vector<std::int16_t> giftCaught() {
    // A rising major arpeggio of soft bells.
    static const double kNotes[] = {1046.5, 1318.5, 1568.0, 2093.0};
    const double step = 0.07;
    Signal s = silence(0.48);
    for (int n = 0; n < 4; ++n) {
        const std::size_t start = static_cast<std::size_t>(n * step * kSampleRate);
        for (std::size_t i = start; i < s.size(); ++i) {
            const double t = double(i - start) / kSampleRate;
            const double bell =
                std::sin(2 * kPi * kNotes[n] * t) + 0.3 * std::sin(2 * kPi * 2 * kNotes[n] * t);
            s[i] += bell * envelope(t, 0.004, n == 3 ? 0.1 : 0.06);
        }
    }
    return finish(s);
}

}  // namespace sound
