#include "Cli.h"

#include "Ahead.h"
#include "CommandLine.h"
#include "PunterJson.h"
#include "Recording.h"
#include "Watch.h"
#include "WorkFolder.h"
#include "net/Fetcher.h"
#include "net/HtmlEngine.h"
#include "net/PageText.h"

#include <pthread.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <charconv>
#include <chrono>
#include <cmath>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iostream>
#include <iterator>
#include <mutex>
#include <sstream>
#include <thread>

namespace selvane::cli {

namespace fs = std::filesystem;

namespace {

std::vector<Command>& registry() {
    static std::vector<Command> all;
    return all;
}

// The temporary work folder of the running command, for the signal thread to remove.
std::mutex tempFolderMutex;
fs::path tempFolderNow;

// Where a command's temporary work folder goes: a memory-backed folder where there is one. The
// files live for one command, and on a disk every write, rename and removal of them is a
// journalled change that waits behind the rest of the machine's writes. The user's runtime
// folder; else TMPDIR when the user chose one; else the system's shared-memory folder (a
// memory file system on Linux, also outside a login session); else the temp folder.
fs::path tempRoot() {
    std::error_code ec;
    if (const char* runtime = std::getenv("XDG_RUNTIME_DIR"); runtime && *runtime && fs::is_directory(runtime, ec))
        return runtime;
    if (const char* chosen = std::getenv("TMPDIR"); chosen && *chosen) return fs::temp_directory_path();
    if (fs::is_directory("/dev/shm", ec) && ::access("/dev/shm", W_OK | X_OK) == 0) return "/dev/shm";
    return fs::temp_directory_path();
}

// Removes the temporary work folder when the command ends.
struct TempFolder {
    fs::path path;
    void make() {
        std::string pattern = (tempRoot() / "selvane-cli-XXXXXX").string();
        std::lock_guard lock(tempFolderMutex);
        if (!mkdtemp(pattern.data())) throw InputError("cannot make a temporary work folder");
        path = tempFolderNow = pattern;
    }
    ~TempFolder() {
        if (path.empty()) return;
        std::lock_guard lock(tempFolderMutex);
        std::error_code ec;
        fs::remove_all(path, ec);
        tempFolderNow.clear();
    }
};

}  // namespace

const std::string& Args::at(std::size_t n, const char* what) const {
    if (n >= positional_.size()) throw UsageError(std::string("missing ") + what);
    return positional_[n];
}

std::optional<std::string> Args::option(const std::string& name) const {
    const auto it = options_.find(name);
    if (it == options_.end()) return std::nullopt;
    return it->second;
}

void Args::expect(std::size_t minPositional, std::size_t maxPositional, std::vector<std::string> knownOptions) const {
    for (const auto& [name, value] : options_) {
        if (std::find(knownOptions.begin(), knownOptions.end(), name) == knownOptions.end())
            throw UsageError("unknown option " + name);
    }
    if (positional_.size() < minPositional) throw UsageError("missing argument");
    if (positional_.size() > maxPositional) throw UsageError("unexpected argument " + positional_[maxPositional]);
}

std::optional<std::chrono::milliseconds> timeoutSeconds(const std::string& text) {
    double seconds = 0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), seconds);
    if (ec != std::errc() || end != text.data() + text.size() || !(seconds >= 0.1 && seconds <= 3600))
        return std::nullopt;
    return std::chrono::milliseconds(std::llround(seconds * 1000));
}

std::unique_ptr<App> Context::makeApp() {
    Ports recording = ports.ports();
    // No window to keep painted: a fetch runs on this thread instead of starting one per page.
    recording.pump = nullptr;
    auto app = std::make_unique<App>(workFolder, recording, services);
    app->limits = limits;
    app->markupUnseen = temporaryWork;
    return app;
}

int Context::print(const std::function<nlohmann::json()>& document, const std::function<void(std::ostream&)>& table) {
    if (json)
        out << document().dump(2) << "\n";
    else
        table(out);
    return kOk;
}

void registerCommand(Command command) { registry().push_back(std::move(command)); }

const std::vector<Command>& commands() { return registry(); }

std::optional<int> digitsNumber(const std::string& text, std::size_t maxDigits) {
    if (text.empty() || text.size() > maxDigits || text.find_first_not_of("0123456789") != std::string::npos)
        return std::nullopt;
    return std::stoi(text);
}

