// The HTML engine's reading of a page's bytes and its writing of the work file.
#include "net/HtmlEngine.h"

#include <gtest/gtest.h>

#include <string>

namespace selvane {
namespace {

TEST(Utf8Check, TakesOnlyStrictUtf8) {
    struct Case {
        const char* what;
        std::string bytes;
        bool valid;
    } cases[] = {
        {"empty", "", true},
        {"ASCII", "BOLD DREAMER", true},
        {"two bytes", "DR\xC3\x89" "AMER", true},
        {"three bytes", "\xE2\x82\xAC", true},
        {"last before the surrogates", "\xED\x9F\xBF", true},
        {"four bytes", "\xF0\x9F\x90\x8E", true},
        {"largest code point", "\xF4\x8F\xBF\xBF", true},
        {"Latin-1", "DR\xC9" "AMER", false},
        {"lone continuation byte", "\x80", false},
        {"overlong two bytes", "\xC0\xAF", false},
        {"overlong two bytes, C1", "\xC1\xBF", false},
        {"overlong three bytes", "\xE0\x80\xAF", false},
        {"overlong four bytes", "\xF0\x80\x80\xAF", false},
        {"first surrogate", "\xED\xA0\x80", false},
        {"last surrogate", "\xED\xBF\xBF", false},
        {"past U+10FFFF", "\xF4\x90\x80\x80", false},
        {"lead byte F5", "\xF5\x80\x80\x80", false},
        {"five-byte form", "\xF8\x88\x80\x80\x80", false},
        {"cut short at the end", "A\xE2\x82", false},
        {"ASCII where a continuation belongs", "\xC3" "A", false},
    };
    for (const Case& c : cases) EXPECT_EQ(isValidUtf8(c.bytes), c.valid) << c.what;
}

// The same names, sent in ISO-8859-1 and in UTF-8, are written alike: Latin-1 bytes, with the
// entities the parsers look for kept and a character past Latin-1 as a numeric entity.
TEST(HtmlEngine, WritesNamesAsTheyAreWritten) {
    struct Case {
        const char* what;
        std::string body;     // inside <p>
        std::string charset;  // the response's, may be empty
        std::string written;  // inside <p> in the work file
    } cases[] = {
        {"ISO-8859-1 named", "BOLD DR\xC9" "AMER", "ISO-8859-1", "BOLD DR\xC9" "AMER"},
        {"ISO-8859-1 guessed", "BOLD DR\xC9" "AMER", "", "BOLD DR\xC9" "AMER"},
        {"UTF-8 named", "BOLD DR\xC3\x89" "AMER", "UTF-8", "BOLD DR\xC9" "AMER"},
        {"UTF-8 guessed", "BOLD DR\xC3\x89" "AMER", "", "BOLD DR\xC9" "AMER"},
        {"named entity", "BOLD DR&Eacute;AMER", "", "BOLD DR\xC9" "AMER"},
        {"copyright sign", "\xA9 2026", "ISO-8859-1", "\xA9 2026"},
        {"no-break space as a byte", "a\xA0" "b", "ISO-8859-1", "a&nbsp;b"},
        {"no-break space in UTF-8", "a\xC2\xA0" "b", "UTF-8", "a&nbsp;b"},
        {"kept entities", "&nbsp;&amp;&lt;&gt;", "", "&nbsp;&amp;&lt;&gt;"},
        {"bare ampersand", "F & M HCP", "", "F &amp; M HCP"},
        {"past Latin-1", "\xE2\x82\xAC" "5", "UTF-8", "&#8364;5"},
        {"past the first plane", "&#x1F40E;", "", "&#128014;"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const NormalisedPage page = normalisePage("<html><body><p>" + c.body + "</p></body></html>", c.charset);
        EXPECT_EQ(page.markup, "<html><body><p>" + c.written + "</p></body></html>");
    }
}

}  // namespace
}  // namespace selvane
