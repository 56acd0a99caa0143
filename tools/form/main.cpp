// vandora-form: converts and checks persisted forms. See FormTool.h.
#include "tools/form/FormTool.h"

#include <QApplication>
#include <iostream>

int main(int argc, char** argv)
{
    // Forms hold controls, which are widgets; the tool shows none, so it needs no display.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    int qtArgc = 1;
    QApplication application(qtArgc, argv);
    std::vector<std::string> args(argv + 1, argv + argc);
    return vandora::formtool::TFormTool().Run(args, std::cout, std::cerr);
}
