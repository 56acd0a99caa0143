#pragma once
// The generic reader of the property stream's binary form. It creates a form's components
// by class name and applies every stored property through the setters of the class's
// published table (ClassBuilder.h), in stream order; custom properties reach the reader
// procedures a class declares in DeclareCustomProperties.
//
// Malformed input raises EReadError (EClassNotFound for an unknown class) whose message
// names the component, the property and the place: "byte offset N", or whatever the
// locator says (a text form read through its binary twin names the line). A bad value
// says "Invalid property value". Nothing half-built remains: a failed read destroys every
// component it created. A root given to read into keeps the properties applied before
// the error: undoing them would need every property's earlier value.
#include "platform/Extended.h"
#include "platform/Filer.h"
#include "platform/StreamInput.h"

#include <QByteArray>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace vandora {

class TClassInfo;
class TCollection;
class TComponent;
class TPersistent;
struct TFieldInfo;
struct TPropertyInfo;

class TReader : public TFiler {
public:
    using Locator = std::function<std::string(std::size_t offset)>;

    // The data must outlive the reader. One reader reads one form.
    explicit TReader(std::string_view data);
    ~TReader() override;
    TReader(const TReader&) = delete;
    TReader& operator=(const TReader&) = delete;

    void SetLocator(Locator locator) { locator_ = std::move(locator); }

    // Reads the form into root: its name and properties, then the child components, each
    // created from the registry by class name, owned by root, named, made a QWidget child
    // of the component it is nested in (when both are widgets) and stored in root's field
    // of that name. Components carry csLoading | csReading while they are read; then
    // Loaded runs on root and on each child in stream order. On failure the children
    // created are destroyed, root's fields that received them are reset and its name is
    // restored; root's own properties keep what was read before the error, so a root that
    // failed to read is meant to be discarded, as a form whose constructor reads it is.
    void ReadRootComponent(TComponent& root);
    // The same with a root created by the class name that the form holds.
    std::unique_ptr<TComponent> ReadRootComponent();
    // The form's root while reading.
    TComponent* Root() const { return root_; }

    // Values, for custom properties. A value of another kind than asked for raises
    // "Invalid property value".
    TValueKind NextValue() const { return in_.PeekKind(); }
    bool EndOfList() const { return in_.PeekByte() == 0; }
    void ReadListBegin();
    void ReadListEnd();
    // Any of the three integer widths.
    std::int32_t ReadInteger();
    // An extended real narrowed to a double; a double or an integer is accepted too.
    double ReadReal();
    TExtended ReadExtended();
    // Any of the three string kinds, as UTF-8.
    std::string ReadString();
    // An identifier; False, True and nil read as those words.
    std::string ReadIdent();
    bool ReadBoolean();
    QByteArray ReadBinary();
    std::vector<std::string> ReadSet();
    void SkipValue();
    // Guards an allocation sized by a count read from the stream: raises "Invalid property
    // value" unless `count` values of at least `minBytesEach` bytes fit in what is left.
    void CheckCount(std::int64_t count, std::size_t minBytesEach);

    // Raise EReadError naming the current component, property and position.
    [[noreturn]] void Fail(const std::string& what) const { in_.Fail(what); }
    [[noreturn]] void InvalidValue(std::size_t offset) const;

    void DefineProperty(const std::string& name, ReadProc read, WriteProc write, bool hasData) override;

private:
    // Counts one level of nesting (component, list or collection) while it is read.
    class TDepth {
    public:
        explicit TDepth(TReader& reader);
        ~TDepth() { --reader_.depth_; }
        TDepth(const TDepth&) = delete;
        TDepth& operator=(const TDepth&) = delete;

    private:
        TReader& reader_;
    };
    enum class TCustomSearch { Idle, Searching, Found };

    std::string Place(std::size_t offset) const;
    TValueKind ReadKindAt(std::size_t& offset);
    // As ReadKindAt, for a number: a byte that is no value kind at all is a bad value too.
    TValueKind ReadNumberKindAt(std::size_t& offset);

    // ReaderComponents.cpp
    void ReadForm(TComponent* given, std::unique_ptr<TComponent>& created);
    std::unique_ptr<TComponent> CreateComponent(const std::string& className, const std::string& name,
                                                std::size_t offset) const;
    void ReadComponentBody(TComponent& component, const std::string& name, const std::string& className);
    void ReadChild(TComponent& parent);
    void BindField(TComponent& child, std::size_t offset);
    void FinishLoading();
    // Loaded, with an error from it named after the component.
    void RunLoaded(TComponent& component);
    void Rollback(TComponent& root);
    void ReadProperties(TPersistent& object, const std::string& contextPrefix);
    void ReadPropertyEntry(TPersistent& object, const std::string& contextPrefix);
    void ReadProperty(TPersistent& object, std::string_view path, std::size_t nameOffset);
    bool ReadCustomProperty(TPersistent& object, std::string_view path);
    void ReadValue(TPersistent& object, const TPropertyInfo& property);
    void ReadOrdinal(TPersistent& object, const TPropertyInfo& property);
    void ReadEvent(TPersistent& object, const TPropertyInfo& property);
    void ReadCollection(TCollection& collection);
    void ReadPicture(TPersistent& object, const TPropertyInfo& property);

    TStreamInput in_;
    Locator locator_;
    TComponent* root_ = nullptr;
    std::vector<TComponent*> created_;          // children created, in stream order; owned by root_
    std::vector<const TFieldInfo*> boundFields_; // root_'s fields that received them
    std::vector<std::string> components_;        // "Name: TClass" from the root inwards
    std::string property_;                       // the property being read, as a path
    int depth_ = 0;
    TCustomSearch customSearch_ = TCustomSearch::Idle;
    std::string customName_;
};

} // namespace vandora
