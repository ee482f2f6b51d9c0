// --submit's reading of a score service's answers, the address it sends to, and the names it takes.
#include "shell/submit.h"

#include <gtest/gtest.h>

TEST(SubmitTest, EveryAnswerHasItsLineAndExitStatus) {
    const std::string entry =
        R"({"id":7,"difficulty":"medium","score":4350,"level":3,"name":"A\"ce","rank":12,"line":"x"})";
    const struct {
        int status;
        std::string body;
        int exitCode;
        bool error;  // said on standard error
        std::string line;
    } kCases[] = {
        {201, entry, 0, false, "Entered at #12 on Medium: score 4350"},
        {200, entry, 0, false, "Already in the table (#12)"},
        {200, R"({"difficulty":"hard","score":1,"rank":null})", 0, false,
         "Already sent, and not shown in the table"},
        {201, "<html>", 2, true, "korvex: http://h is not a score service (its answer makes no sense)"},
        {422, R"({"error":"the game was left before its end"})", 1, false,
         "Refused: the game was left before its end"},
        {413, R"({"error":"too big"})", 1, false, "Refused: too big"},
        {400, R"({"error":"bad name"})", 2, true, "korvex: the server did not take the request: bad name"},
        {429, R"({"error":"wait 3 s"})", 2, true, "korvex: not sent, the server is busy: wait 3 s"},
        {503, "", 2, true, "korvex: not sent, the server is busy: it answered 503"},
        {404, "", 2, true, "korvex: http://h did not take the game: it answered 404"},
        {0, "", 2, true, "korvex: no score service reached at http://h: refused"},
    };
    for (const auto& c : kCases) {
        const SubmitResult r = readSubmitAnswer("http://h", c.status, c.body, "refused");
        EXPECT_EQ(r.line, c.line) << c.status;
        EXPECT_EQ(r.exitCode, c.exitCode) << c.status;
        EXPECT_EQ(r.error, c.error) << c.status;
    }
}

TEST(SubmitTest, JsonFieldsAreReadAtTheTopLevelOnly) {
    const std::string json = R"( { "name" : "\"rank\":9 \u00e9\ud83d\ude00\n", "n":-4 , "rank":null} )";
    std::string value;
    ASSERT_TRUE(jsonField(json, "name", &value));
    EXPECT_EQ(value, "\"rank\":9 \xC3\xA9\xF0\x9F\x98\x80\n");
    ASSERT_TRUE(jsonField(json, "n", &value));
    EXPECT_EQ(value, "-4");
    ASSERT_TRUE(jsonField(json, "rank", &value));
    EXPECT_EQ(value, "null");
    for (const char* bad :
         {"", "[]", R"({"rank")", R"({"a":{"rank":1},"rank":2})", R"({"a":"\x"})", R"({"a":1 "rank":2})"}) {
        EXPECT_FALSE(jsonField(bad, "rank", &value)) << bad;
    }
}

TEST(SubmitTest, TheNameIsEscapedIntoTheAddress) {
    EXPECT_EQ(submitUrl("http://h:1//", "Az09-._~"), "http://h:1/api/v1/games?name=Az09-._~");
    EXPECT_EQ(submitUrl("https://h/t", "a b&=#%+"), "https://h/t/api/v1/games?name=a%20b%26%3D%23%25%2B");
}

TEST(SubmitTest, NamesAreWhatTheKeyboardTypes) {
    for (const char* good : {"A", "Zed ~!?", "0123456789", "<b>&\"x'</b"})
        EXPECT_TRUE(typeableName(good)) << good;
    for (const char* bad : {"", "ElevenChars", "tab\there", "caf\xC3\xA9", "a\nb"})
        EXPECT_FALSE(typeableName(bad)) << bad;
}
