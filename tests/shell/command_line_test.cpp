// The command line: every option, values at and past their bounds, and what is refused.
#include "shell/command_line.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

struct Parsed {
    bool ok;
    Options options;
    std::string error;
};

Parsed parse(std::vector<const char*> args) {
    args.insert(args.begin(), "korvex");
    Parsed p;
    p.ok = parseOptions(static_cast<int>(args.size()), args.data(), p.options, p.error);
    return p;
}

}  // namespace

TEST(OptionsTest, AcceptedOptionsFillTheirFields) {
    EXPECT_TRUE(parse({}).ok);
    EXPECT_EQ(parse({}).options.scale, 0);
    EXPECT_EQ(parse({}).options.fullscreen, -1);
    EXPECT_EQ(parse({}).options.speed, 1);
    EXPECT_EQ(parse({"--scale", "1"}).options.scale, 1);
    EXPECT_EQ(parse({"--scale=8"}).options.scale, 8);
    EXPECT_EQ(parse({"--speed", "16"}).options.speed, 16);
    EXPECT_EQ(parse({"--fullscreen"}).options.fullscreen, 1);
    EXPECT_EQ(parse({"--fullscreen", "--window"}).options.fullscreen, 0);
    EXPECT_EQ(parse({"--replay", "a.kvr"}).options.replayFile, "a.kvr");
    EXPECT_EQ(parse({"--verify=b.kvr"}).options.verifyFile, "b.kvr");
    const Options sent = parse({"--submit", "s.kvr", "--name=Ace", "--server", "http://h"}).options;
    EXPECT_EQ(sent.submitFile + sent.name + sent.server, "s.kvrAcehttp://h");
    EXPECT_TRUE(parse({"--help"}).options.help);
    EXPECT_TRUE(parse({"--version"}).options.version);
}

TEST(OptionsTest, BadCommandLinesAreRefusedWithOneLine) {
    // clang-format off
    const std::vector<std::vector<const char*>> bad = {
        {"--scale", "0"},    {"--scale", "9"}, {"--scale", "2x"},   {"--scale", ""},
        {"--scale"},         {"--speed", "0"}, {"--speed", "17"},   {"--speed", "-1"},
        {"--replay"},        {"--verify="},    {"--help=yes"},      {"-x"},
        {"--fullscreenish"}, {"game.kvr"},     {"--scale", "0003"},
        {"--replay", "a.kvr", "--verify", "b.kvr"},  // watch one or verify one
        {"--submit", "a.kvr"},  {"--name", "Ace"}, {"--server", "http://h"},
        {"--submit", "a.kvr", "--name", "Ace", "--verify", "a.kvr"},
    };
    // clang-format on
    for (const auto& args : bad) {
        const Parsed p = parse(args);
        EXPECT_FALSE(p.ok) << args[0];
        EXPECT_FALSE(p.error.empty()) << args[0];
        EXPECT_EQ(p.error.find('\n'), std::string::npos) << args[0];
    }
}

TEST(OptionsTest, HelpNamesEveryOptionAndTheWindowKeys) {
    const std::string help = usageText();
    for (const char* option : {"--scale N", "--fullscreen", "--window", "--replay FILE", "--speed N",
                               "--verify FILE", "--help", "--version"}) {
        EXPECT_NE(help.find(option), std::string::npos) << option;
    }
    EXPECT_NE(help.find("korvex.conf"), std::string::npos);
    EXPECT_NE(help.find("F11, Alt+Enter"), std::string::npos);
    EXPECT_EQ(help.find("\n\n\n"), std::string::npos);  // one blank line between paragraphs
}
