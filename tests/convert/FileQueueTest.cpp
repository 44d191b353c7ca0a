// The queue's operations on their own.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "convert/FileQueue.h"

namespace marlovent {
namespace {

TFileList Queue(const std::vector<std::string>& Names) {
  TFileList List;
  for (const auto& Name : Names) {
    auto Entry = std::make_unique<TFileInfo>();
    Entry->FileName = Name;
    List.push_back(std::move(Entry));
  }
  return List;
}

std::vector<std::string> Names(const TFileList& List) {
  std::vector<std::string> Result;
  for (const auto& Entry : List) Result.push_back(Entry->FileName);
  return Result;
}

TEST(FileQueue, IndexOutsideTheQueueIsTheListIndexError) {
  TFileList List = Queue({"a", "b"});
  EXPECT_EQ(EntryAt(List, 1).FileName, "b");
  for (const int Index : {-1, 2, 1000}) {
    try {
      EntryAt(List, Index);
      FAIL() << Index;
    } catch (const EListError& Error) {
      EXPECT_EQ(Error.what(), "List index out of bounds (" + std::to_string(Index) + ")");
    }
  }
  EXPECT_THROW(DeleteEntry(List, 2), EListError);
  EXPECT_THROW(MoveEntry(List, 0, 2), EListError);
  EXPECT_EQ(Names(List), (std::vector<std::string>{"a", "b"}));
}

TEST(FileQueue, DeleteAndMoveKeepTheOthersInOrder) {
  TFileList List = Queue({"a", "b", "c", "d"});
  const TFileInfo* C = List[2].get();
  MoveEntry(List, 2, 1);
  EXPECT_EQ(Names(List), (std::vector<std::string>{"a", "c", "b", "d"}));
  EXPECT_EQ(List[1].get(), C);  // the record itself moves, not a copy
  MoveEntry(List, 1, 2);
  EXPECT_EQ(Names(List), (std::vector<std::string>{"a", "b", "c", "d"}));
  DeleteEntry(List, 1);
  EXPECT_EQ(Names(List), (std::vector<std::string>{"a", "c", "d"}));
  DeleteEntry(List, 2);
  EXPECT_EQ(Names(List), (std::vector<std::string>{"a", "c"}));
}

}  // namespace
}  // namespace marlovent
