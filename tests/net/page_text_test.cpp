// The HTML engine's reading of a page's bytes, and the page-text helpers the parsers share.
#include <gtest/gtest.h>

#include <cmath>

#include "net/Fetcher.h"
#include "net/HtmlEngine.h"
#include "net/PageText.h"

namespace selvane {
namespace {

TEST(Utf8Check, TakesOnlyStrictUtf8) {
    const std::pair<std::string, bool> cases[] = {
        {"", true}, {"DR\xC3\x89", true}, {"\xE2\x82\xAC", true}, {"\xED\x9F\xBF", true}, {"\xF4\x8F\xBF\xBF", true},
        {"DR\xC9", false}, {"\x80", false}, {"\xC1\xBF", false}, {"\xE0\x80\xAF", false}, {"\xF0\x80\x80\xAF", false},
        {"\xED\xA0\x80", false}, {"\xED\xBF\xBF", false}, {"\xF4\x90\x80\x80", false}, {"\xF5\x80\x80\x80", false},
        {"A\xE2\x82", false}, {"\xC3" "A", false},
    };
    for (const auto& [bytes, valid] : cases) EXPECT_EQ(isValidUtf8(bytes), valid) << bytes;
}

// The same names, sent in ISO-8859-1 and in UTF-8, are written alike: Latin-1 bytes, with the
// entities the parsers look for kept and a character past Latin-1 as a numeric entity. A page's
// own line breaks, CR LF among them, each become one CR LF.
TEST(HtmlEngine, WritesNamesAsTheyAreWrittenAndOneBreakPerLineEnd) {
    // inside <p> as sent, the response's charset (may be empty), inside <p> in the work file
    const std::tuple<std::string, std::string, std::string> cases[] = {
        {"BOLD DR\xC9" "AMER", "", "BOLD DR\xC9" "AMER"},
        {"BOLD DR\xC3\x89" "AMER", "UTF-8", "BOLD DR\xC9" "AMER"},
        {"BOLD DR\xC3\x89" "AMER", "", "BOLD DR\xC9" "AMER"},
        {"BOLD DR&Eacute;AMER", "", "BOLD DR\xC9" "AMER"},
        {"\xA9 2026", "ISO-8859-1", "\xA9 2026"},
        {"a\xA0" "b", "ISO-8859-1", "a&nbsp;b"},
        {"a\xC2\xA0" "b", "UTF-8", "a&nbsp;b"},
        {"&nbsp;&amp;&lt;&gt;", "", "&nbsp;&amp;&lt;&gt;"},
        {"F & M HCP", "", "F &amp; M HCP"},
        {"\xE2\x82\xAC" "5", "UTF-8", "&#8364;5"},
        {"&#x1F40E;", "", "&#128014;"},
        {"one\r\ntwo\rthree\nfour", "", "one\r\ntwo\r\nthree\r\nfour"},
    };
    for (const auto& [body, charset, written] : cases)
        EXPECT_EQ(normalisePage("<p>" + body + "</p>", charset).markup,
                  "<html><body><p>" + written + "</p></body></html>")
            << body;
    EXPECT_EQ(charsetOf("text/html;Charset=\"utf-8\""), "utf-8");  // as a response names it
}

// The rewrite steps eight bytes at a time: changes across and at the ends of a step.
TEST(PageText, RewritePageTags) {
    const std::pair<std::string, std::string> cases[] = {
        {"<STRONG>No.</STRONG> <EM>x</EM>", "<B>No.</B> <I>x</I>"}, {"<strong>kept</strong>", "<strong>kept</strong>"},
        {"<td>\r\nA\r\n</td>\r\n", "<td>A</td>"}, {"a\rb\nc\rd", "a\rb\nc\rd"}, {"&nb\r\nsp;", "\\~"},
        {"1234567\r\n89", "123456789"}, {"123456<STRONG>x</STRONG>", "123456<B>x</B>"}, {"12345678<EM>", "12345678<I>"},
        {"abcdefg\r", "abcdefg\r"}, {"<STRONG", "<STRONG"}, {"x&nbsp;y&amp;z&NBSP;", "x\\~y&amp;z&NBSP;"},
    };
    for (const auto& [in, want] : cases) EXPECT_EQ(text::rewritePageTags(in), want) << in;
}

TEST(PageText, FindByteAndLeadingNumber) {
    EXPECT_EQ(text::findByte("0123456789abcdef<", '<', 0), 16u);
    EXPECT_EQ(text::findByte("<2345678<", '<', 1), 8u);
    EXPECT_EQ(text::findByte("abc", 'a', 3), std::string_view::npos);
    const std::pair<std::string, double> numbers[] = {
        {"", 0}, {" 12)", 12}, {"-3", -3}, {"1.5e2", 150}, {"1e", 1}, {".5", 0.5}, {"x1", 0},
        {"1d2", 100}, {"-", 0}, {"(5)", 0}, {"1.2.3", 1.2}, {"\r\n7", 7}, {"+007x", 7},
        {"999999999999999", 999999999999999.0}, {"12345678901234567", 12345678901234567.0},
    };
    for (const auto& [in, want] : numbers) EXPECT_EQ(text::leadingNumber(in), want) << in;
    EXPECT_TRUE(std::isinf(text::leadingNumber("1e400")));
    EXPECT_TRUE(std::signbit(text::leadingNumber("-0")));
}

TEST(PageText, AddressPartsAndDateParts) {
    EXPECT_EQ(text::addressPart("AZaz09-_.~"), "AZaz09-_.%7E");
    EXPECT_EQ(text::addressPart("../x?b%c#d \\\x01\xC9+"), "..%2Fx%3Fb%25c%23d%20%5C%01%C9%2B");
    EXPECT_EQ(text::fixedWidthPart("15/03/2007", 6, 4) + "|" + text::fixedWidthPart("1/3/2007", 3, 2) + "|" +
                  text::fixedWidthPart("9", 3, 2),
              "2007|/2|  ");
}

}  // namespace
}  // namespace selvane
