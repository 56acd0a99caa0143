// The quiz window's tests run under the program's own application object, prepared as the
// program prepares it (the window font registered), so that the window is measured with
// the font it shows.
//
// This main() takes the place of the one in vandora_testmain (see tests/platform).
#include "platform/Application.h"

#include <gtest/gtest.h>

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    vandora::TApplication app(argc, argv);
    app.Initialize();
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
