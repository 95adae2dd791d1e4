#include "model/reader_rules.h"

namespace vm880 {

std::span<const ReaderPass> CourtesyDtmfSwitchAndDvrPasses()
{
    return {};
}

} // namespace vm880
