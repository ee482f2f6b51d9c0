// --submit: a recorded game sent to a public score table, and the server's answer in one line.
#pragma once

#include <string>

#include "shell/command_line.h"

// What a server's answer means to the player: the line to print, whether it goes to standard error,
// and the exit status (0 entered or already there, 1 refused, 2 no server took it).
struct SubmitResult {
    std::string line;
    bool error = false;
    int exitCode = 2;
};

// Reads a server's answer to POST /api/v1/games: `status` 0 means none came (`failure` says why).
SubmitResult readSubmitAnswer(const std::string& server, int status, const std::string& body,
                              const std::string& failure);

// The value of `key` in a flat JSON object (a string unescaped, a number or a word as written);
// false when the text holds no such key at its top level.
bool jsonField(const std::string& json, const std::string& key, std::string* value);

// The address of the submission: `server` without trailing '/', the API path and the name escaped.
std::string submitUrl(const std::string& server, const std::string& name);

// True for 1 to 10 characters that the game's on-screen keyboard types.
bool typeableName(const std::string& name);

// The whole --submit command: the server from --server or korvex.conf, the file read, sent, answered.
int runSubmit(const Options& options);
