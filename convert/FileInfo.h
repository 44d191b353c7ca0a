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
  std::string FailReason;     // why its last conversion failed; empty when it did not
};

using TFileList = std::vector<std::unique_ptr<TFileInfo>>;

// The statuses an entry shows.
inline constexpr const char* StatusReady = "准备就绪";
inline constexpr const char* StatusDone = "完成";
inline constexpr const char* StatusFailed = "失败";

}  // namespace marlovent
