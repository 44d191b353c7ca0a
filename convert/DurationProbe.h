// The duration probe's command line and the reading of the player's answer.
//
// The player (mplayer in identify mode) prints "ID_LENGTH=" and the source's length in
// seconds; the probe searches the collected output for it without regard to letter case.
// Pure functions; any thread.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

namespace marlovent {

// The player's command line for FileName. Each path is one quoted argument, escaped so
// that a double quote or backslashes in it stay inside it.
std::string ProbeCommandLine(const std::string& PlayerPath, const std::string& FileName);

// Where the first "id_length=" (any letter case) starts in Output, or nothing.
std::optional<std::size_t> FindLengthAnswer(const std::string& Output);

// The whole seconds of the answer found at Position: of the 20 characters behind
// "id_length=", the digits and points up to a line end make the number, which is cut
// toward zero; 0 when there is none. Throws EConvertError when they make no number
// (two points, as in "1.2.3").
std::int32_t LengthAt(const std::string& Output, std::size_t Position);

}  // namespace marlovent
