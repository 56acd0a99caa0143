// The built-in commands: conversion both ways and the structural check.
#include "tools/form/FormComponents.h"
#include "tools/form/FormFiles.h"
#include "tools/form/FormTool.h"

#include "platform/StreamForm.h"

namespace vandora::formtool {

namespace {

const char* FormKind(const QByteArray& form)
{
    return IsBinaryForm(form) ? "binary" : "text";
}

} // namespace

TCommand ToTextCommand()
{
    TCommand command;
    command.Name = "to-text";
    command.Operands = {"FILE"};
    command.Summary = "print the text form of a form";
    command.Help = "Prints the text form of FILE, which may be in either form. A malformed form is\n"
                   "reported with its place (byte offset or line) and exits with status 1.";
    command.Run = [](const TArguments& args, std::ostream& out, std::ostream&) {
        out << WithForm(args.Positional[0], [](const QByteArray& form) { return FormToText(form); });
        return kExitOk;
    };
    return command;
}

TCommand ToBinaryCommand()
{
    TCommand command;
    command.Name = "to-binary";
    command.Operands = {"FILE"};
    command.Options = {{"output", 'o', "OUT", "where to write the binary form", true}};
    command.Summary = "write the binary form of a form";
    command.Help = "Writes the binary form of FILE, which may be in either form, to OUT. Nothing is\n"
                   "written when FILE is malformed.";
    command.Run = [](const TArguments& args, std::ostream&, std::ostream&) {
        const QByteArray binary =
            WithForm(args.Positional[0], [](const QByteArray& form) { return FormToBinary(form); });
        WriteFile(args.Options.at("output"), binary);
        return kExitOk;
    };
    return command;
}

TCommand CheckCommand()
{
    TCommand command;
    command.Name = "check";
    command.Operands = {"FILE"};
    command.Summary = "check that a form is valid";
    command.Help = "Exits with status 0 when FILE is a valid form in either form, and with status 1\n"
                   "and the error otherwise. The form is read into real components: every class,\n"
                   "property and value must be one the program knows. A form whose own class is\n"
                   "not known is read as a plain form.";
    command.Run = [](const TArguments& args, std::ostream& out, std::ostream&) {
        const char* kind = WithForm(args.Positional[0], [](const QByteArray& form) {
            LoadComponents(form);
            return FormKind(form);
        });
        out << args.Positional[0] << ": a valid " << kind << " form\n";
        return kExitOk;
    };
    return command;
}

} // namespace vandora::formtool
