#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>
#include <stdexcept>

#include "kit/BusyBracket.h"
#include "kit/Entry.h"
#include "kit/FakePorts.h"
#include "kit/Guarded.h"
#include "kit/InstanceBell.h"
#include "kit/Maxkey.h"
#include "kit/ShellOpen.h"
#include "kit/SingleInstance.h"
#include "support/TestSupport.h"

namespace selvane {
namespace {

using Texts = std::vector<std::string>;

TEST(ComboBox, SelectingRunsTheClickHandlerNestedAndOutOfRangeChangesNothing) {
    ComboBox dates, tracks;
    dates.addItem("01/03/2024");
    Texts order;
    tracks.onClick = [&] { order.push_back("track " + tracks.text()); };
    dates.onClick = [&] {
        order.push_back("date " + dates.text());
        tracks.clear();
        tracks.addItem("Flemington");
        tracks.setSelectedIndex(0);
    };
    dates.setSelectedIndex(0);
    EXPECT_EQ(order, (Texts{"date 01/03/2024", "track Flemington"}));
    EXPECT_THROW(dates.setSelectedIndex(1), std::out_of_range);
    tracks.clear();
    EXPECT_EQ(std::tuple(dates.selectedIndex(), order.size(), tracks.text()), std::tuple(0, 2ul, ""));
}

TEST(ReportList, RowsSubItemsAndClear) {
    ReportList list;
    list.setColumns({{"Tip", 500}, {"Horse Name", 2500}});
    list.addRow("1", {"3", "1:40PM"});
    list.setChecked(0, true);
    list.setForeColour(0, 0xC00000);
    list.addRow("2", {"321"});
    EXPECT_EQ(std::pair(list.row(1).checked, list.row(1).foreColour), std::pair(false, kDefaultColour));
    EXPECT_EQ(list.subItem(0, 2) + "|" + list.subItem(0, 3) + "|" + list.subItem(0, 0), "1:40PM||");
    list.setSelectedIndex(1);
    list.clear();
    EXPECT_EQ(std::tuple(list.count(), list.selectedIndex(), list.columns().size()), std::tuple(0, -1, 2u));
}

TEST(Grid, AddItemSplitsAtTabsAndARowCountDropsOrAddsEmptyRows) {
    Grid g;
    g.setCols(2);
    g.addItem(" 1st\tA\tB");
    g.setCellBackColour(1, 1, 0xFF);
    EXPECT_EQ(g.cell(1, 0) + "|" + g.cell(1, 1), " 1st|A");
    g.setRowCount(1);
    EXPECT_THROW(g.cell(1, 0), std::out_of_range);
    g.setRowCount(2);  // the dropped row comes back empty, colour gone
    EXPECT_EQ(std::pair(g.cell(1, 1), g.cellBackColour(1, 1)), std::pair(std::string(), kDefaultColour));
}

struct SmallWindow : Window {
    Button button{"Go"};
    Timer timer;
    ProgressBar progress;
    std::vector<Control*> controls() override { return {&button, &timer, &progress}; }
    int enabledCount() { return button.enabled() + timer.enabled() + progress.enabled(); }
};

// Every way out leaves the window usable: scope end, exception, early close, a throwing observer.
TEST(BusyBracket, DisablesEveryControlWithTheHourglassUntilClosedOnEveryPath) {
    enum Way { End, Throw, CloseEarly, ObserverThrowsOpening, ObserverThrowsClosing };
    for (Way way : {End, Throw, CloseEarly, ObserverThrowsOpening, ObserverThrowsClosing}) {
        SCOPED_TRACE(way);
        SmallWindow w;
        FakePointer pointer;
        bool thrown = false;
        if (way >= ObserverThrowsOpening) {
            w.button.setObserver([&, way] {
                if (thrown || w.button.enabled() != (way == ObserverThrowsClosing)) return;
                thrown = true;
                throw std::runtime_error("widget gone");
            });
        }
        int ticks = 0;
        w.timer.onTimer = [&] { ++ticks; };
        try {
            BusyBracket busy(w, &pointer, &w.progress);
            EXPECT_EQ(w.enabledCount(), 0);
            w.timer.fire();  // a disabled timer does not fire
            EXPECT_EQ(pointer.hourglass, true);
            w.progress.setVisible(true);
            if (way == Throw) throw std::runtime_error("fetch failed");
            if (way == CloseEarly) {
                busy.close();
                w.button.setEnabled(false);  // a later step may disable one again
            }
        } catch (const std::runtime_error&) {
        }
        EXPECT_EQ(w.enabledCount(), way == CloseEarly ? 2 : 3);
        EXPECT_EQ(w.progress.visible(), false);
        EXPECT_EQ(pointer.history, (std::vector<bool>{true, false}));
        EXPECT_EQ(std::pair(thrown, ticks), std::pair(way >= ObserverThrowsOpening, 0));
    }
}

// A step's own failures are skipped and noted; a bug is not swallowed in a debug or test build.
TEST(Guarded, SkipsAndNotesAStepsFailuresAndLetsABugThrough) {
    using Throw = void (*)();
    const std::pair<Throw, bool> cases[] = {  // the step, whether it meets a step's failure
        {[] { throw std::filesystem::filesystem_error("no file", std::error_code()); }, true},
        {[] { throw std::out_of_range("no row 3"); }, true}, {[] { throw std::invalid_argument("stoi"); }, true},
        {[] { throw std::logic_error("a bug"); }, false}, {[] { throw std::length_error("a bug"); }, false},
        {[] { throw 7; }, false}};
    for (const auto& [step, stepFailure] : cases) {
        SkippedSteps log;
        bool escaped = false;
        try {
            const SkippedStepScope scope(log);
            guarded(step);
        } catch (...) {
            escaped = true;
        }
#ifdef NDEBUG
        const bool bugThrough = false;
#else
        const bool bugThrough = !stepFailure;
#endif
        EXPECT_EQ(std::pair(escaped, log.size()), std::pair(bugThrough, std::size_t(bugThrough ? 0 : 1))) << stepFailure;
    }
}

TEST(ShellOpen, TheTargetBecomesTheOpenersResultCode) {
    FakeShell shell;
    std::string target = "http://127.0.0.1:18765/tote/2024/03/09/AF05.html", none = "http://example.invalid/";
    shellOpen(&shell, target);
    shellOpen(nullptr, none);
    EXPECT_EQ(shell.opened, Texts{"http://127.0.0.1:18765/tote/2024/03/09/AF05.html"});
    EXPECT_EQ(target + "|" + none, "42|31");
}

// A link clicked in a web view: the punter's browser gets web addresses only.
TEST(ShellOpen, AClickedLinkOpensOnlyAWebAddressWithAHost) {
    const std::pair<const char*, bool> cases[] = {
        {"http://127.0.0.1:18765/", true},
        {"https://maker.example/get?v=2#top", true},
        {"HTTPS://Maker.Example", true},
        {"http://user@host/", true},
        {"http://[::1]:80/x", true},
        {"file:///etc/passwd", false},
        {"mailto:a@b.example", false},
        {"javascript:alert(1)", false},
        {"about:blank", false},
        {"ftp://host/", false},
        {"http:/host/", false},
        {"http://", false},
        {"http:///etc/passwd", false},
        {"https://:443/", false},
        {"http://@/", false},
        {"http://host/a b", false},
        {"http://host/\x1B[2J", false},
        {"", false},
    };
    FakeShell shell;
    Texts opened;
    for (const auto& [address, browser] : cases) {
        EXPECT_EQ(openClickedLink(&shell, address), browser) << address;
        if (browser) opened.push_back(address);
    }
    EXPECT_EQ(shell.opened, opened);
    EXPECT_FALSE(openClickedLink(nullptr, "http://host/"));
}

TEST(Maxkey, FirstSmallestOfTheRange) {
    const std::tuple<int, int, std::vector<double>, std::optional<int>> rows[] = {
        {2, 2, {0, 4, 2, 2}, std::nullopt},  // one slot: no position
        {1, 3, {0, 4, 2, 2}, 2},             // a tie gives the first
        {1, 3, {0, 1, 2, 0.5}, 3},           // the last slot can win
        {1, 9, {0, 1, 2}, std::nullopt},     // a range past the values
        {1, 3, {0, 5, -1e308, -100.0}, 2},   // negative values compare as numbers
    };
    for (const auto& [lo, hi, values, want] : rows) EXPECT_EQ(maxkey(lo, hi, values), want) << lo << ".." << hi;
}

// A second process over the same work folder rings the first's bell with its words and ends at
// once with code 0, whatever its environment; over another folder it starts: its first step
// ends it with code 3, and its lock goes with it.
TEST(Entry, OneInstanceAWorkFolder) {
    test::TempDir folder, other, runtime;
    Texts steps;
    InstanceBell* bell = nullptr;
    auto step = [&](const char* name) { return [&steps, name] { steps.push_back(name); }; };
    const std::tuple<const char*, bool, int> cases[] = {
        // a variable set to another folder in the second process, same work folder, exit code
        {"", true, 0}, {"XDG_RUNTIME_DIR", true, 0}, {"TMPDIR", true, 0}, {"", false, 3}};
    const auto secondStarts = [&] {
        steps.push_back("loop");
        for (const auto& [variable, sameFolder, code] : cases) {
            const pid_t child = ::fork();
            if (child == 0) {
                if (*variable) ::setenv(variable, runtime.path().c_str(), 1);
                ::_exit(runEntry({.programFolder = sameFolder ? folder.path() : other.path(),
                                  .initialise = [] { ::_exit(3); },
                                  .bellWords = std::string("from ") + variable}));
            }
            int status = 0;
            EXPECT_EQ(::waitpid(child, &status, 0), child);
            EXPECT_EQ(WIFEXITED(status) ? WEXITSTATUS(status) : -1, code) << variable << sameFolder;
            EXPECT_EQ(bell->answer(), sameFolder ? Texts{std::string("from ") + variable} : Texts{}) << variable;
        }
        return 7;
    };
    const StartUp first{.programFolder = folder.path(),
                        .initialise = step("initialise"),
                        .pumpEvents = step("pump"),
                        .showFirstWindow = step("show"),
                        .runEventLoop = secondStarts,
                        .watchBell = [&](InstanceBell& b) {
                            bell = &b;
                            steps.push_back("bell");
                        }};
    EXPECT_EQ(runEntry(first), 7);
    EXPECT_EQ(steps, (Texts{"initialise", "bell", "pump", "show", "loop"}));
    EXPECT_TRUE(InstanceLock::acquire(instanceLockFile(folder.path())) &&
                InstanceLock::acquire(instanceLockFile(other.path())));
    EXPECT_FALSE(std::filesystem::exists(instanceBellFile(folder.path())));
    // A lock that cannot be taken refuses the start with one line, rather than run beside another.
    std::filesystem::remove(instanceLockFile(other.path()));
    ASSERT_EQ(::symlink(folder.file("elsewhere").c_str(), instanceLockFile(other.path()).c_str()), 0);
    const std::pair<std::filesystem::path, std::string> refused[] = {
        {other.path(), instanceLockFile(other.path()).string() + ": it is a symbolic link"},
        {"/no/such/folder", "/no/such/folder/selvane.lock: No such file or directory"}};
    for (const auto& [programFolder, reason] : refused) {
        std::ostringstream errors;
        bool shown = false;
        EXPECT_EQ(runEntry({programFolder, {}, {}, [&] { shown = true; }, {}, &errors}), 1);
        EXPECT_EQ(std::make_pair(errors.str(), shown), std::make_pair("selvane: cannot lock " + reason + "\n", false));
    }
    EXPECT_FALSE(std::filesystem::exists(folder.file("elsewhere")));
}

// A bell answers each ring, also in a folder whose path is too long for a socket address; the
// socket file a killed run left is replaced, and a bell's file goes with it.
TEST(InstanceBell, AnswersEveryRingAndReplacesAStaleSocket) {
    test::TempDir top;
    const std::filesystem::path longFolder = top.path() / std::string(120, 'x');
    std::filesystem::create_directory(longFolder);
    for (const std::filesystem::path& folder : {top.path(), longFolder}) {
        SCOPED_TRACE(folder.string());
        const std::filesystem::path file = instanceBellFile(folder);
        EXPECT_FALSE(ringInstanceBell(file, "nobody"));
        const pid_t child = ::fork();
        if (child == 0) ::_exit(InstanceBell::open(file) ? 0 : 1);  // ends without closing its bell
        int status = 0;
        ASSERT_EQ(::waitpid(child, &status, 0), child);
        ASSERT_TRUE(std::filesystem::is_socket(file));
        EXPECT_FALSE(ringInstanceBell(file, "stale"));
        {
            auto bell = InstanceBell::open(file);
            ASSERT_TRUE(bell);
            EXPECT_EQ(bell->answer(), Texts{});
            EXPECT_TRUE(ringInstanceBell(file, "token-1"));
            EXPECT_TRUE(ringInstanceBell(file, ""));
            EXPECT_EQ(bell->answer(), (Texts{"token-1", ""}));
        }
        EXPECT_FALSE(std::filesystem::exists(file));
    }
}

}  // namespace
}  // namespace selvane