bool isWebAddress(std::string_view address) {
    for (const char c : address)
        if (static_cast<unsigned char>(c) <= 0x20 || c == 0x7F || c == '@' || c == '?' || c == '#') return false;
    std::size_t start = 0;
    for (std::string_view scheme : {"HTTP://", "HTTPS://"})
        if (text::startsNoCase(address, scheme)) start = scheme.size();
    if (start == 0) return false;
    const std::string_view authority = address.substr(start, address.find('/', start) - start);
    std::size_t portAt = std::string_view::npos;
    if (!authority.empty() && authority.front() == '[') {
        const std::size_t close = authority.find(']');
        if (close == std::string_view::npos || close < 2) return false;
        if (close + 1 < authority.size()) {
            if (authority[close + 1] != ':') return false;
            portAt = close + 2;
        }
    } else {
        const std::size_t colon = authority.find(':');
        const std::string_view host = authority.substr(0, colon);
        if (host.empty()) return false;
        for (const char c : host)
            if (!(std::isalnum(static_cast<unsigned char>(c)) || c == '.' || c == '-' || c == '_' ||
                  static_cast<unsigned char>(c) >= 0x80))
                return false;
        if (colon != std::string_view::npos) portAt = colon + 1;
    }
    if (portAt == std::string_view::npos) return true;
    const std::optional<int> port = digitsNumber(std::string(authority.substr(portAt)), 5);
    return port && *port >= 1 && *port <= 65535;
}

bool isCalendarDate(std::string_view text) {
    if (text.size() != 10 || text[2] != '/' || text[5] != '/') return false;
    const auto part = [&](std::size_t at, std::size_t n) { return digitsNumber(std::string(text.substr(at, n)), n); };
    const auto day = part(0, 2), month = part(3, 2), year = part(6, 4);
    if (!day || !month || !year || *year < 1) return false;
    return std::chrono::year_month_day{std::chrono::year{*year}, std::chrono::month(static_cast<unsigned>(*month)),
                          std::chrono::day(static_cast<unsigned>(*day))}
        .ok();
}

