// Splitting a command line into arguments, and quoting one argument for it.
//
// Command lines are written as one string (as on Windows) and are never handed to a shell.
// They are split by the Windows rules: blanks (space, tab) separate arguments, double quotes
// group, 2n backslashes before a quote give n backslashes and the quote toggles quoting,
// 2n+1 backslashes before a quote give n backslashes and a literal quote, and any other
// backslash is literal. QuoteArgument is the inverse: SplitCommandLine(QuoteArgument(s))
// gives back exactly {s}. Pure functions; any thread.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace marlovent::platform {

std::vector<std::string> SplitCommandLine(std::string_view CommandLine);

// Quotes S only when it needs it (empty, or holds a blank or a double quote).
std::string QuoteArgument(std::string_view S);

// Always puts S between double quotes, escaped the same way: a text without double quotes
// and backslashes reads "S".
std::string QuoteAlways(std::string_view S);

// QuoteArgument of each argument, joined by single spaces.
std::string JoinCommandLine(const std::vector<std::string>& Arguments);

}  // namespace marlovent::platform
