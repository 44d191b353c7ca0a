// The queue's operations: reach an entry, delete one, move one.
//
// Indices count from 0. An index outside the queue raises EListError, the queue's index
// error. The queue owns its records; a deleted record is freed. Interface thread only,
// like the queue itself.
#pragma once

#include <stdexcept>

#include "convert/FileInfo.h"

namespace marlovent {

class EListError : public std::out_of_range {
 public:
  using std::out_of_range::out_of_range;
};

// The queue's index error for Index: "List index out of bounds (Index)".
EListError ListIndexError(int Index);

// The entry at Index; ListIndexError outside the queue.
TFileInfo& EntryAt(TFileList& List, int Index);

// Removes and frees the entry at Index; the entries behind it move up one place.
void DeleteEntry(TFileList& List, int Index);

// Moves the entry at From to To, the others keeping their order (for neighbours, a swap).
void MoveEntry(TFileList& List, int From, int To);

}  // namespace marlovent
