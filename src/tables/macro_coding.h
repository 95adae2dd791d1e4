#pragma once
// How the controller stores a macro: each function code is k bytes of 255 followed by one
// byte code - 255k (k from 0 to 3, the last byte 1 to 254), and a 0 byte ends the macro.
// Codes 1-254 take one byte, 256-509 two, 511-764 three, 766-1019 four; multiples of 255 have
// no form. A long macro lives in a 16-byte slot and a short one in a 5-byte slot, the ending 0
// included, so their codes may take at most 15 and 4 bytes.
//
// The byte count of the macro rules, the memory-image decoder and the test encoder all go
// through this one coding.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace vm880 {

inline constexpr std::size_t kLongMacroSlotBytes = 16;
inline constexpr std::size_t kShortMacroSlotBytes = 5;
inline constexpr int kLongMacroByteLimit = 15;
inline constexpr int kShortMacroByteLimit = 4;
inline constexpr int kMaxMacroCode = 1019; // three bytes of 255 and 254

// The controller bytes a number costs in a macro. For every code that has a form this is the
// length of that form. The rest are charged as the controller's limits charge them: 255, 510
// and 765 like the codes just below them, and 0, negatives and anything above 1019 four bytes.
int MacroCodeByteCount(long long code);

// The bytes of one code; empty when the code has no form (below 1, above 1019, or a multiple
// of 255).
std::vector<std::uint8_t> EncodeMacroCode(long long code);

// The bytes of a macro text's codes, without the ending 0. "NONE STORED" and a text of blanks
// give no bytes. Empty tokens (doubled blanks) are skipped. Nothing when a token is not a run
// of digits or its code has no form.
std::optional<std::vector<std::uint8_t>> EncodeMacroText(std::string_view text);

// A whole memory slot: the codes' bytes, the ending 0 and zero padding up to slotBytes.
// Nothing when the text cannot be encoded or its codes leave no room for the ending 0.
std::optional<std::vector<std::uint8_t>> EncodeMacroSlot(std::string_view text,
                                                         std::size_t slotBytes);

// The macro text of a memory slot: codes as three digits with leading zeros joined by single
// blanks, "NONE STORED" when there is none. Reads only inside the slot: a slot without a 0
// ends at its last byte. A 0 ends the macro wherever it stands, also right after a 255; a
// code cut short by that 0 or by the slot's end keeps the sum read so far (255, 510 or 765),
// which names no function, so the settings-file checks reject the macro rather than it being
// shortened silently. After three bytes of 255 the fourth byte is always the last of the code.
std::string DecodeMacroSlot(std::span<const std::uint8_t> slot);

// A function code as a macro text writes it: at least three digits, leading zeros ("007").
std::string FormatMacroCode(long long code);

} // namespace vm880
