#include "convert/EncoderCommand.h"

#include "platform/CommandLine.h"

namespace marlovent {

std::string OutputFileName(const std::string& Source) {
  const std::size_t Slash = Source.rfind('/');
  std::string Name = Slash == std::string::npos ? Source : Source.substr(Slash + 1);
  const std::size_t Point = Name.rfind('.');
  if (Point != std::string::npos) Name.erase(Point);
  return Name + ".3GP";
}

std::string OutputPath(const std::string& Folder, const std::string& Source) {
  return Folder + OutputFileName(Source);
}

std::string EncoderCommandLine(const std::string& EncoderPath, const std::string& Source,
                               const TEncoderSettings& Settings, bool Overwrite,
                               const std::string& Output) {
  using platform::QuoteAlways;
  // The place after "3gp" is always empty, so two blanks stand before "-b".
  return QuoteAlways(EncoderPath) + " -i " + QuoteAlways(Source) + " -vcodec mpeg4 -f 3gp  -b " +
         Settings.VideoKbps + " -r " + Settings.VideoFrame + " -s " + Settings.VideoSize + " -ar " +
         Settings.AudioSample + " -ab " + Settings.AudioKbps + " -ac " +
         std::to_string(Settings.AudioTrackIndex + 1) + " " + (Overwrite ? "-y" : "") + " " +
         QuoteAlways(Output);
}

}  // namespace marlovent
