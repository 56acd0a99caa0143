#include "tools/form/FormTool.h"

#include "platform/Exceptions.h"

#include <algorithm>

namespace vandora::formtool {

namespace {

std::string Synopsis(const TCommand& command)
{
    std::string text = "vandora-form " + command.Name;
    for (const TOption& option : command.Options) {
        const std::string usage = "-" + std::string(1, option.Short) + " " + option.Value;
        text += option.Required ? " " + usage : " [" + usage + "]";
    }
    for (const std::string& operand : command.Operands)
        text += " " + operand;
    return text;
}

const TOption* FindOption(const TCommand& command, const std::string& arg)
{
    for (const TOption& option : command.Options)
        if (arg == "--" + option.Long || (option.Short && arg == std::string("-") + option.Short))
            return &option;
    return nullptr;
}

} // namespace

TFormTool::TFormTool()
{
    AddCommand(ToTextCommand());
    AddCommand(ToBinaryCommand());
    AddCommand(CheckCommand());
    AddCommand(ListCommand());
}

void TFormTool::AddCommand(TCommand command)
{
    commands_.push_back(std::move(command));
}

const TCommand* TFormTool::Find(const std::string& name) const
{
    const auto it = std::find_if(commands_.begin(), commands_.end(), [&](const TCommand& c) { return c.Name == name; });
    return it == commands_.end() ? nullptr : &*it;
}

void TFormTool::PrintOverview(std::ostream& out) const
{
    out << "Usage: vandora-form COMMAND [ARGUMENTS]\n"
           "Converts and checks persisted forms, in the binary form (recognised by its TPF0\n"
           "signature) or the text form.\n\nCommands:\n";
    for (const TCommand& command : commands_)
        out << "  " << command.Name << std::string(command.Name.size() < 12 ? 12 - command.Name.size() : 1, ' ')
            << command.Summary << "\n";
    out << "\n'vandora-form COMMAND --help' describes a command.\n";
}

void TFormTool::PrintHelp(const TCommand& command, std::ostream& out)
{
    out << "Usage: " << Synopsis(command) << "\n" << command.Help << "\n";
    if (command.Options.empty())
        return;
    out << "\nOptions:\n";
    for (const TOption& option : command.Options)
        out << "  -" << option.Short << ", --" << option.Long << " " << option.Value << "  " << option.Help << "\n";
}

bool TFormTool::Parse(const TCommand& command, const std::vector<std::string>& args, TArguments& parsed, bool& help,
                      std::ostream& err)
{
    for (std::size_t i = 1; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (arg == "--help" || arg == "-h") {
            help = true;
            return true;
        }
        if (arg.size() > 1 && arg[0] == '-') {
            const TOption* option = FindOption(command, arg);
            if (!option) {
                err << "vandora-form " << command.Name << ": unknown option " << arg << "\n";
                return false;
            }
            if (i + 1 >= args.size()) {
                err << "vandora-form " << command.Name << ": " << arg << " needs " << option->Value << "\n";
                return false;
            }
            parsed.Options[option->Long] = args[++i];
            continue;
        }
        parsed.Positional.push_back(arg);
    }
    const bool missing = std::any_of(command.Options.begin(), command.Options.end(), [&](const TOption& option) {
        return option.Required && !parsed.Options.count(option.Long);
    });
    if (missing || parsed.Positional.size() != command.Operands.size()) {
        err << "Usage: " << Synopsis(command) << "\n";
        return false;
    }
    return true;
}

int TFormTool::Run(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) const
{
    if (args.empty() || args[0] == "--help" || args[0] == "-h" || args[0] == "help") {
        if (args.size() >= 2)
            return HelpOn(args[1], out, err);
        PrintOverview(args.empty() ? err : out);
        return Delivered(args.empty() ? kExitUsage : kExitOk, out, err);
    }
    const TCommand* command = Find(args[0]);
    if (!command)
        return UnknownCommand(args[0], err);
    TArguments parsed;
    bool help = false;
    if (!Parse(*command, args, parsed, help, err))
        return kExitUsage;
    if (help) {
        PrintHelp(*command, out);
        return Delivered(kExitOk, out, err);
    }
    try {
        return Delivered(command->Run(parsed, out, err), out, err);
    } catch (const std::exception& e) {
        err << "vandora-form: " << e.what() << "\n";
        return kExitFailed;
    }
}

int TFormTool::HelpOn(const std::string& name, std::ostream& out, std::ostream& err) const
{
    const TCommand* command = Find(name);
    if (!command)
        return UnknownCommand(name, err);
    PrintHelp(*command, out);
    return Delivered(kExitOk, out, err);
}

int TFormTool::UnknownCommand(const std::string& name, std::ostream& err) const
{
    err << "vandora-form: unknown command '" << name << "'\n";
    PrintOverview(err);
    return kExitUsage;
}

int TFormTool::Delivered(int code, std::ostream& out, std::ostream& err)
{
    // A converted form cut short by a full disk or a closed pipe must not pass for a
    // success: whoever reads standard output would carry on with half a form.
    if (out.flush())
        return code;
    err << "vandora-form: cannot write the output\n";
    return kExitFailed;
}

} // namespace vandora::formtool
