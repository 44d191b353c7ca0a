// The test suite's stand-in for the encoder and the player. Linked into a folder as
// "ffmpeg" and "mplayer", it acts as the name it was started under, and the source file
// it is given says what it does: each line "TOOL: STEP" is a step for that tool.
//   say TEXT    write TEXT and a line feed (escapes: \r \n \\)
//   put TEXT    write TEXT alone (same escapes)
//   sleep MS    pause MS milliseconds
//   hang        wait until killed
//   exit CODE   end with CODE at once
// Every start appends its arguments to "calls.log" in its own folder: one line per start,
// the arguments separated by \x1f. The encoder creates its output file (its last argument)
// at the start with "partial\n" and adds "complete\n" when it ends with 0.
// A source that cannot be read makes either tool say so and end with 1.
#include <fcntl.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

namespace {

void Write(int Fd, const std::string& Text) {
  std::size_t Done = 0;
  while (Done < Text.size()) {
    const ssize_t Count = ::write(Fd, Text.data() + Done, Text.size() - Done);
    if (Count <= 0) std::_Exit(98);
    Done += static_cast<std::size_t>(Count);
  }
}

std::string Unescaped(const std::string& Text) {
  std::string Out;
  for (std::size_t I = 0; I < Text.size(); ++I) {
    if (Text[I] != '\\' || I + 1 == Text.size()) {
      Out += Text[I];
      continue;
    }
    const char Next = Text[++I];
    Out += Next == 'r' ? '\r' : Next == 'n' ? '\n' : Next;
  }
  return Out;
}

std::string FolderOf(const std::string& Path) {
  const std::size_t Slash = Path.rfind('/');
  return Slash == std::string::npos ? std::string("./") : Path.substr(0, Slash + 1);
}

void Log(const std::vector<std::string>& Arguments) {
  std::string Line;
  for (std::size_t I = 0; I < Arguments.size(); ++I) Line += (I ? "\x1f" : "") + Arguments[I];
  const int Fd = ::open((FolderOf(Arguments[0]) + "calls.log").c_str(),
                        O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0644);
  if (Fd < 0) std::_Exit(97);
  Write(Fd, Line + "\n");
  ::close(Fd);
}

std::string SourceOf(const std::vector<std::string>& Arguments, bool Encoder) {
  if (!Encoder) return Arguments.size() > 7 ? Arguments[7] : std::string();
  for (std::size_t I = 1; I + 1 < Arguments.size(); ++I)
    if (Arguments[I] == "-i") return Arguments[I + 1];
  return {};
}

void Step(const std::string& Command, const std::string& Argument) {
  if (Command == "say") Write(1, Unescaped(Argument) + "\n");
  if (Command == "put") Write(1, Unescaped(Argument));
  if (Command == "sleep")
    std::this_thread::sleep_for(std::chrono::milliseconds(std::atoi(Argument.c_str())));
  if (Command == "hang")
    while (true) ::pause();
  if (Command == "exit") std::_Exit(std::atoi(Argument.c_str()));
}

}  // namespace

int main(int Argc, char** Argv) {
  const std::vector<std::string> Arguments(Argv, Argv + Argc);
  Log(Arguments);
  const std::string Name = Arguments[0].substr(FolderOf(Arguments[0]).size());
  const bool Encoder = Name == "ffmpeg";
  const std::string Source = SourceOf(Arguments, Encoder);
  std::ifstream Script(Source);
  if (!Script) {
    Write(1, Source + ": No such file or directory\n");
    return 1;
  }
  int Output = -1;
  if (Encoder) {
    Output = ::open(Arguments.back().c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (Output < 0) {
      Write(1, Arguments.back() + ": cannot be written\n");
      return 1;
    }
    Write(Output, "partial\n");
  }
  const std::string Prefix = Name + ": ";
  for (std::string Line; std::getline(Script, Line);) {
    if (Line.compare(0, Prefix.size(), Prefix) != 0) continue;
    const std::string Rest = Line.substr(Prefix.size());
    const std::size_t Blank = Rest.find(' ');
    Step(Rest.substr(0, Blank),
         Blank == std::string::npos ? std::string() : Rest.substr(Blank + 1));
  }
  if (Output >= 0) Write(Output, "complete\n");
  return 0;
}
