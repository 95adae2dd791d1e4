#include "settings_file_target.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    vm880::fuzz::ParseIni(data, size);
    return 0;
}
