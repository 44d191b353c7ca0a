// Creating the output folder level by level, on a temporary tree.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "convert/DirChain.h"
#include "platform/FileSystem.h"
#include "tests/helpers/TempDir.h"

namespace marlovent {
namespace {

namespace fs = std::filesystem;

class DirChainTest : public ::testing::Test {
 protected:
  // Runs CreateDirChain and keeps what it showed.
  void Create(const std::string& Path) {
    CreateDirChain(Path, [this](const std::string& Message) { Shown.push_back(Message); });
  }
  testing::TTempDir Temp{"dirchain"};
  const std::string Root = Temp.Path();
  std::vector<std::string> Shown;
};

TEST(DirChain, LevelsFromTheTopDown) {
  using Levels = std::vector<std::string>;
  EXPECT_EQ(DirChain("/out/a/b/"), (Levels{"", "/out", "/out/a", "/out/a/b", "/out/a/b/"}));
  EXPECT_EQ(DirChain("out/a"), (Levels{"out", "out/a"}));
  EXPECT_EQ(DirChain("/"), (Levels{"", "/"}));
}

TEST_F(DirChainTest, ExistingFoldersAreLeftAlone) {
  for (const std::string& Path : {Root, Root + "/", std::string("/")}) {
    EXPECT_NO_THROW(Create(Path));
  }
  EXPECT_TRUE(Shown.empty());
}

TEST_F(DirChainTest, MissingLevelsAreCreatedTopDown) {
  const std::string Path = Root + "/新 建/two levels/";
  Create(Path);
  EXPECT_TRUE(fs::is_directory(Root + "/新 建/two levels"));
  EXPECT_TRUE(Shown.empty());
  // A second call finds it there.
  EXPECT_NO_THROW(Create(Path));
}

TEST_F(DirChainTest, ALevelThatIsAPlainFileFails) {
  std::ofstream(Root + "/file") << "x";
  const std::string Path = Root + "/file/sub/";
  EXPECT_THROW(Create(Path), platform::EInOutError);
  ASSERT_EQ(Shown.size(), 1u);
  EXPECT_EQ(Shown[0], "建立目录：" + Path + "出错！\r\n\r\n请检查目录名是否正确。");
}

// The user the test runs as must not be able to write into the locked folder; the
// superuser can, so it acts as "nobody" for the call.
class TActAsNobody {
 public:
  TActAsNobody() : FWasRoot(::geteuid() == 0) {
    if (FWasRoot && ::seteuid(65534) != 0) ADD_FAILURE() << "seteuid failed";
  }
  ~TActAsNobody() {
    if (FWasRoot && ::seteuid(0) != 0) ADD_FAILURE() << "seteuid back failed";
  }

 private:
  bool FWasRoot;
};

TEST_F(DirChainTest, AnUnwritableParentFailsWithTheMessageAndTheSameError) {
  fs::permissions(Root, fs::perms::all);
  const std::string Locked = Root + "/locked";
  fs::create_directory(Locked);
  fs::permissions(Locked, fs::perms::owner_read | fs::perms::owner_exec | fs::perms::others_read |
                              fs::perms::others_exec);
  const std::string Path = Locked + "/c/d/";
  int Code = 0;
  {
    TActAsNobody Nobody;
    try {
      Create(Path);
    } catch (const platform::EInOutError& Error) {
      Code = Error.ErrorCode();
    }
  }
  EXPECT_EQ(Code, EACCES);
  ASSERT_EQ(Shown.size(), 1u);
  EXPECT_EQ(Shown[0], "建立目录：" + Path + "出错！\r\n\r\n请检查目录名是否正确。");
  EXPECT_FALSE(fs::exists(Locked + "/c"));
}

TEST_F(DirChainTest, AFailureAtTheThirdLevelKeepsTheFirstTwo) {
  const std::string Path = Root + "/one/two/" + std::string(300, 'x') + "/";
  try {
    Create(Path);
    FAIL() << "no exception";
  } catch (const platform::EInOutError& Error) {
    EXPECT_EQ(Error.ErrorCode(), ENAMETOOLONG);
  }
  EXPECT_EQ(Shown.size(), 1u);
  EXPECT_TRUE(fs::is_directory(Root + "/one/two"));
}

}  // namespace
}  // namespace marlovent
