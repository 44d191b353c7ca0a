#include "convert/RunVerdict.h"

#include "convert/Progress.h"

namespace marlovent {
namespace {

bool IsBlank(const std::string& Line) {
  return Line.find_first_not_of(" \t") == std::string::npos;
}

bool IsProgress(const std::string& Line) {
  return ScanMarker(Line).PairFound || StockTime(Line).has_value();
}

// ffmpeg closes most failures with this line; the reason stands before it.
bool IsGenericEnd(const std::string& Line) {
  return Line.rfind("Conversion failed!", 0) == 0;
}

std::string EndText(const std::optional<int>& ExitCode) {
  if (!ExitCode) return "编码器没有正常结束";
  if (*ExitCode > 128 && *ExitCode <= 128 + 64)
    return "编码器被信号 " + std::to_string(*ExitCode - 128) + " 终止";
  return "编码器退出代码 " + std::to_string(*ExitCode);
}

}  // namespace

std::optional<std::string> RunFailure(const std::optional<int>& ExitCode,
                                      const std::string& RunError,
                                      const std::vector<std::string>& Lines) {
  if (ExitCode == 0 && RunError.empty()) return std::nullopt;
  if (!RunError.empty()) return RunError;
  for (auto Line = Lines.rbegin(); Line != Lines.rend(); ++Line) {
    if (IsBlank(*Line) || IsGenericEnd(*Line)) continue;
    if (IsProgress(*Line)) break;
    return *Line;
  }
  return EndText(ExitCode);
}

}  // namespace marlovent
