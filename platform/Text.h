// Conversions between the program's byte strings and Qt's strings.
//
// Interface texts are UTF-8; file names are bytes in the locale's encoding and go through
// QFile::encodeName/decodeName, so a name that is not valid UTF-8 survives the round trip.
// Any thread.
#pragma once

#include <QFile>
#include <QString>
#include <string>

namespace marlovent::platform {

inline QString ToQt(const std::string& Text) {
  return QString::fromUtf8(Text.data(), qsizetype(Text.size()));
}
inline std::string FromQt(const QString& Text) {
  return Text.toStdString();
}

inline QString PathToQt(const std::string& Path) {
  return QFile::decodeName(QByteArray(Path.data(), qsizetype(Path.size())));
}
inline std::string PathFromQt(const QString& Path) {
  const QByteArray Bytes = QFile::encodeName(Path);
  return std::string(Bytes.constData(), std::size_t(Bytes.size()));
}

}  // namespace marlovent::platform
