#pragma once
// The rule every new access code meets, wherever it comes from: a pending code read from the
// settings file, and the unlock window's Send and Save. Over the radio link each code is
// keyed with a terminator digit behind it: the one in force or the new one, depending on the
// order of the commands. The controller ends a command at the first terminator digit it
// hears, so a code holding one would be cut short, the controller would keep another code
// than the one recorded, and the operator could be locked out of the port.

#include "base/types.h"

#include <array>
#include <vector>

namespace vm880 {

struct ConfigModel;

// The codes in the order of the unlock window's boxes: 1 to 3 the ports' unlock codes, then
// the lock code and the terminator.
inline constexpr int kLockCode = 4;
inline constexpr int kTerminatorCode = 5;
inline constexpr int kAccessCodeCount = 5;

struct AccessCodes {
    std::array<Text, kAccessCodeCount + 1> current; // [1..5]: the codes in force
    std::array<Text, kAccessCodeCount + 1> next;    // [1..5]: the new codes; empty for none
};

// The codes of the model, current and new.
AccessCodes AccessCodesOf(const ConfigModel& model);

// A new code that breaks the rule.
struct TerminatorConflict {
    int code = 0;    // the unlock or lock code (1..4) that holds the digit
    int pending = 0; // the new code at fault: `code` itself, or the new terminator
    Text text;       // the code that holds the digit
    Text digit;      // the terminator digit it holds
    bool inForce = false; // the digit is the terminator in force (else the new one)
};

// The new codes the rule takes away, so that all that is left can be sent. A new unlock or
// lock code may hold neither the terminator in force nor the new terminator. The new
// terminator is judged first, since it decides what the new codes live with: it goes when a
// code that stays in force beside it holds it (a code with no new code, or one whose new code
// holds a terminator digit itself); a code replaced by the same change is no matter. Then a
// new code goes only when it holds the terminator in force, or the new terminator if that
// stays. Listed in that order, codes in port order and then the lock code; empty when every
// new code may be taken. Codes in force that hold the terminator in force, with no new
// terminator, are no matter of new codes.
std::vector<TerminatorConflict> TerminatorConflicts(const AccessCodes& codes);

} // namespace vm880
