#include "kit/ShellOpen.h"

#include <gtest/gtest.h>

#include "support/TestSupport.h"

namespace selvane {
namespace {

TEST(ShellOpen, HandsTheTargetOverAndLeavesTheResultCodeAsText) {
    struct Case {
        std::string target;
        int code;
        const char* text;
    };
    const Case cases[] = {
        {"http://127.0.0.1:18765/tote/2024/03/09/AF05.html", kShellOpened, "42"},
        {"", kShellNotFound, "2"},
        {"mailto:", kShellNoAssociation, "31"},
    };
    for (const Case& c : cases) {
        test::AppFixture f;
        f.fakes.shell.result = c.code;
        std::string target = c.target;
        shellOpen(f.app->ports.shell, target);
        EXPECT_EQ(target, c.text);
        EXPECT_EQ(f.fakes.shell.opened, std::vector<std::string>{c.target});
    }
}

TEST(ShellOpen, WithoutAnOpenerTheCodeIsNoAssociation) {
    test::AppFixture f;
    f.app->ports.shell = nullptr;
    std::string target = "http://example.invalid/";
    shellOpen(f.app->ports.shell, target);
    EXPECT_EQ(target, "31");
}

}  // namespace
}  // namespace selvane
