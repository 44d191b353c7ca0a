#include "runner/StringList.h"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>

namespace marlovent {
namespace {

TEST(StringList, KeepsLinesInOrderWithTheirBytes) {
  TStringList Lines;
  const std::vector<std::string> Added{"a", "", std::string("nul\0in", 6), "\xe4\xb8\xad", ""};
  for (const auto& Line : Added) Lines.Add(Line);
  EXPECT_EQ(Lines.Count(), 5);
  EXPECT_EQ(Lines.Snapshot(), Added);
  EXPECT_EQ(Lines[2], Added[2]);
  EXPECT_EQ(Lines.Text(), std::string("a\r\n\r\nnul\0in\r\n\xe4\xb8\xad\r\n\r\n", 20));
  EXPECT_THROW(Lines[5], std::out_of_range);
  EXPECT_THROW(Lines[-1], std::out_of_range);
  Lines.Clear();
  EXPECT_EQ(Lines.Count(), 0);
  EXPECT_EQ(Lines.Text(), "");
}

TEST(StringList, LinesAcrossAndLargerThanItsBlocksComeBackWhole) {
  TStringList Lines;
  std::vector<std::string> Added;
  for (int I = 0; I < 3; ++I) {
    Added.push_back(std::string((1 << 20) + 123 * I, static_cast<char>('a' + I)));
    for (int J = 0; J < 1000; ++J) Added.push_back(std::to_string(J) + std::string(J % 97, 'x'));
  }
  for (const auto& Line : Added) Lines.Add(Line);
  EXPECT_EQ(Lines.Snapshot(), Added);
  EXPECT_EQ(Lines[1001], Added[1001]);
}

TEST(StringList, ReadersSeeAConsistentListWhileAWriterAdds) {
  TStringList Lines;
  std::atomic<bool> Done{false};
  std::thread Writer([&] {
    for (int I = 0; I < 20000; ++I) Lines.Add(std::to_string(I));
    Done = true;
  });
  int Faults = 0;
  while (!Done) {
    const auto Copy = Lines.Snapshot();
    for (std::size_t I = 0; I < Copy.size(); I += 997)
      if (Copy[I] != std::to_string(I)) ++Faults;
  }
  Writer.join();
  EXPECT_EQ(Faults, 0);
  EXPECT_EQ(Lines.Count(), 20000);
}

}  // namespace
}  // namespace marlovent
