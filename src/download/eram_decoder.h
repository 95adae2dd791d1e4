#pragma once
// DecodeEram: the controller's main memory image (a text file of one "address,value" line per
// byte, positions 0 to 4057) decoded into the configuration model, ready to be saved as a
// settings file.

#include "download/decode_notes.h"
#include "model/config_model.h"
#include "model/error_report.h"

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace vm880 {

class Prompts;

// A line of the image that cannot be read: carries the position, so that the report can name
// the section it belongs to.
class ImageError : public SystemError {
public:
    ImageError(int number, const std::string& description, int position)
        : SystemError(number, description), position_(position) {}
    int position() const { return position_; }

private:
    int position_;
};

// The bytes of positions 0 to 4057 from the image text. The value of a line is the text after
// its first comma (the whole line without one), a decimal number from 0 to 255 with blanks
// around it allowed; lines end with CR LF, LF or CR; lines after position 4057 are not read.
// Throws SystemError naming the line and its section when the text ends early, when a value
// is not such a number, or when a line is too long to be one.
std::vector<std::uint8_t> ParseMemoryImage(std::string_view text);

// The same, read from a file; a missing or unreadable file throws SystemError too.
std::vector<std::uint8_t> ReadMemoryImage(const std::string& path);

// Fills every setting the layout names from `image` (exactly kMemoryImageSize bytes) and
// nothing else. Values that cannot be stored as they are (characters that a settings file
// cannot hold, set points outside the settings' range) are replaced and listed in `notes`.
void DecodeImage(std::span<const std::uint8_t> image, ConfigModel& model, DecodeNotes& notes);

// The frame: shows the wait window, creates (or empties) `eraFilePath` when one is given,
// reads and checks the whole image before the model is touched, decodes it and tells the
// operator about replaced values. A failure is reported with the section being read and
// leaves the model as it was. Returns kDone or kFailed.
int DecodeEram(ConfigModel& model, Prompts& prompts, const std::string& imagePath,
               const std::string& eraFilePath = {});
// The same for an image already read and checked: the import decodes what it checked.
int DecodeEramImage(ConfigModel& model, Prompts& prompts, std::span<const std::uint8_t> image,
                    const std::string& eraFilePath = {});

// The value of a packed float (byte 1 read first): sign, 8 exponent bits and 23 fraction
// bits, as the controller packs them. Exponent 0 gives the fraction without a leading one
// scaled by 2^-127; exponent 255 has no special meaning. Computed in double precision, so no
// exponent overflows.
double BytesToSingle(const std::array<std::uint8_t, 4>& bytes);

// A set point in hundredths from its four bytes: "0" for four bytes of 255, else the value
// times 100 rounded half to even, "A" in front when negative. Nothing when the result lies
// outside -35000..35000.
std::optional<std::string> SetPointText(const std::array<std::uint8_t, 4>& bytes);

// The DTMF digits of a macro recall code: for each character (byte) in order its low four
// bits, then its high four bits, as DTMF digit codes 1 to 15; 0 gives no digit.
std::string DecodeMacroCode(std::string_view packed);

} // namespace vm880
