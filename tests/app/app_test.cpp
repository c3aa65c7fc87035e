#include <fcntl.h>
#include <linux/fs.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include "app/Commands.h"
#include "app/ExitCleanUp.h"
#include "app/MainWindowLoad.h"
#include "kit/Clock.h"
#include "support/TestSupport.h"

namespace selvane {
namespace {

namespace fs = std::filesystem;
using Texts = std::vector<std::string>;

const char* kGone[] = {"access.html", "test.html", "iFrame_page.html", "adsbase.html",
                       "realodds.html", "rto.html", "results.html"};

// Whatever an earlier run left in the window, loading it gives the start state.
TEST(MainWindowLoad, StartState) {
    MockClock clock(CivilDate{2024, 3, 9}, 23, 59);
    ScopedClock use(clock);
    test::AppFixture f;
    MainWindow& w = f.app->window;
    w.lstRaces.addRow("left over", {});
    w.stBar.setPanel(2, "old message");
    w.pgBar.setVisible(true);
    w.cmdLiveOdds.setEnabled(false);
    w.picBaseScroll.setVisible(false);
    w.lblScrollResults.setCaption("#R.1  [ 3,5,7 ];      ");
    w.picBaseResults.setWidth(1);
    loadMainWindow(*f.app);
    EXPECT_EQ(std::pair(w.lstRaces.count(), w.lstRaces.checkBoxes()), std::pair(0, true));
    EXPECT_EQ(w.stBar.panel(1) + "|" + w.stBar.panel(2) + "|" + w.lblScrollResults.caption(), "Date: 09/03/2024||");
    EXPECT_EQ((std::vector<bool>{w.pgBar.visible(), w.picBaseScroll.visible(), w.cmdLiveOdds.enabled()}),
              (std::vector<bool>{false, true, true}));
    EXPECT_EQ(std::pair(w.msfResults.rowCount(), w.picBaseResults.width()), std::pair(7, 12795));
    EXPECT_EQ(w.msfResults.cell(6, 0), " 6th");
}

TEST(PromotionButtons, WebLinkOnTheLeftButtonsReleaseAdvertLinksAndMailWithTheMakersLink) {
    Services s = Services::compiledIn();
    s.makerSite = "http://maker.test/";
    test::AppFixture f(s);
    wireCommands(*f.app);
    f.app->window.cmdWeb.click();
    for (int button : {0, 2, 4}) f.app->window.cmdWeb.mouseUp(button);
    EXPECT_EQ(f.fakes.shell.opened, Texts{});
    f.app->window.cmdWeb.mouseUp(1);
    EXPECT_EQ(f.fakes.shell.opened, Texts{"http://maker.test/"});
    // The advert's links open in the browser; a file link opens nothing.
    f.app->window.WebBrowser1.onLinkClick("file:///etc/passwd");
    f.app->window.WebBrowser1.onLinkClick("http://maker.test/get");
    EXPECT_EQ(f.fakes.shell.opened, (Texts{"http://maker.test/", "http://maker.test/get"}));

    f.app->window.cmdEmail.click();  // a composer that starts is the end of it
    f.fakes.mail.works = false;
    f.app->window.cmdEmail.click();
    ASSERT_EQ(f.fakes.mail.sent.size(), 2u);
    EXPECT_NE(f.fakes.mail.sent[0].body.find("link here http://maker.test/\n"), std::string::npos);
    EXPECT_EQ(f.fakes.messages.shown.size() == 1 ? f.fakes.messages.shown[0].title : "", "Email Error");
}

TEST(ExitCleanUp, TheExitButtonDeletesTheSevenWorkFilesOnlyThenEnds) {
    test::AppFixture f;
    wireCommands(*f.app);
    const fs::path dir = f.dir.path();
    for (const char* name : kGone) test::writeFile(dir / name, "x");
    for (const char* name : {"mtgraces.html", "blank.html"}) test::writeFile(dir / name, "x");
    f.app->window.cmdExit.click();
    for (const char* name : kGone) EXPECT_FALSE(fs::exists(dir / name)) << name;
    for (const char* name : {"mtgraces.html", "blank.html"}) EXPECT_TRUE(fs::exists(dir / name)) << name;
    EXPECT_EQ(f.fakes.exit.codes, std::vector<int>{0});
    // A folder with a work file's name is not a work file.
    fs::create_directory(dir / "test.html");
    EXPECT_EQ(exitCleanUp(dir), Texts{});
    EXPECT_TRUE(fs::is_directory(dir / "test.html"));
}

// Root ignores permissions, so an immutable file stands for one that cannot be deleted.
TEST(ExitCleanUp, AnUndeletableFileIsPassedOverAndTheRestGoes) {
    test::TempDir dir;
    for (const char* name : kGone) test::writeFile(dir.path() / name, "x");
    if (::geteuid() != 0) GTEST_SKIP() << "needs root";
    const int fd = ::open((dir.path() / "test.html").c_str(), O_RDONLY);
    int flags = 0;
    if (::ioctl(fd, FS_IOC_GETFLAGS, &flags) == 0) flags |= FS_IMMUTABLE_FL;
    if (!(flags & FS_IMMUTABLE_FL) || ::ioctl(fd, FS_IOC_SETFLAGS, &flags) != 0) {
        ::close(fd);
        GTEST_SKIP() << "no immutable files here";
    }
    const Texts left = exitCleanUp(dir.path());
    flags &= ~FS_IMMUTABLE_FL;
    ::ioctl(fd, FS_IOC_SETFLAGS, &flags);
    ::close(fd);
    EXPECT_EQ(left, Texts{"test.html"});
    EXPECT_FALSE(fs::exists(dir.path() / "results.html"));
}

}  // namespace
}  // namespace selvane
