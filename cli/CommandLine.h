#pragma once

#include <map>
#include <ostream>
#include <string>
#include <vector>

#include "Cli.h"

namespace selvane::cli {

// The words of one run as the command table reads them.
struct CommandLine {
    const Command* command = nullptr;  // none when help or the version was asked for, or on an error
    std::vector<std::string> positional;
    // The options given, by name: the command's own and the common ones; "" for a flag.
    std::map<std::string, std::string> options;
    bool json = false;
    std::string error;  // a usage error's reason, one line; empty when the words were read
    bool done = false;  // help or the version printed: nothing more to do
};

// Reads the words by the command table with CLI11: common options before or after the command,
// "--opt=value", "--" ending the options, "help [COMMAND]", "--help" and "--version" (printed on
// out). Options that must hold before anything is fetched are checked here.
CommandLine readCommandLine(int argc, char** argv, std::ostream& out);

// The program's help, and one command's, as --help prints them.
std::string overviewHelp();
std::string commandHelp(const Command& command);

// The options every command takes: {name, value name or "" for a flag, what it does}.
struct CommonOption {
    const char* name;
    const char* value;
    const char* help;
};
const std::vector<CommonOption>& commonOptions();

}  // namespace selvane::cli
