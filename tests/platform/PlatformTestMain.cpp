// The platform tests run under the production application object, so that the event loop's
// catching of handler exceptions (TApplication::notify) is the real one under test.
//
// This main() takes the place of the one in vandora_testmain: a static library's member is
// only linked when it resolves a symbol that is still missing, and main is not.
#include "TestDoubles.h"

#include "platform/Application.h"

#include <gtest/gtest.h>

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    vandora::TApplication app(argc, argv);
    app.Initialize();
    // No test may ever open a real, blocking dialog or a browser: until a test installs its
    // own double, every box and every shell call fails the running test.
    vandora::test::TUnexpectedMessageBox noBoxes;
    vandora::test::TUnexpectedShell noShell;
    vandora::SetMessageBoxService(&noBoxes);
    vandora::SetShellService(&noShell);
    ::testing::InitGoogleTest(&argc, argv);
    const int result = RUN_ALL_TESTS();
    vandora::SetMessageBoxService(nullptr);
    vandora::SetShellService(nullptr);
    return result;
}
