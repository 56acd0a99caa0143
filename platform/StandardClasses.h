#pragma once

namespace vandora {

// Makes the framework's own persisted classes known to the property stream: fonts, the
// control base, forms, labels and buttons. Safe to call more than once.
void RegisterStandardClasses();

} // namespace vandora
