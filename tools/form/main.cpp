// vandora-form: converts and checks persisted forms. See FormTool.h.
#include "tools/form/FormTool.h"

#include <iostream>

int main(int argc, char** argv)
{
    std::vector<std::string> args(argv + 1, argv + argc);
    return vandora::formtool::TFormTool().Run(args, std::cout, std::cerr);
}
