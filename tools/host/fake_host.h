#pragma once
// A stand-in for the mail client: this process's executable exports the host's 58 functions, and
// the ones the plug-in calls act on the state below. Tests and the host simulator set it up, load
// the plug-in, call its callbacks, and read back what the plug-in did.

#include "shell/host_api.h"

#include <string>
#include <utility>
#include <vector>

struct FakeHost
{
    struct Command
    {
        std::string text;
        int type = 0;
        CommandCallback callback = nullptr;
        CommandStateCallback stateCallback = nullptr;
    };
    using Field = std::pair<std::string, std::string>;

    std::string version = "2.81.04";
    int versionReads = 0;
    std::string dataFolder;
    std::string mailBox;

    // The compose window's header fields; names compare without regard to letter case.
    std::vector<Field> headers;
    std::vector<std::string> headerReads; // every field asked for, in order
    std::vector<Field> headerWrites;      // every field written, in order

    std::vector<Command> commands; // registered, in order; the command id is 1000 + the index

    // The value of a header field, or nullptr when the compose window has no such field.
    const std::string* FindHeader(const std::string& name) const;
    void SetHeader(const std::string& name, const std::string& value);
};

// The one host of this process.
FakeHost& fakeHost();

constexpr int kFirstCommandId = 1000;
