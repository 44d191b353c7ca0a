// Making sure the output folder exists before a batch: every missing level of its path is
// created from the top down.
//
// CreateDirChain leaves an existing folder alone. When a level cannot be created it
// reports "建立目录：" + Path + "出错！" + CR LF CR LF + "请检查目录名是否正确。" through
// ShowError and then raises the same failure (platform::EInOutError) again; the levels
// made before it stay. Interface thread (ShowError shows a modal box).
#pragma once

#include <functional>
#include <string>
#include <vector>

namespace marlovent {

using TShowErrorEvent = std::function<void(const std::string& Message)>;

// The levels of Path from the top down, split at "/": the prefix before each "/" and then
// the whole path. A leading "/" gives an empty first level, which stands for the root.
std::vector<std::string> DirChain(const std::string& Path);

// The message shown when Path cannot be created.
std::string DirChainFailureMessage(const std::string& Path);

void CreateDirChain(const std::string& Path, const TShowErrorEvent& ShowError);

}  // namespace marlovent
