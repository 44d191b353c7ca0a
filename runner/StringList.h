// TStringList: the runner's list of output lines.
//
// Thread-safe: every call is atomic on its own, and Snapshot gives a consistent copy. The
// lines are kept compactly, their bytes back to back in large blocks with one offset per
// line, so that a run with millions of short lines costs little more than its output.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <string_view>
#include <vector>

namespace marlovent {

class TStringList {
 public:
  int Count() const;
  std::string operator[](int Index) const;  // out of range: std::out_of_range
  std::string Text() const;                 // each line followed by "\r\n"
  std::vector<std::string> Snapshot() const;
  void Add(std::string S) { Append(S); }  // NOLINT(performance-unnecessary-value-param)
  void Append(std::string_view S);        // Add without the copy into a std::string
  void Clear();

 private:
  static constexpr std::size_t BlockSize = std::size_t{1} << 20;

  std::size_t EndOf(std::size_t Index) const;
  void CopyOut(std::size_t Begin, std::size_t End, std::string& To) const;

  mutable std::mutex FMutex;
  // All lines as one byte stream cut into blocks of BlockSize; line I spans
  // [FStarts[I], FStarts[I + 1]) of that stream, the last one up to FSize.
  std::vector<std::unique_ptr<char[]>> FBlocks;
  std::vector<std::uint64_t> FStarts;
  std::uint64_t FSize = 0;
};

}  // namespace marlovent
