#include "model/reader_rules.h"

namespace vm880 {

std::span<const ReaderPass> AutopatchAndMacroPasses()
{
    return {};
}

} // namespace vm880
