#pragma once
// What must hold for any input, checked by the fuzz targets. A broken promise aborts with
// a message, which the fuzzer reports as a crash; bad input itself only raises the
// platform's read errors.
#include <QByteArray>
#include <string>

namespace vandora::fuzz {

// A binary form: if it converts to text, the text converts back to the same bytes; if it
// reads into components, it also converts, and what was read writes a form that reads
// back and writes the same again.
void CheckBinaryForm(const QByteArray& form);

// A text form: if it converts to binary, that binary's text is canonical (it converts back
// to the same binary and the same text); reading it obeys the same rules as above.
void CheckTextForm(const QByteArray& form);

// How many inputs so far were read into components (or loaded) without an error.
int AcceptedReads();
void CountAcceptedRead();

// Reports a broken promise and aborts, which the fuzzer takes for a crash.
[[noreturn]] void Broken(const char* promise, const std::string& detail = {});

} // namespace vandora::fuzz
