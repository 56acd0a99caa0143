#include "tools/form/FormFiles.h"

#include "platform/Exceptions.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

namespace vandora::formtool {

QByteArray ReadFile(const std::string& path)
{
    QFile file(QString::fromStdString(path));
    if (!file.open(QIODevice::ReadOnly))
        throw EFilerError("Cannot read " + path + ": " + file.errorString().toStdString());
    return file.readAll();
}

namespace {

[[noreturn]] void CannotWrite(const std::string& path, const QFileDevice& file)
{
    throw EFilerError("Cannot write " + path + ": " + file.errorString().toStdString());
}

} // namespace

void WriteFile(const std::string& path, const QByteArray& data)
{
    const QString name = QString::fromStdString(path);
    const QFileInfo target(name);
    if (target.exists() && !target.isFile()) {
        // A pipe or a device (-o /dev/stdout) is written into: saving beside it and renaming
        // would replace it with a plain file that nobody reads.
        QFile file(name);
        if (!file.open(QIODevice::WriteOnly) || file.write(data) != data.size() || !file.flush())
            CannotWrite(path, file);
        return;
    }
    // All or nothing: a failed write leaves an existing file as it was.
    QSaveFile file(name);
    if (!file.open(QIODevice::WriteOnly) || file.write(data) != data.size() || !file.commit())
        CannotWrite(path, file);
}

} // namespace vandora::formtool
