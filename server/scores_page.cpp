// The /scores page: plain HTML that works without JavaScript; every name is escaped, and each row
// links the recording that made it.
#include "service.h"

namespace scores {

namespace {

constexpr int kPageRows = 100;
const char* const kTitles[kDifficulties] = {"Easy", "Medium", "Hard"};

}  // namespace

const char* const kScoresStyle =
    "body{font-family:sans-serif;background:#05051a;color:#e8e8f0;margin:1em auto;max-width:40em;padding:0 "
    "1em}"
    "h1,h2{color:#ffd84a}table{border-collapse:collapse;width:100%;margin-bottom:2em}"
    "th,td{padding:.2em .5em;text-align:right}th{border-bottom:1px solid "
    "#556}th:nth-child(2){text-align:left}"
    "td.name{text-align:left;font-family:monospace;white-space:pre}a{color:#8fd3ff}"
    "p.empty{color:#99a}\n";

std::string escapeHtml(const std::string& text) {
    std::string out;
    for (char c : text) {
        switch (c) {
            case '&':
                out += "&amp;";
                break;
            case '<':
                out += "&lt;";
                break;
            case '>':
                out += "&gt;";
                break;
            case '"':
                out += "&quot;";
                break;
            case '\'':
                out += "&#39;";
                break;
            default:
                out += c;
        }
    }
    return out;
}

std::string scoresPage(Store& store) {
    std::string html =
        "<!DOCTYPE html>\n<html lang=\"en\">\n<head>\n<meta charset=\"utf-8\">\n"
        "<meta name=\"viewport\" content=\"width=device-width, initial-scale=1\">\n"
        "<title>Korvex: public scores</title>\n<link rel=\"stylesheet\" "
        "href=\"/scores.css\">\n</head>\n<body>\n"
        "<h1>Korvex: public scores</h1>\n<p>Every entry is a recorded game that this server played again "
        "itself; "
        "the score is what the replay reached. Download a recording to watch it or verify it with "
        "<code>korvex --verify</code>.</p>\n";
    for (int d = 0; d < kDifficulties; ++d) {
        const Page page = store.top(d, kPageRows, 0);
        html += std::string("<h2 id=\"") + difficultyName(d) + "\">" + kTitles[d] + "</h2>\n";
        if (page.entries.empty()) {
            html += "<p class=\"empty\">No games yet.</p>\n";
            continue;
        }
        html += "<table id=\"table-" + std::string(difficultyName(d)) +
                "\">\n<tr><th>#</th><th>Name</th><th>Score</th><th>Level</th><th>Frames</th><th>Sent</th>"
                "<th>Game</th></tr>\n";
        for (const Entry& e : page.entries) {
            const std::string id = std::to_string(e.id);
            html += "<tr><td>" + std::to_string(e.rank) + "</td><td class=\"name\">" + escapeHtml(e.name) +
                    "</td><td>" + std::to_string(e.score) + "</td><td>" + std::to_string(e.level) +
                    "</td><td>" + std::to_string(e.frames) + "</td><td>" +
                    isoTime(e.submitted).substr(0, 10) + "</td><td><a href=\"/api/v1/games/" + id +
                    "/recording\" download=\"korvex-" + id + ".kvr\">recording</a></td></tr>\n";
        }
        html += "</table>\n";
    }
    return html + "</body>\n</html>\n";
}

}  // namespace scores
