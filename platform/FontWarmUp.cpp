#include "platform/FontWarmUp.h"

#include <fontconfig/fontconfig.h>

#include <system_error>

namespace vandora {

TFontWarmUp::TFontWarmUp()
{
    try {
        thread_ = std::thread([] { FcInit(); });
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
