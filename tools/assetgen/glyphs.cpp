// Parsing the glyph table and deriving the bold weight.
#include "assetgen/glyphs.h"

#include <fstream>

namespace art {
namespace {

bool isArtRow(const std::string& line) {
    return !line.empty() && line.find_first_not_of(".#") == std::string::npos;
}

std::string trimmed(const std::string& text) {
    const auto first = text.find_first_not_of(" \t\r");
    if (first == std::string::npos) return "";
    return text.substr(first, text.find_last_not_of(" \t\r") - first + 1);
}

bool finishGlyph(Glyph* glyph, const std::string& where, std::string* error) {
    if (glyph->rows.empty() || glyph->rows.size() > static_cast<std::size_t>(kArtRows)) {
        *error = where + ": needs 1 to " + std::to_string(kArtRows) + " rows";
        return false;
    }
    glyph->width = static_cast<int>(glyph->rows[0].size());
    for (const std::string& row : glyph->rows) {
        if (static_cast<int>(row.size()) != glyph->width) {
            *error = where + ": rows of different lengths";
            return false;
        }
    }
    glyph->rows.resize(kArtRows, std::string(glyph->width, '.'));
    return true;
}

}  // namespace

bool Glyph::ink(int x, int y) const {
    return x >= 0 && y >= 0 && x < width && y < kArtRows && rows[y][x] == '#';
}

Glyph emboldened(const Glyph& regular) {
    Glyph bold;
    bold.width = regular.width + 1;
    for (int y = 0; y < kArtRows; ++y) {
        std::string row(bold.width, '.');
        for (int x = 0; x < bold.width; ++x) {
            const bool widened = regular.ink(x - 1, y) && !regular.ink(x + 1, y);
            if (regular.ink(x, y) || widened) row[x] = '#';
        }
        bold.rows.push_back(row);
    }
    return bold;
}

bool GlyphSet::load(const std::string& path, std::string* error) {
    std::ifstream file(path);
    if (!file) {
        *error = "cannot read " + path;
        return false;
    }
    std::array<bool, kGlyphCount> given{}, boldGiven{};
    Glyph* current = nullptr;
    std::string where, line;
    int lineNumber = 0;
    while (std::getline(file, line)) {
        ++lineNumber;
        line = trimmed(line);
        if (line.empty() || line[0] == ';') continue;
        if (line[0] == ':' && line.size() >= 2) {
            if (current && !finishGlyph(current, where, error)) return false;
            const int code = static_cast<unsigned char>(line[1]);
            const bool bold = trimmed(line.substr(2)) == "bold";
            where = path + ":" + std::to_string(lineNumber);
            if (code < kFirstGlyph || code > kLastGlyph) {
                *error = where + ": no glyph for that character";
                return false;
            }
            (bold ? boldGiven : given)[code - kFirstGlyph] = true;
            current = &(bold ? bold_ : regular_)[code - kFirstGlyph];
            *current = Glyph{};
        } else if (current && isArtRow(line)) {
            current->rows.push_back(line);
        } else {
            *error = path + ":" + std::to_string(lineNumber) + ": not a glyph row: " + line;
            return false;
        }
    }
    if (current && !finishGlyph(current, where, error)) return false;
    for (int i = 0; i < kGlyphCount; ++i) {
        if (!given[i]) {
            *error = path + ": the glyph of '" + std::string(1, static_cast<char>(i + kFirstGlyph)) +
                     "' is missing";
            return false;
        }
        if (!boldGiven[i]) bold_[i] = emboldened(regular_[i]);
    }
    return true;
}

const Glyph& GlyphSet::glyph(char c, Weight weight) const {
    const int index = static_cast<unsigned char>(c) - kFirstGlyph;
    return (weight == Weight::kBold ? bold_ : regular_)[index];
}

}  // namespace art
