#include "platform/Shell.h"

#include <QDesktopServices>
#include <QString>
#include <QUrl>

namespace vandora {

namespace {

class TDefaultShellService final : public IShellService {
public:
    bool Execute(const std::string& verb, const std::string& address, int showCommand) override
    {
        (void)showCommand; // the desktop's handler decides how its window shows
        if (QString::fromStdString(verb).compare(QLatin1String("open"), Qt::CaseInsensitive) != 0)
            return false;
        const QUrl url = QUrl::fromUserInput(QString::fromStdString(address));
        if (!url.isValid())
            return false;
        return QDesktopServices::openUrl(url);
    }
};

TDefaultShellService& DefaultService()
{
    static TDefaultShellService service;
    return service;
}

IShellService* g_service = nullptr;

} // namespace

IShellService& ShellService()
{
    return g_service ? *g_service : DefaultService();
}

IShellService* SetShellService(IShellService* service)
{
    IShellService* previous = g_service;
    g_service = service;
    return previous;
}

bool ShellExecuteA(const std::string& verb, const std::string& address, int showCommand)
{
    return ShellService().Execute(verb, address, showCommand);
}

} // namespace vandora
