#pragma once
// Reading a form into real components, for the commands that look inside it.
#include "platform/Component.h"

#include <QByteArray>
#include <memory>

namespace vandora::formtool {

// Reads the form (either form) into components of the registered classes. A form whose own
// class is not known here (a program's window class) is read as a plain form: its controls
// are created all the same and its event bindings are kept by name. Raises the stream's
// errors for unknown child classes, properties or values.
std::unique_ptr<TComponent> LoadComponents(const QByteArray& form);

} // namespace vandora::formtool
