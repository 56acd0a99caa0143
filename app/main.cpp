// Vandora: the geography quiz.
#include "app/Unit2.h"
#include "platform/Application.h"
#include "platform/FontWarmUp.h"

#include <QGuiApplication>
#include <QIcon>
#include <QImage>
#include <QPixmap>
#include <QTimer>
#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string_view>
#ifdef __GLIBC__
#include <malloc.h>
#endif

namespace {

const char* programPath = "vandora";
const char* displayOption = nullptr;  // Qt's -display argument, when given
const char* platformOption = nullptr; // Qt's -platform argument, when given
std::atomic<bool> starting = true;    // read by the message handler, on any thread
QtMessageHandler qtMessages = nullptr;

// Qt's own -display and -platform options (with one dash or two) name a display as the
// environment does.
void FindDisplayOptions(int argc, char** argv)
{
    for (int i = 1; i + 1 < argc; ++i) {
        std::string_view option = argv[i];
        if (option.rfind("--", 0) == 0)
            option.remove_prefix(1);
        if (option == "-display")
            displayOption = argv[++i];
        else if (option == "-platform")
            platformOption = argv[++i];
    }
}

// Without a display Qt would abort with a long message; say what to do instead. A platform
// named explicitly is left to Qt (it may be one that needs no display, or a list of them):
// when it fails, the message handler below says so.
bool DisplayAvailable()
{
    if (platformOption != nullptr || displayOption != nullptr || qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        return true;
    return qEnvironmentVariableIsSet("DISPLAY") || qEnvironmentVariableIsSet("WAYLAND_DISPLAY");
}

const char* DisplayName()
{
    if (displayOption != nullptr)
        return displayOption;
    for (const char* variable : {"DISPLAY", "WAYLAND_DISPLAY"})
        if (const char* value = std::getenv(variable); value != nullptr && *value != '\0')
            return value;
    return "";
}

const char* PlatformName()
{
    if (platformOption != nullptr)
        return platformOption;
    const char* value = std::getenv("QT_QPA_PLATFORM");
    return value != nullptr ? value : "";
}

// 0 once what was printed has reached standard output (a full disk or a closed pipe is a
// failure, as for any program whose output is read).
int Printed()
{
    return std::fflush(stdout) == 0 && !std::ferror(stdout) ? 0 : 1;
}

// A display named but not reachable (a server that has gone, a forwarded one that never
// came) makes Qt end the program with advice to reinstall it; say what is wrong instead.
void OnQtMessage(QtMsgType type, const QMessageLogContext& context, const QString& message)
{
    if (type != QtFatalMsg || !starting) {
        if (qtMessages != nullptr)
            qtMessages(type, context, message);
        return;
    }
    if (*DisplayName() != '\0')
        std::fprintf(stderr, "Vandora could not open a window on the display \"%s\".\n", DisplayName());
    else
        std::fprintf(stderr, "Vandora could not open a window with the platform \"%s\".\n", PlatformName());
    std::fprintf(stderr, "To run it without one, use: xvfb-run -a %s\n", programPath);
    std::_Exit(1);
}

// --help and --version are answered without a window, so they work without a display.
std::optional<int> AnswerCommandLine(int argc, char** argv)
{
    for (int i = 1; i < argc; ++i) {
        const std::string_view argument = argv[i];
        if (argument == "--version") {
            std::printf("Vandora %s\n", VANDORA_VERSION);
            return Printed();
        }
        if (argument == "--help" || argument == "-h") {
            std::printf("Usage: %s [Qt options]\n"
                        "A geography quiz: press \"Start new quiz\", then click each country it names\n"
                        "on the map of Europe (or Tab to the map, choose with the arrow keys, press Enter).\n"
                        "\n"
                        "  -h, --help     show this help and exit\n"
                        "      --version  show the version and exit\n"
                        "\n"
                        "Qt's own options apply too, such as -style Fusion or -display :1.\n",
                        programPath);
            return Printed();
        }
    }
    return std::nullopt;
}

} // namespace

int main(int argc, char** argv)
{
    programPath = argv[0];
    FindDisplayOptions(argc, argv);
    if (const std::optional<int> answered = AnswerCommandLine(argc, argv))
        return *answered;
    if (!DisplayAvailable()) {
        std::fprintf(stderr, "Vandora needs a graphical display, and none was found.\n"
                             "To run it without one, use: xvfb-run -a %s\n",
                     programPath);
        return 1;
    }
    qtMessages = qInstallMessageHandler(OnQtMessage);
    vandora::TFontWarmUp fonts;
    // The desktop's own scale factor, fractional ones too (Qt's default policy, not rounded):
    // at 150 % the window is 1.5 times its size and fits a 1080-line screen, where rounded
    // up to 2 it would not. The map stays sharp at any factor (nearest-neighbour pixels).
    // The installed desktop file's name: Wayland's app id and the desktop's link from the
    // window to its launcher and icon.
    QGuiApplication::setDesktopFileName(QStringLiteral("org.example.vandora"));
    vandora::TApplication application(argc, argv);
    starting = false;
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
