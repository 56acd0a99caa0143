#include "platform/FontWarmUp.h"

#include <fontconfig/fontconfig.h>

#include <sys/resource.h>
#include <system_error>

namespace vandora {

TFontWarmUp::TFontWarmUp()
{
    try {
        thread_ = std::thread([] {
            // At the lowest priority it takes only what the starting program leaves idle.
            setpriority(PRIO_PROCESS, 0, 19); // on Linux: this thread alone
            FcInit();
        });
    } catch (const std::system_error&) {
        // No thread to be had: Qt reads the configuration itself when it first needs it.
    }
}

TFontWarmUp::~TFontWarmUp()
{
    Wait();
}

void TFontWarmUp::Wait()
{
    if (thread_.joinable())
        thread_.join();
}

} // namespace vandora
