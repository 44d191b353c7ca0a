#include "runner/StringList.h"

#include <algorithm>
#include <cstring>
#include <limits>
#include <stdexcept>

namespace marlovent {

int TStringList::Count() const {
  const std::lock_guard Lock(FMutex);
  return static_cast<int>(FStarts.size());
}

std::size_t TStringList::EndOf(std::size_t Index) const {
  return Index + 1 < FStarts.size() ? FStarts[Index + 1] : FSize;
}

void TStringList::CopyOut(std::size_t Begin, std::size_t End, std::string& To) const {
  while (Begin < End) {
    const std::size_t InBlock = Begin % BlockSize;
    const std::size_t Length = std::min(End - Begin, BlockSize - InBlock);
    To.append(FBlocks[Begin / BlockSize].get() + InBlock, Length);
    Begin += Length;
  }
}

std::string TStringList::operator[](int Index) const {
  const std::lock_guard Lock(FMutex);
  if (Index < 0 || static_cast<std::size_t>(Index) >= FStarts.size())
    throw std::out_of_range("TStringList index " + std::to_string(Index) + " out of range");
  std::string Line;
  const auto I = static_cast<std::size_t>(Index);
  Line.reserve(EndOf(I) - FStarts[I]);
  CopyOut(FStarts[I], EndOf(I), Line);
  return Line;
}

std::string TStringList::Text() const {
  const std::lock_guard Lock(FMutex);
  std::string Joined;
  Joined.reserve(FSize + 2 * FStarts.size());
  for (std::size_t I = 0; I < FStarts.size(); ++I) {
    CopyOut(FStarts[I], EndOf(I), Joined);
    Joined += "\r\n";
  }
  return Joined;
}

std::vector<std::string> TStringList::Snapshot() const {
  const std::lock_guard Lock(FMutex);
  std::vector<std::string> Copy(FStarts.size());
  for (std::size_t I = 0; I < FStarts.size(); ++I) {
    Copy[I].reserve(EndOf(I) - FStarts[I]);
    CopyOut(FStarts[I], EndOf(I), Copy[I]);
  }
  return Copy;
}

void TStringList::Append(std::string_view S) {
  const std::lock_guard Lock(FMutex);
  if (FStarts.size() >= static_cast<std::size_t>(std::numeric_limits<int>::max()))
    throw std::length_error("TStringList is full");
  FStarts.push_back(FSize);
  while (!S.empty()) {
    const std::size_t InBlock = FSize % BlockSize;
    if (InBlock == 0 && FSize / BlockSize == FBlocks.size())
      FBlocks.push_back(std::make_unique_for_overwrite<char[]>(BlockSize));
    const std::size_t Length = std::min(S.size(), BlockSize - InBlock);
    std::memcpy(FBlocks[FSize / BlockSize].get() + InBlock, S.data(), Length);
    FSize += Length;
    S.remove_prefix(Length);
  }
}

void TStringList::Clear() {
  const std::lock_guard Lock(FMutex);
  FBlocks.clear();
  FStarts.clear();
  FStarts.shrink_to_fit();
  FSize = 0;
}

}  // namespace marlovent
