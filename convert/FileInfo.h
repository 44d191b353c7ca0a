// TFileInfo: one source file waiting in the queue, and the queue itself.
//
// The queue (TFileList) owns its records: a record goes when it leaves the queue. The
// main window owns the queue. Interface thread only.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace marlovent {

struct TFileInfo {
  std::int32_t Duration = 0;  // whole seconds; 0 when no length was found
  std::string Status;         // the text of the list's second column
  std::string FileName;       // the source's full path
};

using TFileList = std::vector<std::unique_ptr<TFileInfo>>;

}  // namespace marlovent