std::string readInputFile(const std::string& path) {
    if (path == "-") {
        std::ostringstream s;
        s << std::cin.rdbuf();
        return s.str();
    }
    std::error_code ec;
    const fs::file_status status = fs::status(path, ec);
    if (fs::is_directory(status)) throw InputError(path + ": is a folder, not a file");
    if (!fs::exists(status)) throw InputError(path + ": no such file");
    if (!fs::is_regular_file(status)) throw InputError(path + ": is not a regular file");
    std::ifstream in(path, std::ios::binary);
    if (!in) throw InputError(path + ": cannot be read");
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

nlohmann::json jsonText(std::string_view bytes) { return toUtf8(bytes); }

nlohmann::json jsonNumber(float value) {
    if (std::trunc(value) == value && std::fabs(value) < 1e15f) return static_cast<long long>(value);
    // The float's shortest text read back as a double: R4.6 gives 4.6, not the widened 4.599999904632568.
    char buffer[32];
    const auto [end, ec] = std::to_chars(buffer, buffer + sizeof buffer, value);
    double shortest = value;
    if (ec == std::errc{}) std::from_chars(buffer, end, shortest);
    return shortest;
}

std::string terminalLine(std::string_view bytes) { return text::escapeControls(text::toUtf8(bytes), false); }

std::string plainText(std::string_view bytes) {
    const std::string utf8 = toUtf8(bytes);
    std::string out;
    out.reserve(utf8.size());
    for (std::size_t i = 0; i < utf8.size(); ++i) {
        if (utf8[i] != '\r') {
            out += utf8[i];
        } else {
            out += '\n';
            if (i + 1 < utf8.size() && utf8[i + 1] == '\n') ++i;
        }
    }
    return text::escapeControls(out, true);
}

std::size_t codePoints(std::string_view utf8) {
    // Every byte but a continuation byte starts a character.
    return static_cast<std::size_t>(
        std::count_if(utf8.begin(), utf8.end(), [](char c) { return (static_cast<unsigned char>(c) & 0xC0) != 0x80; }));
}

std::string leftAligned(std::string_view bytes, std::size_t width) {
    std::string text = terminalLine(bytes);
    const std::size_t n = codePoints(text);
    if (n < width) text.append(width - n, ' ');
    return text;
}

std::string rightAligned(std::string_view bytes, std::size_t width) {
    std::string text = terminalLine(bytes);
    const std::size_t n = codePoints(text);
    if (n < width) text.insert(0, width - n, ' ');
    return text;
}

std::vector<std::size_t> columnWidths(const std::vector<std::vector<std::string>>& rows) {
    std::vector<std::size_t> widths;
    for (const auto& row : rows)
        for (std::size_t c = 0; c < row.size(); ++c) {
            if (widths.size() <= c) widths.push_back(0);
            widths[c] = std::max(widths[c], codePoints(terminalLine(row[c])));
        }
    return widths;
}

void printTable(std::ostream& out, const std::vector<std::vector<std::string>>& rows) {
    const std::vector<std::size_t> widths = columnWidths(rows);
    for (const auto& row : rows) {
        std::string line;
        for (std::size_t c = 0; c < row.size(); ++c)
            line += c + 1 < row.size() ? leftAligned(row[c], widths[c] + 2) : terminalLine(row[c]);
        while (!line.empty() && line.back() == ' ') line.pop_back();
        out << "  " << line << "\n";
    }
}

nlohmann::json messagesJson(const std::vector<ShownMessage>& messages) {
    nlohmann::json list = nlohmann::json::array();
    for (const ShownMessage& m : messages) list.push_back({{"title", jsonText(m.title)}, {"text", jsonText(m.text)}});
    return list;
}

void printMessages(std::ostream& out, const std::vector<ShownMessage>& messages) {
    for (const ShownMessage& m : messages)
        out << "Message \"" << plainText(m.title) << "\": " << plainText(m.text) << "\n";
}

void removeTempFolderOnSignals() {
    // Blocked here, before any other thread starts, so that only the waiting thread takes them.
    sigset_t set;
    sigemptyset(&set);
    for (int sig : {SIGINT, SIGTERM, SIGHUP, SIGWINCH}) sigaddset(&set, sig);
    if (pthread_sigmask(SIG_BLOCK, &set, nullptr) != 0) return;
    std::thread([set] {
        int sig = 0;
        // The first Ctrl-C of a watch ends it at its next wait, so it leaves as it would at the end.
        // SIGTERM ends it at once, also during a fetch.
        for (;;) {
            if (sigwait(&set, &sig) != 0) return;
            if (sig == SIGWINCH)
                resizeRunningWatch();
            else if (sig != SIGINT || !(stopRunningWatch() || stopRunningReview()))
                break;
        }
        leaveWatchScreen();
        {
            std::lock_guard lock(tempFolderMutex);
            std::error_code ec;
            // A file the command writes meanwhile can keep the folder; a few tries suffice.
            for (int tries = 0; tries < 5 && !tempFolderNow.empty() && fs::exists(tempFolderNow, ec); ++tries)
                fs::remove_all(tempFolderNow, ec);
            // Ends the process the way the signal would have.
            std::signal(sig, SIG_DFL);
            pthread_sigmask(SIG_UNBLOCK, &set, nullptr);
            std::raise(sig);
        }
        std::_Exit(128 + sig);
    }).detach();
}

namespace {

// What the command's output came to: code, or 1 when out could not be written.
int checkOutput(std::ostream& out, std::ostream& err, const std::string& who, int code) {
    out.flush();
    if (out) return code;
    const auto* buffer = dynamic_cast<const StdoutBuffer*>(out.rdbuf());
    const int error = buffer ? buffer->error() : 0;
    // A reader that has gone (head -1) wanted no more: nothing to tell it.
    if (error != EPIPE)
        err << who << ": cannot write output: " << (error ? std::strerror(error) : "the write failed") << "\n";
    return code == kOk ? kInputError : code;
}

int runWords(int argc, char** argv, std::ostream& out, std::ostream& err, std::string& who) {
    CommandLine line = readCommandLine(argc, argv, out);
    if (line.done) return kOk;
    const Command* cmd = line.command;
    if (!line.error.empty()) {
        err << "selvane-cli" << (cmd ? " " + cmd->name : "") << ": " << terminalLine(line.error);
        if (cmd) err << " (usage: selvane-cli " << cmd->usage << ")";
        err << "\n";
        return kUsage;
    }
    if (!cmd) {
        err << overviewHelp();
        return kUsage;
    }
    who = "selvane-cli " + cmd->name;
    std::map<std::string, std::string>& options = line.options;

    Services services = Services::compiledIn();
    FetchLimits limits;
    TempFolder temp;
    fs::path work;
    std::optional<InstanceLock> workLock;
    try {
        // The words' reader has checked these: a malformed address would be sent as it is.
        if (auto v = options.find("--form-guide"); v != options.end()) services.formGuide = v->second;
        if (auto v = options.find("--results-site"); v != options.end()) services.resultsSiteRoot = v->second;
        if (auto v = options.find("--timeout"); v != options.end()) {
            limits.total = *timeoutSeconds(v->second);
            limits.connect = std::min(limits.connect, limits.total);
        }
        if (auto v = options.find("--work"); v != options.end()) {
            work = v->second;
            // Another run in the folder gets the time of one fetch to finish.
            workLock.emplace(takeWorkFolder(work, limits.total));
        } else {
            temp.make();
            work = temp.path;
        }
        std::filesystem::path recordFile =
            recordFileOption(options.count("--record") ? std::optional(options["--record"]) : std::nullopt,
                             options.count("--no-record") > 0);
        for (const CommonOption& common : commonOptions()) options.erase(common.name);

        Context ctx{Args(std::move(line.positional), std::move(options)), line.json, work, services, limits, out, err, {}, cmd->name};
        ctx.record.file = std::move(recordFile);
        ctx.temporaryWork = !temp.path.empty();
        // libcurl loads (main may have handed it over already: then this finds it loaded), and
        // then the record opens, on the thread ahead while the command starts.
        const bool ahead = cmd->fetches && !ctx.args.flag("--offline");
        if (ahead) {
            loadFetcherAhead();
            openRecordAhead(ctx, runAhead);
        }
        try {
            const int code = cmd->run(ctx);
            // The record closes there too, while the output goes out.
            if (ahead && ctx.record.store)
                runAhead([closing = std::shared_ptr<record::Record>(std::move(ctx.record.store))] {});
            return code;
        } catch (const InputError& e) {
            if (ctx.json && cmd->punter) out << punterDocument({}, ctx.warnings, e.what()).dump(2) << "\n";
            throw;
        }
    } catch (const UsageError& e) {
        err << "selvane-cli " << cmd->name << ": " << e.what() << " (usage: selvane-cli " << cmd->usage << ")\n";
        return kUsage;
    } catch (const InputError& e) {
        err << "selvane-cli " << cmd->name << ": " << e.what() << "\n";
        return kInputError;
    } catch (const std::exception& e) {
        err << "selvane-cli " << cmd->name << ": " << terminalLine(e.what()) << "\n";
        return kInputError;
    }
}

}  // namespace

int runCli(int argc, char** argv, std::ostream& out, std::ostream& err) {
    std::string who = "selvane-cli";
    const int code = runWords(argc, argv, out, err, who);
    return checkOutput(out, err, who, code);
}

int StdoutBuffer::overflow(int_type c) {
    if (sync() != 0) return traits_type::eof();
    if (traits_type::eq_int_type(c, traits_type::eof())) return traits_type::not_eof(c);
    *pptr() = traits_type::to_char_type(c);
    pbump(1);
    return c;
}

int StdoutBuffer::sync() {
    const char* from = pbase();
    while (error_ == 0 && from < pptr()) {
        const ssize_t n = ::write(STDOUT_FILENO, from, static_cast<std::size_t>(pptr() - from));
        if (n > 0)
            from += n;
        else if (n == 0 || errno != EINTR)
            error_ = n == 0 ? EIO : errno;
    }
    // After an error the rest is dropped: nothing more can reach the reader.
    setp(buffer_, buffer_ + sizeof buffer_);
    return error_ == 0 ? 0 : -1;
}

int runOnStdout(int argc, char** argv) {
    std::signal(SIGPIPE, SIG_IGN);
    StdoutBuffer buffer;
    std::streambuf* const was = std::cout.rdbuf(&buffer);
    const int code = runCli(argc, argv, std::cout, std::cerr);
    std::cout.rdbuf(was);
    return code;
}

}  // namespace selvane::cli
