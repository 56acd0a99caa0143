#include "hotspot/RescaleOrigin.h"

namespace vandora {

bool TRescaleOrigin::Continues(const THotSpotShape& current, int baseWidth, int baseHeight) const
{
    return started_ && baseWidth == resultWidth_ && baseHeight == resultHeight_ && current.SameGeometry(result_);
}

void TRescaleOrigin::Start(const THotSpotShape& current, int baseWidth, int baseHeight)
{
    started_ = true;
    origin_.RestoreGeometry(current);
    originWidth_ = baseWidth;
    originHeight_ = baseHeight;
}

void TRescaleOrigin::Finish(const THotSpotShape& result, int baseWidth, int baseHeight)
{
    result_.RestoreGeometry(result);
    resultWidth_ = baseWidth;
    resultHeight_ = baseHeight;
}

} // namespace vandora
