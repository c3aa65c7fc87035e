#include <gtest/gtest.h>

#include <stdexcept>

#include "pages/PageWriter.h"
#include "support/TestSupport.h"

namespace selvane {
namespace {

const std::string kHead = test::kWhitePageHead;

TEST(PageWriter, WritesHeadLinesAndFootExactly) {
    test::TempDir dir;
    test::writeFile(dir.file("realodds.html"), std::string(5000, 'z'));  // replaced, nothing survives
    PageWriter w(dir.path());
    w.writePageHead("realodds.html", "FFFFFF");
    EXPECT_GT(w.pageFileNumber(), 0);
    w.writePageLine("<table>");
    w.writePageLine("</table>");
    w.writePageFoot();
    EXPECT_EQ(w.pageFileNumber(), 0);
    EXPECT_EQ(test::readFile(dir.file("realodds.html")), kHead + "<table>\r\n</table>\r\n</body>\r\n</html>\r\n");
}

TEST(PageWriter, TailPadsTheRowWithTenCells) {
    test::TempDir dir;
    PageWriter w(dir.path());
    w.writePageHead("results.html", "000000");
    w.writePageTail();
    std::string want = kHead;
    want.replace(want.find("#FFFFFF"), 7, "#000000");
    want += "</font></td>\r\n";
    for (int i = 0; i < 10; ++i) want += "<td width=\"8%\">&nbsp;</td>\r\n";
    want += "</tr>\r\n</table>\r\n</body>\r\n</html>\r\n";
    EXPECT_EQ(test::readFile(dir.file("results.html")), want);
}

TEST(PageWriter, WritingWithoutAnOpenPageFails) {
    test::TempDir dir;
    PageWriter w(dir.path());
    EXPECT_THROW(w.writePageLine("x"), std::runtime_error);
    EXPECT_THROW(w.writePageFoot(), std::runtime_error);
    EXPECT_THROW(w.writePageTail(), std::runtime_error);
    EXPECT_THROW(w.writePageHead("../outside.html", "FFFFFF"), std::runtime_error);
    EXPECT_EQ(w.pageFileNumber(), 0);
}

TEST(PageWriter, HeadOnAnOpenPageClosesItFirst) {
    test::TempDir dir;
    PageWriter w(dir.path());
    w.writePageHead("realodds.html", "FFFFFF");
    w.writePageLine("first");
    w.writePageHead("realodds.html", "FFFFFF");
    w.writePageLine("second");
    w.writePageFoot();
    EXPECT_EQ(test::readFile(dir.file("realodds.html")), kHead + "second\r\n</body>\r\n</html>\r\n");
}

}  // namespace
}  // namespace selvane
