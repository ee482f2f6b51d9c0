// The record stream inside a ".kvr" file: what happened during a game, in the order it happened. It
// opens with the start state (level, lives, score, difficulty, the carried bytes); then
//
//   record      bytes                               meaning
//   'T' d       zigzag varint                       a clock reading, d after the previous one
//   'F'         -                                   a frame that polled no event
//   'E' ...     type, button, state, x, y, key, mod a frame that polled this event
//   'K' k h     varint, byte                        key k is now held (h 1) or not (h 0)
//   'C' c       4 bytes                             the world checksum as this frame began
//   'P' d       zigzag varint                       play begins at difficulty d
//   'Q'         -                                   play ends
//   'X'         -                                   the recording stopped at the reader's limits
//                                                   while the game went on (just before 'Z')
//   'Z'         -                                   the end of the stream
#include "replay/record_stream.h"

#include <algorithm>

#include "platform/platform.h"

namespace replay {
namespace {

constexpr std::size_t kMaxCarried = 4096;

void putLe(std::string& out, std::uint32_t value, int bytes) {
    for (int i = 0; i < bytes; ++i) out += static_cast<char>(value >> (8 * i));
}

void putVarint(std::string& out, std::uint32_t value) {
    while (value >= 0x80) {
        out += static_cast<char>(value | 0x80);
        value >>= 7;
    }
    out += static_cast<char>(value);
}
void putSigned(std::string& out, std::int32_t value) {
    const auto v = static_cast<std::uint32_t>(value);
    putVarint(out, (v << 1) ^ (value < 0 ? 0xffffffffu : 0u));
}

// Reads the stream's records, every read checked against the end.
class Cursor {
  public:
    explicit Cursor(const std::string& bytes) : bytes_(bytes) {}
    bool ok() const { return ok_; }
    bool atEnd() const { return at_ >= bytes_.size(); }
    std::uint8_t byte() {
        if (at_ >= bytes_.size()) return fail();
        return static_cast<std::uint8_t>(bytes_[at_++]);
    }
    std::uint32_t varint() {
        std::uint32_t value = 0;
        for (int shift = 0; shift < 35; shift += 7) {
            const std::uint8_t b = byte();
            if (!ok_) return 0;
            if (shift == 28 && b > 0x0f) return fail();
            value |= std::uint32_t{b & 0x7fu} << shift;
            if (!(b & 0x80)) return value;
        }
        return fail();
    }
    std::int32_t signedVarint() {
        const std::uint32_t v = varint();
        return static_cast<std::int32_t>((v >> 1) ^ (0u - (v & 1)));
    }
    std::uint32_t fixed32() {
        std::uint32_t value = 0;
        for (int i = 0; i < 4; ++i) value |= std::uint32_t{byte()} << (8 * i);
        return value;
    }
    std::string bytes(std::size_t count) {
        if (count > bytes_.size() - at_) {
            fail();
            return {};
        }
        at_ += count;
        return bytes_.substr(at_ - count, count);
    }
    std::uint8_t fail() {
        ok_ = false;
        at_ = bytes_.size();
        return 0;
    }

