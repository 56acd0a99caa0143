#pragma once
// The binary form of a text form (the syntax is described in TextForm.h).
#include "platform/StreamLineMap.h"

#include <QByteArray>
#include <string_view>

namespace vandora {

class TBinaryForm {
public:
    // Raises EReadError naming the component, the property and the line where the text is
    // malformed. When lines is given, it learns which line each part of the result came
    // from.
    static QByteArray FromText(std::string_view text, TStreamLineMap* lines = nullptr);
};

} // namespace vandora
