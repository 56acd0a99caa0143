#pragma once

namespace vandora {

// Makes the control's classes known to the property stream (THotSpot, TMorvane), so that
// forms holding them can be read and written. Safe to call more than once.
void RegisterMorvaneClasses();

} // namespace vandora