  private:
    const std::string& bytes_;
    std::size_t at_ = 0;
    bool ok_ = true;
};

// The records, each written by one function that both the encoder and the recorder's count use.
void putStart(std::string& out, const Replay& r) {
    putVarint(out, static_cast<std::uint32_t>(r.start.level));
    putSigned(out, r.start.lives);
    putSigned(out, r.start.score);
    putSigned(out, r.start.difficulty);
    putVarint(out, static_cast<std::uint32_t>(r.carried.size()));
    out += r.carried;
}
void putEnd(std::string& out, bool cut) {
    if (cut) out += 'X';
    out += 'Z';
}
void putReading(std::string& out, std::uint32_t previous, std::uint32_t reading) {
    out += 'T';
    putSigned(out, static_cast<std::int32_t>(reading - previous));
}
void putFrame(std::string& out, const ReplayFrame& frame) {
    if (frame.checked) {
        out += 'C';
        putLe(out, frame.checksum, 4);
    }
    if (!frame.hasEvent) {
        out += 'F';
        return;
    }
    const RecordedEvent& e = frame.event;
    out += 'E';
    for (std::uint32_t v :
         {std::uint32_t{e.type}, std::uint32_t{e.button}, std::uint32_t{e.state}, std::uint32_t{e.x},
          std::uint32_t{e.y}, std::uint32_t{e.key}, std::uint32_t{e.mod}}) {
        putVarint(out, v);
    }
}
void putKeyChange(std::string& out, const KeyChange& change) {
    out += 'K';
    putVarint(out, change.key);
    out += static_cast<char>(change.held);
}

template <typename Put>
std::size_t sizeOf(Put put) {
    std::string out;
    put(out);
    return out.size();
}

}  // namespace

std::string encodeStream(const Replay& r) {
    std::string out;
    putStart(out, r);
    std::uint32_t previous = 0, reading = 0, key = 0;
    auto readingsUpTo = [&](std::uint32_t end) {
        for (; reading < end; ++reading) {
            putReading(out, previous, r.readings[reading]);
            previous = r.readings[reading];
        }
    };
    for (std::size_t s = 0; s < r.segments.size(); ++s) {
        const PlaySegment& segment = r.segments[s];
        readingsUpTo(segment.gapReadingsEnd);
        out += 'P';
        putSigned(out, segment.difficulty);
        const std::size_t framesEnd =
            s + 1 < r.segments.size() ? r.segments[s + 1].framesBegin : r.frames.size();
        for (std::size_t f = segment.framesBegin; f < framesEnd; ++f) {
            putFrame(out, r.frames[f]);
            for (; key < r.frames[f].keysEnd; ++key) putKeyChange(out, r.keyChanges[key]);
            readingsUpTo(r.frames[f].readingsEnd);
        }
        out += 'Q';
    }
    readingsUpTo(static_cast<std::uint32_t>(r.readings.size()));
    putEnd(out, r.cut);
    return out;
}

namespace {

bool isKeyEvent(std::uint32_t type) {
    return type == SDL_KEYDOWN || type == SDL_KEYUP;
}

// Rebuilds the frames and segments from the records, one reader for each writer above; every reader
// says false on anything a recorder never writes: a key past the last SDL knows, a stretch of play
// without a frame, more than `maxFrames` frames, a record out of its place.
class StreamReader {
  public:
    StreamReader(const std::string& stream, std::size_t maxFrames, Replay* replay)
        : in_(stream), maxFrames_(maxFrames), r_(*replay) {
        // Every frame is at least one byte of the stream: room for what it can really hold, made once.
        r_.frames.reserve(std::min(maxFrames, stream.size()));
    }

    bool read() {
        if (!readStart()) return false;
        for (;;) {
            const char tag = static_cast<char>(in_.byte());
            if (!in_.ok()) return false;
            if (tag == 'X' || tag == 'Z') return readEnd(tag);
            if (!readRecord(tag) || !in_.ok()) return false;
        }
    }

  private:
    bool inFrame() const { return inPlay_ && r_.segments.back().framesBegin < r_.frames.size(); }

    bool readRecord(char tag) {
        switch (tag) {
            case 'T':
                return readReading();
            case 'P':
                return readPlayBegins();
            case 'Q':
                return readPlayEnds();
            case 'C':
            case 'E':
            case 'F':
                return readFrame(tag);
            case 'K':
                return readKeyChange();
            default:
                return false;
        }
    }

    bool readStart() {
        r_.start.level = static_cast<std::int32_t>(in_.varint());
        r_.start.lives = in_.signedVarint();
        r_.start.score = in_.signedVarint();
        r_.start.difficulty = in_.signedVarint();
        const std::uint32_t carriedSize = in_.varint();
        if (!in_.ok() || carriedSize > kMaxCarried) return false;
        r_.carried = in_.bytes(carriedSize);
        return in_.ok();
    }

    bool readReading() {
        if (inPlay_ && !inFrame()) return false;
        previous_ += static_cast<std::uint32_t>(in_.signedVarint());
        r_.readings.push_back(previous_);
        if (inFrame()) r_.frames.back().readingsEnd = static_cast<std::uint32_t>(r_.readings.size());
        return true;
    }

