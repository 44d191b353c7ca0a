#include "convert/DirChain.h"

#include "platform/FileSystem.h"

namespace marlovent {
namespace {

// The empty level before a leading "/" is the root, which always exists.
bool LevelExists(const std::string& Level) {
  return platform::DirectoryExists(Level.empty() ? std::string("/") : Level);
}

}  // namespace

std::vector<std::string> DirChain(const std::string& Path) {
  std::vector<std::string> Chain;
  for (std::size_t At = Path.find('/'); At != std::string::npos; At = Path.find('/', At + 1))
    Chain.push_back(Path.substr(0, At));
  Chain.push_back(Path);
  return Chain;
}

std::string DirChainFailureMessage(const std::string& Path) {
  return "建立目录：" + Path + "出错！\r\n\r\n请检查目录名是否正确。";
}

void CreateDirChain(const std::string& Path, const TShowErrorEvent& ShowError) {
  if (platform::DirectoryExists(Path)) return;
  try {
    for (const std::string& Level : DirChain(Path))
      if (!LevelExists(Level)) platform::CreateDirectory(Level);
  } catch (const platform::EInOutError&) {
    if (ShowError) ShowError(DirChainFailureMessage(Path));
    throw;
  }
}

}  // namespace marlovent
