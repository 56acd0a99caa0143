#pragma once
// The system shell: carrying out a verb ("open") on an address.
//
// Seam: the call goes through an IShellService. The default one opens the address with the
// desktop's handler (QDesktopServices); a test installs a double that records the call.
#include <string>

namespace vandora {

constexpr int SW_HIDE = 0;
constexpr int SW_SHOWNORMAL = 1;
constexpr int SW_SHOWMINIMIZED = 2;
constexpr int SW_SHOWMAXIMIZED = 3;

class IShellService {
public:
    virtual ~IShellService() = default;
    // Carries out the verb on the address; true when the shell accepted it.
    virtual bool Execute(const std::string& verb, const std::string& address, int showCommand) = 0;
};

IShellService& ShellService();
// Installs a service (not owned) and returns the one it replaces; null puts the default back.
IShellService* SetShellService(IShellService* service);

// "open" on a web address (or a file) opens it with the desktop's handler, shown as
// showCommand asks (SW_SHOWNORMAL). No owner window, no parameters, no working folder.
// Other verbs are not supported and do nothing. The result says whether the shell took
// the request; callers may ignore it.
bool ShellExecuteA(const std::string& verb, const std::string& address, int showCommand = SW_SHOWNORMAL);

} // namespace vandora