    bool readPlayBegins() {
        if (inPlay_) return false;
        PlaySegment segment;
        segment.difficulty = in_.signedVarint();
        segment.gapReadingsBegin = gapBegin_;
        segment.gapReadingsEnd = static_cast<std::uint32_t>(r_.readings.size());
        segment.framesBegin = static_cast<std::uint32_t>(r_.frames.size());
        r_.segments.push_back(segment);
        inPlay_ = true;
        return true;
    }

    bool readPlayEnds() {
        if (!inFrame()) return false;
        inPlay_ = false;
        gapBegin_ = static_cast<std::uint32_t>(r_.readings.size());
        return true;
    }

    bool readFrame(char tag) {
        if (!inPlay_) return false;
        ReplayFrame frame;
        if (tag == 'C') {
            frame.checked = true;
            frame.checksum = in_.fixed32();
            tag = static_cast<char>(in_.byte());
            if (tag != 'E' && tag != 'F') return false;
        }
        frame.hasEvent = tag == 'E';
        if (frame.hasEvent && !readEvent(&frame.event)) return false;
        frame.readingsBegin = frame.readingsEnd = static_cast<std::uint32_t>(r_.readings.size());
        frame.keysBegin = frame.keysEnd = static_cast<std::uint32_t>(r_.keyChanges.size());
        if (r_.frames.size() >= maxFrames_) return false;
        r_.frames.push_back(frame);
        return true;
    }

    bool readEvent(RecordedEvent* e) {
        std::uint32_t v[7];
        for (std::uint32_t& x : v) x = in_.varint();
        if (v[0] > 0xff || v[1] > 0xff || v[2] > 0xff) return false;
        for (int i = 3; i < 7; ++i) {
            if (v[i] > 0xffff) return false;
        }
        if (isKeyEvent(v[0]) && v[5] >= SDLK_LAST) return false;
        *e = {static_cast<std::uint8_t>(v[0]),  static_cast<std::uint8_t>(v[1]),
              static_cast<std::uint8_t>(v[2]),  static_cast<std::uint16_t>(v[3]),
              static_cast<std::uint16_t>(v[4]), static_cast<std::uint16_t>(v[5]),
              static_cast<std::uint16_t>(v[6])};
        return true;
    }

    bool readKeyChange() {
        if (!inFrame()) return false;
        const std::uint32_t key = in_.varint();
        const std::uint8_t held = in_.byte();
        if (key >= SDLK_LAST) return false;
        r_.keyChanges.push_back({static_cast<std::uint16_t>(key), static_cast<std::uint8_t>(held != 0)});
        r_.frames.back().keysEnd = static_cast<std::uint32_t>(r_.keyChanges.size());
        return true;
    }

    // 'Z', or 'X' and then 'Z': the stream ends there, outside play.
    bool readEnd(char tag) {
        if (tag == 'X') {
            if (inPlay_ || static_cast<char>(in_.byte()) != 'Z') return false;
            r_.cut = true;
        }
        r_.trailingReadingsBegin = gapBegin_;
        return in_.ok() && !inPlay_ && in_.atEnd();
    }

    Cursor in_;
    std::size_t maxFrames_;
    Replay& r_;
    std::uint32_t previous_ = 0;
    std::uint32_t gapBegin_ = 0;
    bool inPlay_ = false;
};

}  // namespace

bool decodeStream(const std::string& stream, std::size_t maxFrames, Replay* replay) {
    return StreamReader(stream, maxFrames, replay).read();
}

std::size_t streamStartSize(const Replay& replay) {
    return sizeOf([&](std::string& out) {
        putStart(out, replay);
        putEnd(out, true);
    });
}
std::size_t readingSize(std::uint32_t previous, std::uint32_t reading) {
    return sizeOf([&](std::string& out) { putReading(out, previous, reading); });
}
std::size_t frameSize(const ReplayFrame& frame) {
    return sizeOf([&](std::string& out) { putFrame(out, frame); });
}
std::size_t keyChangeSize(const KeyChange& change) {
    return sizeOf([&](std::string& out) { putKeyChange(out, change); });
}
std::size_t segmentSize(std::int32_t difficulty) {
    return sizeOf([&](std::string& out) { putSigned(out, difficulty); }) + 2;  // and its 'P' and 'Q'
}

}  // namespace replay
