// The test suite's child program. It carries out its arguments in order, one step each:
//   w TEXT      write TEXT in one write (escapes: \r \n \0 \t \\ \xHH)
//   s MS        sleep MS milliseconds
//   x CODE      exit with CODE
//   k SIGNAL    kill itself with SIGNAL
//   ignterm     ignore SIGTERM
//   grandchild  start a grandchild that sleeps for a minute; print "grandchild PID"
//   fds         print the open descriptors, one line: "fds 0 1 2"
//   burst N     write N bytes of 63-letter lines in one write
//   lines N L   write N lines of L bytes each (L - 1 letters and LF) in large writes
//   stamps N MS write N lines "NANOSECONDS" of CLOCK_MONOTONIC, MS milliseconds apart
//   stdin       read standard input until its end; print "stdin ended"
//   pid         print "pid PID" of this process
// It exits with 0 after the last step.
#include <dirent.h>
#include <signal.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace {

void WriteAll(const char* Data, std::size_t Count) {
  while (Count > 0) {
    const ssize_t Written = ::write(1, Data, Count);
    if (Written < 0) std::exit(99);
    Data += Written;
    Count -= static_cast<std::size_t>(Written);
  }
}

void WriteAll(const std::string& S) {
  WriteAll(S.data(), S.size());
}

std::string Unescape(const char* Text) {
  std::string Out;
  for (const char* P = Text; *P != '\0'; ++P) {
    if (*P != '\\' || P[1] == '\0') {
      Out.push_back(*P);
      continue;
    }
    ++P;
    switch (*P) {
      case 'r':
        Out.push_back('\r');
        break;
      case 'n':
        Out.push_back('\n');
        break;
      case '0':
        Out.push_back('\0');
        break;
      case 't':
        Out.push_back('\t');
        break;
      case 'x': {
        const char Hex[3] = {P[1], P[2], '\0'};
        Out.push_back(static_cast<char>(std::strtol(Hex, nullptr, 16)));
        P += 2;
        break;
      }
      default:
        Out.push_back(*P);
    }
  }
  return Out;
}

void SleepMs(long Ms) {
  timespec Delay{Ms / 1000, (Ms % 1000) * 1000000L};
  while (nanosleep(&Delay, &Delay) != 0) {
  }
}

void ListDescriptors() {
  std::string Line = "fds";
  DIR* Dir = opendir("/proc/self/fd");
  const int Own = dirfd(Dir);
  while (const dirent* Entry = readdir(Dir)) {
    if (Entry->d_name[0] == '.' || std::atoi(Entry->d_name) == Own) continue;
    Line += ' ';
    Line += Entry->d_name;
  }
  closedir(Dir);
  WriteAll(Line + "\n");
}

void Lines(long Count, long Length) {
  std::string Line(static_cast<std::size_t>(Length - 1), 'a');
  Line.push_back('\n');
  std::string Block;
  const long PerBlock = std::max(1L, (1L << 20) / Length);
  for (long I = 0; I < PerBlock; ++I) Block += Line;
  for (long Done = 0; Done < Count; Done += PerBlock) {
    const long Now = std::min(PerBlock, Count - Done);
    WriteAll(Block.data(), static_cast<std::size_t>(Now * Length));
  }
}

void Stamps(long Count, long Ms) {
  for (long I = 0; I < Count; ++I) {
    timespec Now{};
    clock_gettime(CLOCK_MONOTONIC, &Now);
    WriteAll(std::to_string(Now.tv_sec * 1000000000LL + Now.tv_nsec) + "\n");
    SleepMs(Ms);
  }
}

}  // namespace

int main(int Argc, char** Argv) {
  for (int I = 1; I < Argc; ++I) {
    const std::string Step = Argv[I];
    const char* Value = I + 1 < Argc ? Argv[I + 1] : "";
    if (Step == "w") {
      WriteAll(Unescape(Value));
      ++I;
    } else if (Step == "s") {
      SleepMs(std::atol(Value));
      ++I;
    } else if (Step == "x") {
      return std::atoi(Value);
    } else if (Step == "k") {
      ::kill(::getpid(), std::atoi(Value));
      SleepMs(1000);
      ++I;
    } else if (Step == "ignterm") {
      ::signal(SIGTERM, SIG_IGN);
    } else if (Step == "grandchild") {
      const pid_t Pid = ::fork();
      if (Pid == 0) {
        SleepMs(60000);
        _exit(0);
      }
      WriteAll("grandchild " + std::to_string(Pid) + "\n");
    } else if (Step == "fds") {
      ListDescriptors();
    } else if (Step == "burst") {
      const long Count = std::atol(Value);
      std::string Data;
      for (long J = 0; J < Count; ++J) Data.push_back(J % 64 == 63 ? '\n' : 'a' + J % 26);
      WriteAll(Data);
      ++I;
    } else if (Step == "lines") {
      Lines(std::atol(Value), I + 2 < Argc ? std::atol(Argv[I + 2]) : 40);
      I += 2;
    } else if (Step == "stamps") {
      Stamps(std::atol(Value), I + 2 < Argc ? std::atol(Argv[I + 2]) : 10);
      I += 2;
    } else if (Step == "pid") {
      WriteAll("pid " + std::to_string(::getpid()) + "\n");
    } else if (Step == "stdin") {
      char Byte;
      while (::read(0, &Byte, 1) > 0) {
      }
      WriteAll("stdin ended\n");
    } else {
      std::fprintf(stderr, "unknown step %s\n", Step.c_str());
      return 98;
    }
  }
  return 0;
}
