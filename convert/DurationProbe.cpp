#include "convert/DurationProbe.h"

#include <string_view>

#include "convert/Numbers.h"
#include "platform/CommandLine.h"

namespace marlovent {
namespace {

constexpr std::string_view Answer = "id_length=";
constexpr std::size_t AnswerWindow = 20;

char Lower(char C) {
  return C >= 'A' && C <= 'Z' ? static_cast<char>(C - 'A' + 'a') : C;
}

}  // namespace

std::string ProbeCommandLine(const std::string& PlayerPath, const std::string& FileName) {
  // "2>&1 |grep ID_LENGTH" reach the player as three more arguments: no shell takes part,
  // and the probe does its own filtering.
  return platform::QuoteAlways(PlayerPath) + " -msglevel identify=6 -vo none -ao none " +
         platform::QuoteAlways(FileName) + " 2>&1 |grep ID_LENGTH";
}

std::optional<std::size_t> FindLengthAnswer(const std::string& Output) {
  if (Output.size() < Answer.size()) return std::nullopt;
  for (std::size_t At = 0; At + Answer.size() <= Output.size(); ++At) {
    std::size_t Matched = 0;
    while (Matched < Answer.size() && Lower(Output[At + Matched]) == Answer[Matched]) ++Matched;
    if (Matched == Answer.size()) return At;
  }
  return std::nullopt;
}

std::int32_t LengthAt(const std::string& Output, std::size_t Position) {
  const std::string_view Window =
      std::string_view(Output).substr(Position + Answer.size()).substr(0, AnswerWindow);
  std::string Number;
  for (const char C : Window) {
    if (C == '\r' || C == '\n') break;
    if ((C >= '0' && C <= '9') || C == '.') Number += C;
  }
  if (Number.empty()) return 0;
  // A lone point reads as 0.
  if (Number == ".") return 0;
  const auto Value = ParseDecimal(Number);
  if (!Value) throw EConvertError("'" + Number + "' is not a valid floating point value");
  return Truncate(*Value);
}

}  // namespace marlovent
