#pragma once

#include <chrono>
#include <filesystem>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <ostream>
#include <streambuf>
#include <string>
#include <string_view>
#include <vector>

#include <nlohmann/json.hpp>

#include "net/PageText.h"
#include "Recording.h"
#include "app/App.h"
#include "kit/FakePorts.h"

namespace selvane::cli {

// Exit codes of the contract.
inline constexpr int kOk = 0;
inline constexpr int kInputError = 1;
inline constexpr int kUsage = 2;
// A review stopped by Ctrl-C: what it fetched is recorded.
inline constexpr int kStopped = 130;

// Page bytes or an argument as one line for a terminal: UTF-8 as toUtf8 gives it, with every
// control character but tab (C0, DEL, and C1 as U+0080..U+009F) written as an escape ("\x1b",
// "\u009b"), so that no text from a page or an argument can drive the terminal.
std::string terminalLine(std::string_view bytes);

// The error line is escaped when the error is made: what() of a text holding NUL would end there.
struct UsageError : std::runtime_error {
    explicit UsageError(const std::string& what) : std::runtime_error(terminalLine(what)) {}
};
struct InputError : std::runtime_error {
    explicit InputError(const std::string& what) : std::runtime_error(terminalLine(what)) {}
};

// One command's arguments after the common options were taken out.
class Args {
public:
    Args(std::vector<std::string> positional, std::map<std::string, std::string> options)
        : positional_(std::move(positional)), options_(std::move(options)) {}
    const std::vector<std::string>& positional() const { return positional_; }
    // The n-th positional argument (0-based) or a usage error naming what is missing.
    const std::string& at(std::size_t n, const char* what) const;
    std::optional<std::string> option(const std::string& name) const;
    bool flag(const std::string& name) const { return options_.count(name) > 0; }
    // Rejects options the command does not know and a wrong number of positionals.
    void expect(std::size_t minPositional, std::size_t maxPositional, std::vector<std::string> knownOptions) const;

private:
    std::vector<std::string> positional_;
    std::map<std::string, std::string> options_;
};

struct Context {
    Args args;
    bool json = false;
    std::filesystem::path workFolder;
    Services services;
    FetchLimits limits;
    std::ostream& out;
    std::ostream& err;

    // A fresh program state over the work folder, with recording ports (no windows).
    std::unique_ptr<App> makeApp();
    // The command's output: the JSON document with --json, else the table. Returns kOk.
    int print(const std::function<nlohmann::json()>& document, const std::function<void(std::ostream&)>& table);
    FakePorts ports;
    std::string name;  // the command's, for its lines on err
    RecordTarget record{};
    // What a punter command said besides its output (also on err), for its JSON's "warnings".
    std::vector<std::string> warnings = {};
    bool temporaryWork = false;  // workFolder is removed when the command ends
};

struct Command {
    std::string name;       // "normalise", "parse meetings", ...
    std::string usage;      // "normalise FILE"
    std::string summary;    // one line
    std::string help;       // the command's --help text after the usage line
    std::vector<std::string> options;  // options that take a value, besides the common ones
    std::function<int(Context&)> run;
    std::vector<std::string> flags = {};  // options without a value, besides --json
    // A punter command: its JSON is data with "error" and "warnings" (PunterJson.h), also when it
    // fails.
    bool punter = false;
    bool fetches = false;  // fetches pages (unless told --offline)
};

void registerCommand(Command command);
const std::vector<Command>& commands();

// Registers a command at start-up: `static cli::Registrar r{Command{...}};` in the command's file.
struct Registrar {
    explicit Registrar(Command command) { registerCommand(std::move(command)); }
};

// text as a whole number of 1 to maxDigits digits and nothing else (no sign, no blanks); none
// otherwise. For the small counts and numbers of the options.
std::optional<int> digitsNumber(const std::string& text, std::size_t maxDigits);

// --timeout SECONDS: 0.1 to 3600, written as a plain decimal number.
std::optional<std::chrono::milliseconds> timeoutSeconds(const std::string& text);

// Reads a whole file or throws InputError naming it ("-" reads stdin).
std::string readInputFile(const std::string& path);

// Page bytes as JSON text: UTF-8 where valid, else Latin-1.
using text::toUtf8;
nlohmann::json jsonText(std::string_view bytes);
// A float as JSON: a whole number as an integer, else the float's shortest decimal text.
nlohmann::json jsonNumber(float value);

// Page bytes for a terminal over several lines: as terminalLine, but CR LF, a lone CR and LF are
// plain line breaks.
std::string plainText(std::string_view bytes);
// Characters (code points) of a UTF-8 text.
std::size_t codePoints(std::string_view utf8);
// terminalLine(bytes) filled with blanks after it (left-aligned) or before it (right-aligned) up
// to width characters; a longer text is not cut.
std::string leftAligned(std::string_view bytes, std::size_t width);
std::string rightAligned(std::string_view bytes, std::size_t width);
// The width in characters of each column of rows, as terminalLine shows its cells.
std::vector<std::size_t> columnWidths(const std::vector<std::vector<std::string>>& rows);
// Each row on its own line, indented by two blanks: the cells padded to their column's width, two
// blanks apart, as terminalLine shows them; the texts' own blanks kept, the line's last ones cut.
void printTable(std::ostream& out, const std::vector<std::vector<std::string>>& rows);

// The message boxes a command showed: [{title, text}] in JSON, one "Message" line each in a table.
nlohmann::json messagesJson(const std::vector<ShownMessage>& messages);
void printMessages(std::ostream& out, const std::vector<ShownMessage>& messages);

// An http or https address with a host, and a port of 1 to 65535 when it names one; no user,
// query or fragment part, no blanks or control characters.
bool isWebAddress(std::string_view text);
// DD/MM/YYYY naming a day of the calendar (year 1 on).
bool isCalendarDate(std::string_view text);

// SIGINT, SIGTERM and SIGHUP remove the temporary work folder before they end the process; the
// first SIGINT of a watch ends the watch at its next wait instead. Call first in main(), before
// any thread starts.
void removeTempFolderOnSignals();

// Ctrl-C during a review stops it between pages, so what it fetched is recorded; true when a
// review was running and is now asked to stop. The next Ctrl-C ends the process.
bool stopRunningReview();

// Runs a command; output that cannot be written (out failed by the end) is "cannot write
// output: <reason>" on err and exit status 1, and silently 1 when the reader has gone (a closed pipe).
int runCli(int argc, char** argv, std::ostream& out, std::ostream& err);

// stdout as the commands write it: write(2) on fd 1 through a buffer that keeps the first
// error's errno, which std::cout's own buffer does not tell.
class StdoutBuffer : public std::streambuf {
public:
    StdoutBuffer() { setp(buffer_, buffer_ + sizeof buffer_); }
    ~StdoutBuffer() override { sync(); }
    int error() const { return error_; }

protected:
    int_type overflow(int_type c) override;
    int sync() override;

private:
    char buffer_[8192];
    int error_ = 0;
};

// main(): SIGPIPE ignored (a closed pipe is a write error, not the end of the process, so the
// temporary folder goes too) and runCli on stdout through a StdoutBuffer.
int runOnStdout(int argc, char** argv);

}  // namespace selvane::cli
