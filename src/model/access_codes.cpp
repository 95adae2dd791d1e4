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

std::optional<TerminatorConflict> FindTerminatorConflict(const AccessCodes& codes)
{
    const Text& terminator = codes.current.at(kTerminatorCode);
    const Text& newTerminator = codes.next.at(kTerminatorCode);
    for (int code = 1; code < kTerminatorCode; ++code) {
        const Text& next = codes.next.at(code);
        if (!next.empty()) {
            if (HoldsTerminator(next, terminator))
                return TerminatorConflict{code, code, next, TerminatorDigit(terminator), true};
            if (HoldsTerminator(next, newTerminator))
                return TerminatorConflict{code, code, next, TerminatorDigit(newTerminator), false};
        } else if (HoldsTerminator(codes.current.at(code), newTerminator)) {
            return TerminatorConflict{code, kTerminatorCode, codes.current.at(code),
                                      TerminatorDigit(newTerminator), false};
        }
    }
    return std::nullopt;
}

} // namespace vm880
