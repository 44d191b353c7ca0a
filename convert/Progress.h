// Reading the encoder's progress from its output lines.
//
// The encoder build the program ships with prints "ffmpeg_release_time=" SECONDS
// "=ffmpeg_release_time"; a stock ffmpeg prints its status line "... time=HH:MM:SS.cc ...".
// Both give the encoded time in whole seconds, rounded half to even.
// The free functions are pure (any thread). A TProgressReader belongs to one encoder run:
// the runner's worker reads with it, and the interface thread resets it between runs.
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

namespace marlovent {

struct TMarkerScan {
  bool PairFound = false;               // an opening marker with a closing one behind it
  std::optional<std::int32_t> Seconds;  // the first pair's time; empty when not a number
};

// The first marker pair of Line.
TMarkerScan ScanMarker(std::string_view Line);

// The time of a stock status line ("time=00:01:02.50" gives 62); nothing for a line
// without one, "time=N/A" and a negative time.
std::optional<std::int32_t> StockTime(std::string_view Line);

class TProgressReader {
 public:
  // Forgets what the last run showed.
  void Reset() { FMarkersSeen = false; }
  // The position a line moves the bar to, or nothing. Once a marker pair has been seen,
  // only marker pairs count for the rest of the run.
  std::optional<std::int32_t> Read(std::string_view Line);

 private:
  bool FMarkersSeen = false;
};

}  // namespace marlovent
