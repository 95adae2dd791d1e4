#include "model/reader_rules.h"

namespace vm880 {

std::span<const ReaderPass> TimerAndMeterPasses()
{
    return {};
}

} // namespace vm880
