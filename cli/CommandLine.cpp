#include "CommandLine.h"

#include <CLI/CLI.hpp>

#include <algorithm>
#include <iterator>
#include <list>
#include <set>
#include <string_view>
#include <sstream>

#include "selvane/Config.h"

namespace selvane::cli {
namespace {

const std::vector<CommonOption> kCommon = {
    {"--json", "", "print one JSON document instead of a table"},
    {"--work", "DIR", "keep work files in DIR (default: a temporary folder, removed on exit)"},
    {"--form-guide", "URL", "form-guide service (http or https, host and port)"},
    {"--results-site", "URL", "tote results site root (http or https), ending in /"},
    {"--timeout", "SECONDS", "time limit of each fetch, 0.1 to 3600 (default 30)"},
    {"--record", "FILE", "the record the punter's commands write and history reads (default:\n"
                         "                       $XDG_DATA_HOME/selvane/record.sqlite, else ~/.local/share/selvane/)"},
    {"--no-record", "", "record nothing"},
};

std::string commonHelp() {
    std::string text = "Common options:\n";
    for (const CommonOption& o : kCommon) {
        std::string left = std::string(o.name) + (*o.value ? std::string(" ") + o.value : "");
        left.resize(std::max<std::size_t>(left.size() + 1, 21), ' ');
        text += "  " + left + o.help + "\n";
    }
    return text;
}

std::vector<std::string> nameWords(const std::string& name) {
    std::istringstream split(name);
    return {std::istream_iterator<std::string>(split), {}};
}

// A check whose failure reads "--name <reason>" (CLI11 puts ": " between them; see reasonOf).
CLI::Validator check(bool (*ok)(const std::string&), const std::string& reason) {
    return CLI::Validator([ok, reason](std::string& value) { return ok(value) ? std::string() : reason; }, "");
}

bool resultsSite(const std::string& v) { return isWebAddress(v) && v.ends_with('/'); }

std::string reasonOf(const CLI::ParseError& e) {
    std::string what = e.what();
    if (dynamic_cast<const CLI::ValidationError*>(&e)) {
        if (const auto colon = what.find(": "); colon != std::string::npos) what.replace(colon, 2, " ");
    } else if (dynamic_cast<const CLI::ArgumentMismatch*>(&e)) {
        // "--work: 1 required TEXT missing"
        what = what.substr(0, what.find(':')) + " needs a value";
    }
    return what;
}

class Reader {
public:
    // Only the commands whose first word is among the words are built: a command named by none of
    // them cannot be chosen, and building every command's options costs more than the parse.
    Reader(int argc, char** argv) : root_("selvane-cli: Box Five & Each Way Selvane from a terminal", "selvane-cli") {
        root_.set_version_flag("--version", std::string("selvane-cli ") + config::kVersion);
        root_.allow_extras();
        for (const CommonOption& o : kCommon) {
            if (!*o.value) {
                common_.push_back(root_.add_flag(o.name));
                continue;
            }
            CLI::Option* option = root_.add_option(o.name)->multi_option_policy(CLI::MultiOptionPolicy::TakeLast);
            const std::string name = o.name;
            if (name == "--form-guide") option->check(check(isWebAddressText, "takes an http or https address with a host"));
            if (name == "--results-site")
                option->check(check(resultsSite, "takes an http or https address with a host, ending in /"));
            if (name == "--timeout")
                option->check(check([](const std::string& v) { return timeoutSeconds(v).has_value(); },
                                    "takes 0.1 to 3600 seconds"));
            common_.push_back(option);
        }
        help_ = root_.add_subcommand("help", "describe a command");
        help_->add_option("COMMAND", helpWords_);
        keepTo(help_);
        const std::set<std::string_view> words(argv + std::min(argc, 1), argv + argc);
        for (const Command& c : commands())
            if (words.count(nameWords(c.name).front())) addCommand(c);
    }

    CommandLine read(int argc, char** argv, std::ostream& out) {
        CommandLine line;
        try {
            root_.parse(argc, argv);
        } catch (const CLI::CallForHelp&) {
            const Command* c = chosen();
            out << (c ? commandHelp(*c) : overviewHelp());
            line.done = true;
            return line;
        } catch (const CLI::CallForVersion& e) {
            out << e.what() << "\n";
            line.done = true;
            return line;
        } catch (const CLI::ParseError& e) {
            line.command = chosen();
            line.error = reasonOf(e);
            return line;
        }
        if (help_->parsed()) return helpOf(helpWords_, out);

        line.command = chosen();
        std::vector<std::string> extra = root_.remaining(true);
        // CLI11 keeps the "--" that ended the options among the extras.
        std::erase(extra, "--");
        const CLI::App* node = deepest();
        if (!line.command) {
            if (node == &root_ && extra.empty()) return line;  // no command: the caller shows the overview
            std::string words = node == &root_ ? "" : pathOf(node);
            if (!extra.empty()) words += (words.empty() ? "" : " ") + extra.front();
            line.error = "unknown command '" + words + "' (see selvane-cli --help)";
            return line;
        }
        if (!extra.empty()) {
            line.error = (extra.front().starts_with("-") ? "unknown option " : "unexpected argument ") + extra.front();
            return line;
        }
        const Leaf& leaf = leaves_.at(node);
        line.positional = leaf.positional;
        for (CLI::Option* o : leaf.options)
            if (o->count() > 0) line.options[o->get_name()] = o->get_expected_max() == 0 ? "" : o->results().back();
        for (CLI::Option* o : common_)
            if (o->count() > 0) {
                if (o->get_name() == "--json")
                    line.json = true;
                else
                    line.options[o->get_name()] = o->results().back();
            }
        return line;
    }

private:
    struct Leaf {
        const Command* command;
        std::vector<std::string> positional;
        std::vector<CLI::Option*> options;
    };

