#include "tools/form/FormFiles.h"

#include "platform/Exceptions.h"

#include <QFile>
#include <QSaveFile>

namespace vandora::formtool {

QByteArray ReadFile(const std::string& path)
{
    QFile file(QString::fromStdString(path));
    if (!file.open(QIODevice::ReadOnly))
        throw EFilerError("Cannot read " + path + ": " + file.errorString().toStdString());
    return file.readAll();
}

void WriteFile(const std::string& path, const QByteArray& data)
{
    // All or nothing: a failed write leaves an existing file as it was.
    QSaveFile file(QString::fromStdString(path));
    if (!file.open(QIODevice::WriteOnly) || file.write(data) != data.size() || !file.commit())
        throw EFilerError("Cannot write " + path + ": " + file.errorString().toStdString());
}

} // namespace vandora::formtool
