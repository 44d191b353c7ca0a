#include "platform/CommandLine.h"

namespace marlovent::platform {

namespace {

bool IsBlank(char C) {
  return C == ' ' || C == '\t';
}

}  // namespace

std::vector<std::string> SplitCommandLine(std::string_view CommandLine) {
  std::vector<std::string> Arguments;
  std::size_t I = 0;
  const std::size_t N = CommandLine.size();
  while (true) {
    while (I < N && IsBlank(CommandLine[I])) ++I;
    if (I >= N) break;
    std::string Argument;
    bool Quoted = false;
    while (I < N && (Quoted || !IsBlank(CommandLine[I]))) {
      const char C = CommandLine[I];
      if (C == '\\') {
        std::size_t Backslashes = 0;
        while (I < N && CommandLine[I] == '\\') {
          ++Backslashes;
          ++I;
        }
        if (I < N && CommandLine[I] == '"') {
          Argument.append(Backslashes / 2, '\\');
          if (Backslashes % 2 == 1) {
            Argument.push_back('"');
            ++I;
          }
          // An even count leaves the quote to toggle quoting on the next pass.
        } else {
          Argument.append(Backslashes, '\\');
        }
      } else if (C == '"') {
        Quoted = !Quoted;
        ++I;
      } else {
        Argument.push_back(C);
        ++I;
      }
    }
    Arguments.push_back(std::move(Argument));
  }
  return Arguments;
}

std::string QuoteArgument(std::string_view S) {
  if (!S.empty() && S.find_first_of(" \t\"") == std::string_view::npos) return std::string(S);
  return QuoteAlways(S);
}

std::string QuoteAlways(std::string_view S) {
  std::string Quoted = "\"";
  std::size_t Backslashes = 0;
  for (const char C : S) {
    if (C == '\\') {
      ++Backslashes;
      continue;
    }
    if (C == '"') {
      // Backslashes before a literal quote are doubled, and the quote gets one more.
      Quoted.append(2 * Backslashes + 1, '\\');
    } else {
      Quoted.append(Backslashes, '\\');
    }
    Backslashes = 0;
    Quoted.push_back(C);
  }
  // Backslashes before the closing quote are doubled so that they stay literal.
  Quoted.append(2 * Backslashes, '\\');
  Quoted.push_back('"');
  return Quoted;
}

std::string JoinCommandLine(const std::vector<std::string>& Arguments) {
  std::string Line;
  for (const auto& Argument : Arguments) {
    if (!Line.empty()) Line.push_back(' ');
    Line += QuoteArgument(Argument);
  }
  return Line;
}

}  // namespace marlovent::platform
