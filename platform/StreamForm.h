#pragma once
// Whole persisted forms in either form: the binary one (recognised by its TPF0 signature)
// or its text twin. Reading text goes through its binary twin, and errors then name the
// line of the text instead of a byte offset.
#include <QByteArray>
#include <memory>
#include <string>

namespace vandora {

class TComponent;

bool IsBinaryForm(const QByteArray& form);

// Raise EReadError when the form is not well-formed (structure only: classes and
// properties are not looked up).
QByteArray FormToBinary(const QByteArray& form);
std::string FormToText(const QByteArray& form);

// Read into a given root, or create the root by the class name the form holds (see
// TReader::ReadRootComponent).
void ReadForm(const QByteArray& form, TComponent& root);
std::unique_ptr<TComponent> ReadForm(const QByteArray& form);

QByteArray WriteFormBinary(const TComponent& root);
std::string WriteFormText(const TComponent& root);

} // namespace vandora
