#include "convert/FileQueue.h"

#include <algorithm>
#include <string>

namespace marlovent {
namespace {

std::size_t Checked(const TFileList& List, int Index) {
  if (Index < 0 || static_cast<std::size_t>(Index) >= List.size()) throw ListIndexError(Index);
  return static_cast<std::size_t>(Index);
}

}  // namespace

EListError ListIndexError(int Index) {
  return EListError("List index out of bounds (" + std::to_string(Index) + ")");
}

TFileInfo& EntryAt(TFileList& List, int Index) {
  return *List[Checked(List, Index)];
}

void DeleteEntry(TFileList& List, int Index) {
  List.erase(List.begin() + static_cast<std::ptrdiff_t>(Checked(List, Index)));
}

void MoveEntry(TFileList& List, int From, int To) {
  const auto First = List.begin();
  const auto Source = First + static_cast<std::ptrdiff_t>(Checked(List, From));
  const auto Target = First + static_cast<std::ptrdiff_t>(Checked(List, To));
  if (Source < Target)
    std::rotate(Source, Source + 1, Target + 1);
  else
    std::rotate(Target, Source, Source + 1);
}

}  // namespace marlovent
