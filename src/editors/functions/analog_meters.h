#pragma once
// The Analog editor's own rules: the scaling fields of a meter with the names their warnings
// use, the change flag of each meter (the reference voltage has element 9 of the meters'
// flags), and the trip value of a meter alarm: how typed text is kept and when it is refused.

#include "model/config_model.h"

#include <array>
#include <optional>
#include <string>
#include <string_view>

namespace vm880 {

inline constexpr int kMeterCount = 8;
inline constexpr int kMeterAlarmCount = 8;
// `MeterChanged` element of the reference voltage; elements 1..8 are the meters'.
inline constexpr int kVrefFlagElement = 9;

// Fields 1..4: a meter's scaling, 0..32767 each. Field k sits at row k - 1.
struct MeterField {
    int number;
    const char* control; // control array, index = meter
    TextArray<kMeterCount> ConfigModel::*value;
    const char* name;    // the warning's title and the start of its text
};
inline constexpr int kMeterValueHi = 32767;
extern const std::array<MeterField, 4> kMeterFields;

// Field 5, the reference voltage, 0..520.
inline constexpr int kVrefField = 5;
inline constexpr int kVrefHi = 520;
inline constexpr const char* kVrefName = "VREF";

// Field 6, the trip value of the meter alarm shown.
inline constexpr int kTripValueField = 6;
inline constexpr const char* kTripValueTitle = "Meter Trip Value";

// The trip value as the working copy keeps what was typed: without blanks at either end, a
// minus sign written as "A" and in capitals, so "-250" and "a250" are both kept as "A250".
Text TripValueEntered(std::string_view typed);

// The warning for a trip value that is not 0..35000 with an optional leading "A"; nothing when
// it passes.
std::optional<std::string> TripValueRefusal(std::string_view value);

} // namespace vm880
