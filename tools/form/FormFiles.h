#pragma once
// Reading and writing the tool's files; failures raise EFilerError with the path.
#include "platform/Exceptions.h"

#include <QByteArray>
#include <string>

namespace vandora::formtool {

QByteArray ReadFile(const std::string& path);
void WriteFile(const std::string& path, const QByteArray& data);

// Reads the form file at path and hands its contents to step, returning what step returns.
// An error in the form comes back with the path in front, as a compiler names the file of
// an error: a build converting several forms then says which one failed. (A file that
// cannot be read is named by ReadFile already.)
template <class Step>
auto WithForm(const std::string& path, Step step) -> decltype(step(QByteArray()))
{
    const QByteArray form = ReadFile(path);
    try {
        return step(form);
    } catch (const std::exception& error) {
        throw EFilerError(path + ": " + error.what());
    }
}

} // namespace vandora::formtool
