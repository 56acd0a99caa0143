#pragma once
// What a class's DeclareCustomProperties talks to: the reader or the writer of the
// property stream. A custom property has its own reader and writer procedures, which work
// on the stream's values (lists, integers, reals, strings, identifiers).
#include <functional>
#include <string>

namespace vandora {

class TReader;
class TWriter;

class TFiler {
public:
    using ReadProc = std::function<void(TReader&)>;
    using WriteProc = std::function<void(TWriter&)>;

    virtual ~TFiler() = default;

    // Declares the property `name`. The writer calls write when hasData is true; the
    // reader calls read when the stream holds the property. Either may be empty for a
    // property that is only read or only written.
    virtual void DefineProperty(const std::string& name, ReadProc read, WriteProc write, bool hasData) = 0;
};

} // namespace vandora
