#include "platform/FileSystem.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <string_view>

namespace marlovent::platform {
namespace {

bool IsExecutableFile(const std::string& Path) {
  struct stat Info {};
  return ::stat(Path.c_str(), &Info) == 0 && S_ISREG(Info.st_mode) &&
         ::access(Path.c_str(), X_OK) == 0;
}

std::string OnPath(const std::string& Name) {
  const char* Path = std::getenv("PATH");
  if (!Path) return {};
  std::string_view Rest(Path);
  while (true) {
    const std::size_t Colon = Rest.find(':');
    const std::string_view Dir = Rest.substr(0, Colon);
    // An empty entry would mean the working folder, which is no place to look for tools.
    if (!Dir.empty()) {
      std::string Candidate(Dir);
      if (Candidate.back() != '/') Candidate += '/';
      Candidate += Name;
      if (IsExecutableFile(Candidate)) return Candidate;
    }
    if (Colon == std::string_view::npos) return {};
    Rest.remove_prefix(Colon + 1);
  }
}

}  // namespace

bool DirectoryExists(const std::string& Path) {
  struct stat Info {};
  return ::stat(Path.c_str(), &Info) == 0 && S_ISDIR(Info.st_mode);
}

void CreateDirectory(const std::string& Path) {
  if (::mkdir(Path.c_str(), 0777) == 0) return;
  const int Error = errno;
  throw EInOutError("I/O error " + std::to_string(Error) + ": " + std::strerror(Error), Error);
}

bool RemoveFile(const std::string& Path) {
  return ::unlink(Path.c_str()) == 0;
}

std::string FindProgram(const std::string& Dir, const std::string& Name) {
  std::string Own = Dir + Name;
  if (IsExecutableFile(Own)) return Own;
  std::string Found = OnPath(Name);
  return Found.empty() ? Own : Found;
}

}  // namespace marlovent::platform