    static bool isWebAddressText(const std::string& v) { return isWebAddress(v); }

    void addCommand(const Command& c) {
        CLI::App* node = &root_;
        for (const std::string& word : nameWords(c.name)) {
            CLI::App* next = nullptr;
            for (CLI::App* sub : node->get_subcommands([](const CLI::App*) { return true; }))
                if (sub->get_name() == word) next = sub;
            if (!next) {
                next = node->add_subcommand(word, c.summary)->fallthrough()->allow_extras();
                keepTo(next);
            }
            node = next;
        }
        Leaf& leaf = leaves_[node];
        leaf.command = &c;
        node->add_option("ARGS", leaf.positional);
        for (const std::string& name : c.options) {
            CLI::Option* o = node->add_option(name)->multi_option_policy(CLI::MultiOptionPolicy::TakeLast);
            if (name == "--date") o->check(check(isCalendarDateText, "takes a calendar date, DD/MM/YYYY"));
            leaf.options.push_back(o);
        }
        for (const std::string& name : c.flags) leaf.options.push_back(node->add_flag(name));
    }

    // Once a command's word is read, the words after it are its own: a track named like another
    // command is not taken for that command.
    void keepTo(CLI::App* chosen) {
        chosen->preparse_callback([this, chosen](std::size_t) {
            for (CLI::App* node = chosen; node != &root_; node = node->get_parent())
                for (CLI::App* sibling : node->get_parent()->get_subcommands([](CLI::App*) { return true; }))
                    if (sibling != node) sibling->disabled();
        });
    }

    static bool isCalendarDateText(const std::string& v) { return isCalendarDate(v); }

    // The last subcommand the words chose, or the root.
    const CLI::App* deepest() const {
        const CLI::App* node = &root_;
        for (;;) {
            const std::vector<const CLI::App*> chosen =
                node->get_subcommands([](const CLI::App* a) { return a->parsed(); });
            if (chosen.empty()) return node;
            node = chosen.front();
        }
    }

    const Command* chosen() const {
        const auto it = leaves_.find(deepest());
        return it == leaves_.end() ? nullptr : it->second.command;
    }

    std::string pathOf(const CLI::App* node) const {
        std::string path;
        for (; node && node != &root_; node = node->get_parent()) path = node->get_name() + (path.empty() ? "" : " " + path);
        return path;
    }

    // help [COMMAND]: the longest command name its words spell.
    CommandLine helpOf(const std::vector<std::string>& words, std::ostream& out) const {
        CommandLine line;
        // help all: the overview and every command's help, as the manual page gives them.
        if (words == std::vector<std::string>{"all"}) {
            out << overviewHelp();
            for (const Command& c : commands())
                out << "\nselvane-cli " << c.usage << "\n\n" << c.summary << "\n\n" << c.help << "\n";
            line.done = true;
            return line;
        }
        const Command* found = nullptr;
        std::size_t longest = 0;
        for (const Command& c : commands()) {
            const std::vector<std::string> parts = nameWords(c.name);
            if (parts.size() <= words.size() && parts.size() > longest &&
                std::equal(parts.begin(), parts.end(), words.begin())) {
                found = &c;
                longest = parts.size();
            }
        }
        const bool group = std::any_of(commands().begin(), commands().end(),
                                       [&](const Command& c) { return !words.empty() && nameWords(c.name)[0] == words[0]; });
        if (!found && !group && !words.empty()) {
            line.error = "unknown command '" + words.front() + "' (see selvane-cli --help)";
            return line;
        }
        out << (found ? commandHelp(*found) : overviewHelp());
        line.done = true;
        return line;
    }

    CLI::App root_;
    CLI::App* help_ = nullptr;
    std::vector<std::string> helpWords_;
    std::vector<CLI::Option*> common_;
    std::map<const CLI::App*, Leaf> leaves_;
};

}  // namespace

const std::vector<CommonOption>& commonOptions() { return kCommon; }

std::string overviewHelp() {
    std::string text =
        "selvane-cli: Box Five & Each Way Selvane from a terminal\n\nUsage: selvane-cli [OPTIONS] COMMAND [ARGS] "
        "[OPTIONS]\n\nCommands:\n";
    for (const Command& c : commands()) text += "  " + c.usage + "\n      " + c.summary + "\n";
    text += "  help [COMMAND | all]\n      describe a command, or every command\n";
    return text + "\n" + commonHelp() +
           "  --version            print the version and exit\n"
           "  -h, --help           describe the program, or the command it follows\n"
           "\nselvane-cli help COMMAND (or selvane-cli COMMAND --help) describes a command. Options\n"
           "go before or after the command, as --name VALUE or --name=VALUE; -- ends the options.\n";
}

std::string commandHelp(const Command& c) {
    return "Usage: selvane-cli " + c.usage + "\n\n" + c.summary + "\n\n" + c.help + "\n" + commonHelp();
}

CommandLine readCommandLine(int argc, char** argv, std::ostream& out) { return Reader(argc, argv).read(argc, argv, out); }

}  // namespace selvane::cli
