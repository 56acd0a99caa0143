#include "fuzz/FuzzChecks.h"

#include "platform/BinaryForm.h"
#include "platform/Component.h"
#include "platform/Exceptions.h"
#include "platform/StreamForm.h"
#include "platform/TextForm.h"

#include <cstdio>
#include <cstdlib>
#include <memory>
#include <optional>
#include <string>

namespace vandora::fuzz {

namespace {

int accepted = 0;

std::string_view View(const QByteArray& bytes)
{
    return std::string_view(bytes.constData(), std::size_t(bytes.size()));
}

std::optional<std::string> TextOf(const QByteArray& binary)
{
    try {
        return TTextForm::FromBinary(View(binary));
    } catch (const EReadError&) {
        return std::nullopt;
    }
}

QByteArray BinaryOf(const std::string& text)
{
    try {
        return TBinaryForm::FromText(text);
    } catch (const EReadError& e) {
        Broken("the text form of a binary form converts back", e.what());
    }
}

// Reads the form; what was read must write and read back to the same form.
bool CheckReading(const QByteArray& form)
{
    std::unique_ptr<TComponent> root;
    try {
        root = ReadForm(form);
    } catch (const EFilerError&) {
        return false;
    }
    ++accepted;
    QByteArray written;
    try {
        written = WriteFormBinary(*root);
    } catch (const EWriteError&) {
        return true; // a value its class cannot write back (an enumeration out of range)
    }
    try {
        const std::unique_ptr<TComponent> again = ReadForm(written);
        if (WriteFormBinary(*again) != written)
            Broken("a written form reads back and writes the same");
    } catch (const EFilerError& e) {
        Broken("a written form reads back", e.what());
    }
    return true;
}

} // namespace

int AcceptedReads()
{
    return accepted;
}

void CountAcceptedRead()
{
    ++accepted;
}

void Broken(const char* promise, const std::string& detail)
{
    std::fprintf(stderr, "Broken promise: %s\n%s\n", promise, detail.c_str());
    std::abort();
}

void CheckBinaryForm(const QByteArray& form)
{
    const std::optional<std::string> text = TextOf(form);
    if (text && BinaryOf(*text) != form)
        Broken("binary -> text -> binary gives the same bytes", *text);
    if (IsBinaryForm(form) && CheckReading(form) && !text)
        Broken("a binary form the reader accepts converts to text");
}

void CheckTextForm(const QByteArray& form)
{
    QByteArray binary;
    try {
        binary = TBinaryForm::FromText(View(form));
    } catch (const EReadError&) {
    }
    if (!binary.isEmpty()) {
        const std::optional<std::string> text = TextOf(binary);
        if (!text)
            Broken("the binary form of a text form converts to text");
        if (BinaryOf(*text) != binary)
            Broken("canonical text -> binary -> text is stable", *text);
    }
    if (!IsBinaryForm(form) && CheckReading(form) && binary.isEmpty())
        Broken("a text form the reader accepts converts to binary");
}

} // namespace vandora::fuzz
