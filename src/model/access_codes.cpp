#include "model/access_codes.h"

#include "model/config_model.h"
#include "tables/dtmf_digits.h"

namespace vm880 {

AccessCodes AccessCodesOf(const ConfigModel& model)
{
    AccessCodes codes;
    for (int p = 1; p <= 3; ++p) {
        codes.current.at(p) = model.CurrentPortUnlock(p);
        codes.next.at(p) = model.NewPortUnlock(p);
    }
    codes.current.at(kLockCode) = model.Lock;
    codes.next.at(kLockCode) = model.NewLock;
    codes.current.at(kTerminatorCode) = model.Terminator;
    codes.next.at(kTerminatorCode) = model.NewTerminator;
    return codes;
}

std::vector<TerminatorConflict> TerminatorConflicts(const AccessCodes& codes)
{
    const Text& terminator = codes.current.at(kTerminatorCode);
    const Text& newTerminator = codes.next.at(kTerminatorCode);
    auto holdsEither = [&](const Text& code) {
        return HoldsTerminator(code, terminator) || HoldsTerminator(code, newTerminator);
    };
    std::vector<TerminatorConflict> conflicts;
    // A code stays in force beside the new terminator unless a new code that may be taken
    // with it replaces it.
    for (int code = 1; code < kTerminatorCode; ++code) {
        const Text& next = codes.next.at(code);
        const Text& current = codes.current.at(code);
        if ((next.empty() || holdsEither(next)) && HoldsTerminator(current, newTerminator)) {
            conflicts.push_back({code, kTerminatorCode, current, TerminatorDigit(newTerminator), false});
            break;
        }
    }
    const Text kept = conflicts.empty() ? newTerminator : Text();
    for (int code = 1; code < kTerminatorCode; ++code) {
        const Text& next = codes.next.at(code);
        if (HoldsTerminator(next, terminator))
            conflicts.push_back({code, code, next, TerminatorDigit(terminator), true});
        else if (HoldsTerminator(next, kept))
            conflicts.push_back({code, code, next, TerminatorDigit(kept), false});
    }
    return conflicts;
}

} // namespace vm880
