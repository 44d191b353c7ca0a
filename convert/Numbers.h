// Reading the numbers the outside programs print, and rounding them to whole seconds.
//
// Numbers use "." as the decimal point whatever the locale. Pure functions; any thread.
#pragma once

#include <cstdint>
#include <optional>
#include <stdexcept>
#include <string_view>

namespace marlovent {

// A text that should have been a number and is not.
class EConvertError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// A decimal number ("12", "-3.5", " 7.25 ", "1e3"); blanks around it are allowed.
// Nothing for anything else, an empty text, infinity and NaN included.
std::optional<double> ParseDecimal(std::string_view Text);

// Value rounded to the nearest whole number, a tie going to the even neighbour (12.5 gives
// 12, 13.5 gives 14), saturated at the ends of the 32-bit range.
std::int32_t RoundHalfEven(double Value);

// Value cut toward zero, saturated at the ends of the 32-bit range.
std::int32_t Truncate(double Value);

}  // namespace marlovent
