#pragma once
// The generic writer of the property stream's binary form: the root component, its
// published properties in declaration order through their getters (each under its storage
// rule), its custom properties, then its child components.
//
// Storage rules: an ordinal property with a declared Default only when it differs, else
// always; a string only when not empty; a picture only when it holds a non-empty graphic;
// a collection only when it has items; an event only when bound to a method name; a
// read-only property never. Integers take the shortest width, reals the extended form.
#include "platform/Extended.h"
#include "platform/Filer.h"
#include "platform/StreamOutput.h"

#include <QByteArray>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace vandora {

class TCollection;
class TComponent;
class TPersistent;
struct TPropertyInfo;

class TWriter : public TFiler {
public:
    TWriter() = default;
    TWriter(const TWriter&) = delete;
    TWriter& operator=(const TWriter&) = delete;

    // The signature, then the root and the components it owns, nested as their QWidget
    // parents are. Raises EWriteError for a class without a published table.
    void WriteRootComponent(const TComponent& root);

    const QByteArray& Data() const { return out_.Data(); }
    QByteArray TakeData() { return out_.TakeData(); }

    // Values, for custom properties.
    void WriteListBegin() { out_.WriteKind(TValueKind::List); }
    void WriteListEnd() { out_.WriteByte(0); }
    // The shortest of the three widths; raises EWriteError outside 32 bits.
    void WriteInteger(std::int64_t value);
    // As a 10-byte extended real (exact).
    void WriteReal(double value) { out_.WriteExtended(TExtended::FromDouble(value)); }
    void WriteExtended(const TExtended& value) { out_.WriteExtended(value); }
    void WriteDouble(double value) { out_.WriteDouble(value); }
    // Raises EWriteError for bytes that are not UTF-8, which no reader would take back.
    void WriteString(std::string_view utf8);
    void WriteIdent(std::string_view ident) { out_.WriteIdent(ident); }
    void WriteBoolean(bool value) { out_.WriteKind(value ? TValueKind::True : TValueKind::False); }
    void WriteBinary(const QByteArray& bytes);
    void WriteSet(const std::vector<std::string>& elements);
    void WriteNil() { out_.WriteKind(TValueKind::Nil); }

    void DefineProperty(const std::string& name, ReadProc read, WriteProc write, bool hasData) override;

private:
    void WriteComponent(TComponent& component, TComponent& root);
    void WriteProperties(TPersistent& object);
    void WriteProperty(TPersistent& object, const TPropertyInfo& property);
    void WriteOrdinal(TPersistent& object, const TPropertyInfo& property);
    void WriteCollection(TCollection& collection);
    void WritePropertyName(const std::string& name);

    TStreamOutput out_;
    std::string prefix_; // "Font." while a sub-object's properties are written
};

} // namespace vandora
