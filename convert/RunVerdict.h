// Whether an encoder run made its file, and if not, why.
//
// A run succeeded when the encoder exited with 0 and the run met no error. Otherwise the
// reason is the run's error (the encoder could not start, a handler failed), else the
// encoder's last line that is neither a progress line nor its closing "Conversion failed!",
// else its exit code.
// Pure function; any thread.
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace marlovent {

// Nothing when the run succeeded; the reason for the user otherwise.
std::optional<std::string> RunFailure(const std::optional<int>& ExitCode,
                                      const std::string& RunError,
                                      const std::vector<std::string>& Lines);

}  // namespace marlovent
