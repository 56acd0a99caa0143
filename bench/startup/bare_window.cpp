// The yardstick for bench/startup/measure: an empty Qt 6 window of the quiz window's
// client size, so that what vandora costs beyond it is what the quiz itself adds.
// With --text the window shows one line of text, which brings in the font database
// (fontconfig) and the text stack: the least any window with a caption on it pays.
#include <QApplication>
#include <QLabel>
#include <QWidget>

#include <cstring>

int main(int argc, char** argv)
{
    QApplication application(argc, argv);
    QWidget window;
    window.setWindowTitle(QStringLiteral("Bare"));
    window.resize(416, 568);
    if (argc > 1 && std::strcmp(argv[1], "--text") == 0) {
        auto* label = new QLabel(QStringLiteral("Start new quiz"), &window);
        label->move(8, 8);
    }
    window.show();
    return application.exec();
}
