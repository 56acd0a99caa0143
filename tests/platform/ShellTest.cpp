// The shell: "open" on a web address, through the seam.
#include "TestDoubles.h"

#include "platform/Shell.h"

#include <gtest/gtest.h>

using namespace vandora;
using vandora::test::ScopedService;
using vandora::test::TRecordingShell;

TEST(ShellTest, OpenGoesThroughTheSeam)
{
    TRecordingShell shell;
    ScopedService<IShellService> guard(SetShellService, &shell);
    EXPECT_TRUE(ShellExecuteA("open", "https://www.example.org/", SW_SHOWNORMAL));
    ASSERT_EQ(shell.calls.size(), 1u);
    EXPECT_EQ(shell.calls[0].verb, "open");
    EXPECT_EQ(shell.calls[0].address, "https://www.example.org/");
    EXPECT_EQ(shell.calls[0].showCommand, SW_SHOWNORMAL);
}

TEST(ShellTest, AFailureIsOnlyAResult)
{
    TRecordingShell shell;
    shell.result = false;
    ScopedService<IShellService> guard(SetShellService, &shell);
    EXPECT_FALSE(ShellExecuteA("open", "https://www.example.org/"));
}

TEST(ShellTest, TheDefaultShellDoesNotKnowOtherVerbs)
{
    ScopedService<IShellService> guard(SetShellService, nullptr);
    EXPECT_FALSE(ShellExecuteA("print", "https://www.example.org/", SW_SHOWNORMAL));
    EXPECT_FALSE(ShellExecuteA("explore", "/tmp", SW_SHOWNORMAL));
}
