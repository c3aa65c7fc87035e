#include "net/PageText.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

namespace selvane::text {
namespace {

TEST(PageText, RewritePageTags) {
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"<STRONG>No.</STRONG> <EM>x</EM>", "<B>No.</B> <I>x</I>"},
        {"<strong>kept</strong>", "<strong>kept</strong>"},
        {"<td>\r\nA\r\n</td>\r\n", "<td>A</td>"},
        {"a\rb\nc\rd", "a\rb\nc\rd"},
        {"\r\r\n\n", "\r\n"},
        {"&nbsp;&NBSP;", "\\~&NBSP;"},
        {"&nb\r\nsp;", "\\~"},
        {"<STR\r\nONG>", "<STRONG>"},
        {"<STRONG", "<STRONG"},
        // The rewrite steps eight bytes at a time: changes across and at the ends of a step.
        {"1234567\r\n89", "123456789"},
        {"123456<STRONG>x</STRONG>", "123456<B>x</B>"},
        {"12345678<EM>", "12345678<I>"},
        {"abcdefg\r", "abcdefg\r"},
        {"<EM><EM>\r\n<EM>", "<I><I><I>"},
        {"x&nbsp;y&amp;z&nbsp;", "x\\~y&amp;z\\~"},
    };
    for (const auto& [in, want] : cases) EXPECT_EQ(rewritePageTags(in), want) << in;
    std::string odds = rewriteTagsAndBreaks("<td>&nbsp;</td>\r\n<EM>1</EM>");
    EXPECT_EQ(odds, "<td>&nbsp;</td><I>1</I>");
    replaceNbsp(odds, "");
    EXPECT_EQ(odds, "<td></td><I>1</I>");
}

TEST(PageText, FindByte) {
    struct Case {
        std::string_view text;
        char c;
        std::size_t from, want;
    };
    const Case cases[] = {
        {"abc", 'c', 0, 2},
        {"0123456789abcdef<", '<', 0, 16},
        {"<2345678<", '<', 1, 8},
        {"abc", 'x', 0, std::string_view::npos},
        {"abc", 'a', 3, std::string_view::npos},
    };
    for (const Case& c : cases) EXPECT_EQ(findByte(c.text, c.c, c.from), c.want) << c.text;
}

TEST(PageText, TagOpenings) {
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"<td <A HREF=x>", "0 td ' ';4 A ' ';"},
        {"</TABLE>", "0 /TABLE '>';"},
        {"<>", "0  '>';"},
        {"<abcdefghij>", "0 abcdefgh 'i';"},
        {"<hr", "0 hr '\\0';"},
    };
    for (const auto& [tag, want] : cases) {
        std::string seen;
        forEachOpening(tag, [&seen](const TagOpening& o) {
            seen += std::to_string(o.at) + " " + (o.closing ? "/" : "") + std::string(o.name) + " '" +
                    (o.after ? std::string(1, o.after) : "\\0") + "';";
            return true;
        });
        EXPECT_EQ(seen, want) << tag;
    }
}

TEST(PageText, LeadingNumber) {
    const std::vector<std::pair<std::string, double>> cases = {
        {"", 0},   {"5", 5},   {" 12)", 12}, {"-3", -3},     {"+7", 7},   {"1.5e2", 150}, {"1e", 1},
        {".5", 0.5}, {"x1", 0}, {"1d2", 100}, {"2 3", 2},    {"\t4", 4},  {"-", 0},       {"(5)", 0},
        {"05", 5}, {"1.2.3", 1.2}, {".", 0},  {"\r\n7", 7}, {"7a", 7},
    };
    for (const auto& [in, want] : cases) EXPECT_EQ(leadingNumber(in), want) << in;
    EXPECT_TRUE(std::isinf(leadingNumber("1e400")));
}

TEST(PageText, AddressPartsAndDateParts) {
    const std::vector<std::pair<std::string, std::string>> parts = {
        {"AZaz09-_.", "AZaz09-_."},
        {"../../../../tmp/x", "..%2F..%2F..%2F..%2Ftmp%2Fx"},
        {"a?b%c#d", "a%3Fb%25c%23d"},
        {std::string("  \\\x01\xC9~+"), "%20%20%5C%01%C9%7E%2B"},
        {"..", ".."},
    };
    for (const auto& [part, encoded] : parts) EXPECT_EQ(addressPart(part), encoded) << part;

    struct Date {
        std::string date, parts;
    };
    for (const Date& c : std::vector<Date>{{"15/03/2007", "15|03|2007"},
                                           {"15/03/2007 extra", "15|03|2007"},
                                           {"1/3/2007", "1/|/2|07  "},
                                           {"", "  |  |    "},
                                           {"9", "9 |  |    "}}) {
        EXPECT_EQ(fixedWidthPart(c.date, 0, 2) + "|" + fixedWidthPart(c.date, 3, 2) + "|" + fixedWidthPart(c.date, 6, 4),
                  c.parts)
            << c.date;
    }
}

TEST(PageText, CaseBlindSearchAndReplace) {
    EXPECT_EQ(replaceAll("Sandown sandown", "SANDOWN", "X", true), "X X");
    EXPECT_EQ(replaceAll("Sandown sandown", "sandown", "X"), "Sandown X");
    EXPECT_EQ(replaceAll("abc", "", "X"), "abc");
    EXPECT_EQ(findNoCase("xxAbC", "abc"), 2u);
    EXPECT_EQ(trimSpaces("  a b \t "), "a b \t");
    EXPECT_EQ(trimSpaces("\t a \t"), "\t a \t");
}

}  // namespace
}  // namespace selvane::text
