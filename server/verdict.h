// What a verifier worker answers for one recording: one line of JSON on its standard output.
#pragma once

#include <cstdint>
#include <string>
#include <utility>

namespace scores {

struct Verdict {
    enum Kind { Entered, Refused, Unavailable } kind = Unavailable;
    std::string reason;  // for Refused and Unavailable, in words a player reads
    std::int32_t difficulty = 0, score = 0, level = 0, lives = 0;
    std::uint32_t frames = 0;
    std::string line;    // what `korvex --verify` prints for the file
    double seconds = 0;  // the worker's time on it

    static Verdict failure(Kind kind, std::string why) {
        Verdict v;
        v.kind = kind;
        v.reason = std::move(why);
        return v;
    }
};

std::string encodeVerdict(const Verdict& verdict);
// False when `text` is not a verdict line.
bool decodeVerdict(const std::string& text, Verdict* verdict);

// The largest recording a submission may carry; workers refuse longer ones unread.
constexpr std::size_t kMaxRecording = 1u << 20;

}  // namespace scores
