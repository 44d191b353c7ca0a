#include "convert/Progress.h"

#include "convert/Numbers.h"

namespace marlovent {
namespace {

constexpr std::string_view Opening = "ffmpeg_release_time=";
constexpr std::string_view Closing = "=ffmpeg_release_time";
constexpr std::string_view TimeField = "time=";

bool IsDigit(char C) {
  return C >= '0' && C <= '9';
}

// Reads digits at the front of Text into Value; at least Min of them, at most Max.
bool TakeDigits(std::string_view& Text, std::size_t Min, std::size_t Max, double& Value) {
  std::size_t Count = 0;
  Value = 0;
  while (Count < Text.size() && Count < Max && IsDigit(Text[Count]))
    Value = Value * 10 + (Text[Count++] - '0');
  Text.remove_prefix(Count);
  return Count >= Min;
}

bool Take(std::string_view& Text, char C) {
  if (Text.empty() || Text.front() != C) return false;
  Text.remove_prefix(1);
  return true;
}

// "H+:MM:SS[.fraction]"; a partial text such as "00:01:2" does not count, so that the
// unfinished beginning of a status line never moves the bar back.
std::optional<double> ClockSeconds(std::string_view Text) {
  double Hours = 0, Minutes = 0, Seconds = 0;
  if (!TakeDigits(Text, 1, 12, Hours) || !Take(Text, ':') || !TakeDigits(Text, 2, 2, Minutes) ||
      !Take(Text, ':') || !TakeDigits(Text, 2, 2, Seconds))
    return std::nullopt;
  double Total = Hours * 3600 + Minutes * 60 + Seconds;
  if (Take(Text, '.')) {
    double Scale = 0.1;
    while (!Text.empty() && IsDigit(Text.front())) {
      Total += (Text.front() - '0') * Scale;
      Scale /= 10;
      Text.remove_prefix(1);
    }
  }
  return Total;
}

// The first "time=" that starts a field, so that neither the marker nor another
// "..._time=" field is taken for it.
std::size_t FindTimeField(std::string_view Line) {
  for (std::size_t At = Line.find(TimeField); At != std::string_view::npos;
       At = Line.find(TimeField, At + 1)) {
    if (At == 0 || Line[At - 1] == ' ' || Line[At - 1] == '\t') return At;
  }
  return std::string_view::npos;
}

}  // namespace

TMarkerScan ScanMarker(std::string_view Line) {
  const std::size_t Open = Line.find(Opening);
  if (Open == std::string_view::npos) return {};
  const std::size_t From = Open + Opening.size();
  const std::size_t Close = Line.find(Closing, From);
  if (Close == std::string_view::npos) return {};
  TMarkerScan Scan;
  Scan.PairFound = true;
  if (const auto Value = ParseDecimal(Line.substr(From, Close - From)))
    Scan.Seconds = RoundHalfEven(*Value);
  return Scan;
}

std::optional<std::int32_t> StockTime(std::string_view Line) {
  const std::size_t At = FindTimeField(Line);
  if (At == std::string_view::npos) return std::nullopt;
  // "N/A" and a negative time ("-00:00:00.05") fail here and leave the bar alone.
  const auto Seconds = ClockSeconds(Line.substr(At + TimeField.size()));
  if (!Seconds) return std::nullopt;
  return RoundHalfEven(*Seconds);
}

std::optional<std::int32_t> TProgressReader::Read(std::string_view Line) {
  const TMarkerScan Marker = ScanMarker(Line);
  if (Marker.PairFound) {
    FMarkersSeen = true;
    return Marker.Seconds;
  }
  if (FMarkersSeen) return std::nullopt;
  return StockTime(Line);
}

}  // namespace marlovent
