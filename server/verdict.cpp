// The worker's answer line, both ways.
#include "verdict.h"

#include <nlohmann/json.hpp>

namespace scores {

std::string encodeVerdict(const Verdict& v) {
    static const char* const kKinds[] = {"entered", "refused", "unavailable"};
    nlohmann::json j = {{"kind", kKinds[v.kind]}, {"reason", v.reason}, {"difficulty", v.difficulty},
                        {"score", v.score},       {"level", v.level},   {"lives", v.lives},
                        {"frames", v.frames},     {"line", v.line},     {"seconds", v.seconds}};
    return j.dump(-1, ' ', false, nlohmann::json::error_handler_t::replace) + "\n";
}

bool decodeVerdict(const std::string& text, Verdict* v) {
    const nlohmann::json j = nlohmann::json::parse(text, nullptr, false);
    if (!j.is_object()) return false;
    try {
        const std::string kind = j.at("kind").get<std::string>();
        if (kind == "entered") {
            v->kind = Verdict::Entered;
        } else if (kind == "refused") {
            v->kind = Verdict::Refused;
        } else if (kind == "unavailable") {
            v->kind = Verdict::Unavailable;
        } else {
            return false;
        }
        v->reason = j.at("reason").get<std::string>();
        v->difficulty = j.at("difficulty").get<std::int32_t>();
        v->score = j.at("score").get<std::int32_t>();
        v->level = j.at("level").get<std::int32_t>();
        v->lives = j.at("lives").get<std::int32_t>();
        v->frames = j.at("frames").get<std::uint32_t>();
        v->line = j.at("line").get<std::string>();
        v->seconds = j.at("seconds").get<double>();
    } catch (const nlohmann::json::exception&) {
        return false;
    }
    return true;
}

}  // namespace scores
