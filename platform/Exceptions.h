#pragma once
// The framework's error kinds. They are raised for programming errors and bad
// persisted data only; the event loop catches what escapes a handler.
#include "platform/PrintableText.h"

#include <stdexcept>
#include <string>

namespace vandora {

// Error texts carry names read from files; they are kept printable (PrintableText).
class Exception : public std::runtime_error {
public:
    explicit Exception(const std::string& message) : std::runtime_error(PrintableText(message)) {}
    // The framework's class name of the error ("EListError", ...), shown nowhere
    // but useful to tools and tests.
    virtual const char* ClassName() const { return "Exception"; }
};

#define VANDORA_DECLARE_ERROR(Name, Base)                                       \
    class Name : public Base {                                                 \
    public:                                                                    \
        explicit Name(const std::string& message) : Base(message) {}           \
        const char* ClassName() const override { return #Name; }              \
    };

// "List index out of bounds (%d)"
VANDORA_DECLARE_ERROR(EListError, Exception)
// "Cannot assign a %s to a %s"
VANDORA_DECLARE_ERROR(EConvertError, Exception)
// Reading or writing a persisted form.
VANDORA_DECLARE_ERROR(EFilerError, Exception)
VANDORA_DECLARE_ERROR(EReadError, EFilerError)
VANDORA_DECLARE_ERROR(EWriteError, EFilerError)
VANDORA_DECLARE_ERROR(EClassNotFound, EFilerError)
// "Invalid property value"
VANDORA_DECLARE_ERROR(EPropertyError, Exception)
// A picture's data that cannot be decoded.
VANDORA_DECLARE_ERROR(EInvalidGraphic, Exception)
VANDORA_DECLARE_ERROR(EInvalidOperation, Exception)

#undef VANDORA_DECLARE_ERROR

std::string ListIndexErrorText(int index);                                   // "List index out of bounds (5)"
std::string AssignErrorText(const std::string& source, const std::string& target); // "Cannot assign a X to a Y"
inline constexpr const char* kInvalidPropertyValue = "Invalid property value";

} // namespace vandora
