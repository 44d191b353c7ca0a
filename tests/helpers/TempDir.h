// TTempDir: a fresh folder under /tmp for one test, removed with everything in it when the
// test ends (also folders the test made read-only). Throws when it cannot be made.
#pragma once

#include <stdlib.h>

#include <filesystem>
#include <stdexcept>
#include <string>

namespace marlovent::testing {

class TTempDir {
 public:
  explicit TTempDir(const std::string& Name) {
    std::string Template = "/tmp/marlovent-" + Name + "-XXXXXX";
    if (!::mkdtemp(Template.data())) throw std::runtime_error("mkdtemp failed for " + Template);
    FPath = Template;
  }
  ~TTempDir() {
    namespace fs = std::filesystem;
    std::error_code Ignored;
    for (auto At = fs::recursive_directory_iterator(FPath, Ignored);
         At != fs::recursive_directory_iterator(); At.increment(Ignored))
      if (At->is_directory(Ignored) && !At->is_symlink(Ignored))
        fs::permissions(At->path(), fs::perms::owner_all, fs::perm_options::add, Ignored);
    fs::permissions(FPath, fs::perms::owner_all, fs::perm_options::add, Ignored);
    fs::remove_all(FPath, Ignored);
  }
  TTempDir(const TTempDir&) = delete;
  TTempDir& operator=(const TTempDir&) = delete;

  const std::string& Path() const { return FPath; }

 private:
  std::string FPath;
};

}  // namespace marlovent::testing
