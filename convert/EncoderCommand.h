// The encoder's command line and the name of its output file.
//
// The settings are the texts of the window's option lists, put into the command line
// exactly as the lists show them ("120K" stays "120K"). Pure functions; any thread.
#pragma once

#include <string>

namespace marlovent {

struct TEncoderSettings {
  std::string VideoKbps;    // -b
  std::string VideoFrame;   // -r
  std::string VideoSize;    // -s
  std::string AudioSample;  // -ar
  std::string AudioKbps;    // -ab
  int AudioTrackIndex = 0;  // -ac is this index plus 1
};

// The source's file name (the part after its last "/") with its extension, from its last
// point on, replaced by ".3GP"; a name without a point gets ".3GP" appended.
std::string OutputFileName(const std::string& Source);

// The output folder's text followed directly by OutputFileName: nothing goes between them.
std::string OutputPath(const std::string& Folder, const std::string& Source);

// The encoder's command line. The three paths are quoted so that each arrives as exactly
// one argument; Overwrite puts "-y" in its place, else that place stays empty.
std::string EncoderCommandLine(const std::string& EncoderPath, const std::string& Source,
                               const TEncoderSettings& Settings, bool Overwrite,
                               const std::string& Output);

}  // namespace marlovent
