#include "convert/Numbers.h"

#include <charconv>
#include <cmath>
#include <limits>

namespace marlovent {
namespace {

std::string_view Trimmed(std::string_view Text) {
  const auto IsBlank = [](char C) { return C == ' ' || C == '\t'; };
  while (!Text.empty() && IsBlank(Text.front())) Text.remove_prefix(1);
  while (!Text.empty() && IsBlank(Text.back())) Text.remove_suffix(1);
  return Text;
}

std::int32_t Saturated(double Whole) {
  constexpr double Low = std::numeric_limits<std::int32_t>::min();
  constexpr double High = std::numeric_limits<std::int32_t>::max();
  if (Whole <= Low) return std::numeric_limits<std::int32_t>::min();
  if (Whole >= High) return std::numeric_limits<std::int32_t>::max();
  return static_cast<std::int32_t>(Whole);
}

}  // namespace

std::optional<double> ParseDecimal(std::string_view Text) {
  Text = Trimmed(Text);
  if (!Text.empty() && Text.front() == '+') Text.remove_prefix(1);
  if (Text.empty()) return std::nullopt;
  double Value = 0;
  const char* const End = Text.data() + Text.size();
  const auto [Stop, Error] = std::from_chars(Text.data(), End, Value);
  if (Error != std::errc() || Stop != End || !std::isfinite(Value)) return std::nullopt;
  return Value;
}

std::int32_t RoundHalfEven(double Value) {
  // The default rounding mode rounds to nearest, ties to even.
  return Saturated(std::nearbyint(Value));
}

std::int32_t Truncate(double Value) {
  return Saturated(std::trunc(Value));
}

}  // namespace marlovent
