#pragma once
// vandora-form: a table of commands, each with its usage and help, and the argument
// parsing they share. A command is one entry: add it with AddCommand.
#include <functional>
#include <map>
#include <ostream>
#include <string>
#include <vector>

namespace vandora::formtool {

// Exit codes.
constexpr int kExitOk = 0;
constexpr int kExitFailed = 1; // the input is not valid, or a file cannot be read or written
constexpr int kExitUsage = 2;  // the command line is wrong

struct TArguments {
    std::vector<std::string> Positional;
    std::map<std::string, std::string> Options; // by long name, without dashes
};

struct TOption {
    std::string Long;  // "output"
    char Short = 0;    // 'o'
    std::string Value; // "OUT"
    std::string Help;
    bool Required = false;
};

struct TCommand {
    std::string Name;
    std::vector<std::string> Operands; // "FILE"
    std::vector<TOption> Options;
    std::string Summary; // one line for the overview
    std::string Help;    // what it does, in full
    // Returns the exit code. Errors of the platform (EFilerError, Exception) that escape
    // are reported as failures with their message.
    std::function<int(const TArguments&, std::ostream& out, std::ostream& err)> Run;
};

class TFormTool {
public:
    // With the built-in commands: to-text, to-binary, check, list.
    TFormTool();

    void AddCommand(TCommand command);
    // args without the program name.
    int Run(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) const;

private:
    const TCommand* Find(const std::string& name) const;
    void PrintOverview(std::ostream& out) const;
    static void PrintHelp(const TCommand& command, std::ostream& out);
    int HelpOn(const std::string& name, std::ostream& out, std::ostream& err) const;
    int UnknownCommand(const std::string& name, std::ostream& err) const;
    // code, unless what went to out could not all be written: then a failure.
    static int Delivered(int code, std::ostream& out, std::ostream& err);
    static bool Parse(const TCommand& command, const std::vector<std::string>& args, TArguments& parsed,
                      bool& help, std::ostream& err);

    std::vector<TCommand> commands_;
};

// The built-in commands (FormCommands.cpp).
TCommand ToTextCommand();
TCommand ToBinaryCommand();
TCommand CheckCommand();
TCommand ListCommand(); // FormList.cpp

} // namespace vandora::formtool
