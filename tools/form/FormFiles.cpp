#include "tools/form/FormFiles.h"

#include "platform/Exceptions.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include <fcntl.h>
#include <unistd.h>

#include <charconv>
#include <string_view>

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

// The descriptor a name such as /dev/stdout or /proc/self/fd/3 stands for, or -1. Opening
// such a name again would start a new file offset (and truncate a redirected file); the
// caller's own descriptor keeps its place, as "cmd >> log" and "{ a; cmd; } > out" expect.
int DescriptorNamed(const std::string& path)
{
    if (path == "/dev/stdout")
        return STDOUT_FILENO;
    if (path == "/dev/stderr")
        return STDERR_FILENO;
    for (const std::string_view prefix : {"/dev/fd/", "/proc/self/fd/"}) {
        if (path.size() <= prefix.size() || path.compare(0, prefix.size(), prefix) != 0)
            continue;
        int fd = 0;
        const char* const first = path.data() + prefix.size();
        const char* const last = path.data() + path.size();
        const auto [end, error] = std::from_chars(first, last, fd);
        return error == std::errc() && end == last && fd >= 0 ? fd : -1;
    }
    return -1;
}

} // namespace

void WriteFile(const std::string& path, const QByteArray& data)
{
    const QString name = QString::fromStdString(path);
    if (const int fd = DescriptorNamed(path); fd >= 0 && fcntl(fd, F_GETFD) != -1) {
        QFile file;
        if (!file.open(fd, QIODevice::WriteOnly, QFileDevice::DontCloseHandle) || file.write(data) != data.size() ||
            !file.flush())
            CannotWrite(path, file);
        return;
    }
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
