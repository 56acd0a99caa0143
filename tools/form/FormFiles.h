#pragma once
// Reading and writing the tool's files; failures raise EFilerError with the path.
#include <QByteArray>
#include <string>

namespace vandora::formtool {

QByteArray ReadFile(const std::string& path);
void WriteFile(const std::string& path, const QByteArray& data);

} // namespace vandora::formtool
