// The shell: "open" on a web address, through the seam.
#include "TestDoubles.h"

#include "platform/Shell.h"

#include <QDesktopServices>
#include <QObject>
#include <QUrl>
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

namespace {

// Stands in for the desktop's browser: Qt hands it the addresses opened for its scheme.
class TBrowser : public QObject {
    Q_OBJECT
public slots:
    void Open(const QUrl& url) { opened.push_back(url.toString()); }

public:
    std::vector<QString> opened;
};

} // namespace

// "open", in any case, of a valid address goes to the desktop's handler for its scheme.
TEST(ShellTest, TheDefaultShellOpensAValidAddressWithTheDesktopsHandler)
{
    ScopedService<IShellService> guard(SetShellService, nullptr);
    TBrowser browser;
    QDesktopServices::setUrlHandler("https", &browser, "Open");
    EXPECT_TRUE(ShellExecuteA("open", "https://vandora.example.org/", SW_SHOWNORMAL));
    EXPECT_TRUE(ShellExecuteA("OPEN", "https://vandora.example.org/about", SW_SHOWNORMAL));
    EXPECT_FALSE(ShellExecuteA("print", "https://vandora.example.org/", SW_SHOWNORMAL));
    EXPECT_FALSE(ShellExecuteA("open", "", SW_SHOWNORMAL));
    QDesktopServices::unsetUrlHandler("https");
    EXPECT_EQ(browser.opened, (std::vector<QString>{"https://vandora.example.org/", "https://vandora.example.org/about"}));
}

TEST(ShellTest, TheDefaultShellDoesNotKnowOtherVerbs)
{
    ScopedService<IShellService> guard(SetShellService, nullptr);
    EXPECT_FALSE(ShellExecuteA("print", "https://www.example.org/", SW_SHOWNORMAL));
    EXPECT_FALSE(ShellExecuteA("explore", "/tmp", SW_SHOWNORMAL));
}

#include "ShellTest.moc"
