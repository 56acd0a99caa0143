#include "platform/Exceptions.h"

namespace vandora {

std::string ListIndexErrorText(int index)
{
    return "List index out of bounds (" + std::to_string(index) + ")";
}

std::string AssignErrorText(const std::string& source, const std::string& target)
{
    return "Cannot assign a " + source + " to a " + target;
}

} // namespace vandora
