// The small file layer the conversion needs: is a path a folder, make one folder level,
// remove a file, and find an outside program.
//
// Paths are the program's byte strings (the locale's encoding), handed to the system as
// they are. Stateless functions; any thread.
#pragma once

#include <stdexcept>
#include <string>

namespace marlovent::platform {

// A failed file operation, carrying the system's error number.
class EInOutError : public std::runtime_error {
 public:
  EInOutError(const std::string& Message, int ErrorCode)
      : std::runtime_error(Message), FErrorCode(ErrorCode) {}
  int ErrorCode() const { return FErrorCode; }

 private:
  int FErrorCode;
};

// True when Path names an existing folder (a plain file of that name does not count).
bool DirectoryExists(const std::string& Path);

// Creates the one folder Path (its parent must exist). Throws EInOutError
// ("I/O error <errno>: <text>") when it cannot.
void CreateDirectory(const std::string& Path);

// Removes the file Path; false when it was not there or could not be removed.
bool RemoveFile(const std::string& Path);

// Where to run the outside program Name from: Dir + Name when that is an executable file,
// else the first executable match on PATH, else Dir + Name (which then fails to start).
std::string FindProgram(const std::string& Dir, const std::string& Name);

}  // namespace marlovent::platform
