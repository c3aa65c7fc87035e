#include "ui/InfoOptions.h"

#include <string_view>

#include "selvane/Config.h"

namespace selvane::ui {

int answerInfoOptions(int argc, char** argv, std::ostream& out) {
    for (int i = 1; i < argc; ++i) {
        const std::string_view arg = argv[i];
        if (arg == "--version") {
            out << "selvane " << config::kVersion << "\n";
            return 0;
        }
        if (arg == "--help" || arg == "-h") {
            out << "Usage: selvane [OPTIONS]\n\n"
                   "Box Five & Each Way tipping for Australian horse racing: the day's meetings from the\n"
                   "form-guide service, five tips and an each-way best bet for a race, its live prices and\n"
                   "the meeting's results, in a window.\n\n"
                   "Options:\n"
                   "  --history    open the History window (the record of the races seen)\n"
                   "  --review     open the Review window (how the tips would have paid)\n"
                   "  --version    print the version and exit\n"
                   "  -h, --help   print this help and exit\n"
                   "Qt's own options (-platform NAME, -style NAME, ...) are taken as Qt takes them.\n\n"
                   "The services the program talks to are compiled in; selvane-cli does the same from a\n"
                   "terminal and can name other services.\n";
            return 0;
        }
    }
    return -1;
}

std::string wantedWindow(int argc, char** argv) {
    std::string wanted;
    for (int i = 1; i < argc; ++i) {
        const std::string_view arg = argv[i];
        if (arg == "--history") wanted = "history";
        if (arg == "--review") wanted = "review";
    }
    return wanted;
}

}  // namespace selvane::ui
