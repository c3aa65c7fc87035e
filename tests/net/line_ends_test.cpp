// A CR LF inside a page stays one line break through the HTML engine, never two.
#include <gtest/gtest.h>

#include "net/HtmlEngine.h"

namespace selvane {
namespace {

TEST(EngineLineEnds, CrLfInsideAPageIsOneBreak) {
    const std::string markup = normalisePage("<html><body><p>one\r\ntwo\rthree\nfour</p></body></html>").markup;
    EXPECT_NE(markup.find("one\r\ntwo\r\nthree\r\nfour"), std::string::npos) << markup;
}

}  // namespace
}  // namespace selvane
