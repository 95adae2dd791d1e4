#include "model/reader_rules.h"

namespace vm880 {

std::span<const ReaderPass> RemoteIdentificationAndCodePasses()
{
    return {};
}

} // namespace vm880
