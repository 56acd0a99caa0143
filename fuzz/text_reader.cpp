// Fuzzes the text form: its conversion to binary and reading it into components.
#include "fuzz/FuzzChecks.h"
#include "fuzz/FuzzClasses.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    vandora::fuzz::Initialize();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    vandora::fuzz::CheckTextForm(QByteArray(reinterpret_cast<const char*>(data), qsizetype(size)));
    return 0;
}
