// Vandora: the geography quiz.
#include "app/Unit2.h"
#include "platform/Application.h"
#include "platform/FontWarmUp.h"

#include <QGuiApplication>
#include <QIcon>
#include <QImage>
#include <QPixmap>
#include <QTimer>
#include <cstdio>
#include <cstdlib>
#ifdef __GLIBC__
#include <malloc.h>
#endif

namespace {

// Without a display Qt would abort with a long message; say what to do instead.
bool DisplayAvailable()
{
    if (qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        return true;
    return qEnvironmentVariableIsSet("DISPLAY") || qEnvironmentVariableIsSet("WAYLAND_DISPLAY");
}

} // namespace

int main(int argc, char** argv)
{
    if (!DisplayAvailable()) {
        std::fprintf(stderr, "Vandora needs a graphical display, and none was found.\n"
                             "To run it without one, use: xvfb-run -a %s\n",
                     argv[0]);
        return 1;
    }
    vandora::TFontWarmUp fonts;
    // Whole device pixels per window pixel: the map is scaled by an integer, so it stays
    // sharp (1.5 rounds to 2, 1.25 to 1).
    QGuiApplication::setHighDpiScaleFactorRoundingPolicy(Qt::HighDpiScaleFactorRoundingPolicy::Round);
    vandora::TApplication application(argc, argv);
    application.SetMainFormOnTaskbar(true);
    try {
        const QByteArray description = vandora::EmbeddedForm2();
        application.setWindowIcon(QIcon(QPixmap::fromImage(vandora::MainIcon())));
        // The first question about fonts: from here on fontconfig must be ready.
        fonts.Wait();
        application.Initialize();
        vandora::TForm2 form(description);
        form.setWindowIcon(application.windowIcon());
        application.SetMainForm(&form);
#ifdef __GLIBC__
        // Reading the form and composing every look peaks the heap; once the window is up,
        // the pages freed since go back to the system.
        QTimer::singleShot(0, [] { malloc_trim(0); });
#endif
        return application.Run();
    } catch (const std::exception& error) {
        std::fprintf(stderr, "Vandora could not start: %s\n", error.what());
        return 1;
    }
}
