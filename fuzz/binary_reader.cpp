// Fuzzes the binary form: its conversion to text and reading it into components.
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
    vandora::fuzz::CheckBinaryForm(QByteArray(reinterpret_cast<const char*>(data), qsizetype(size)));
    return 0;
}
