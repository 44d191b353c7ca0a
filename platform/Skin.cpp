#include "platform/Skin.h"

#include <QFile>
#include <QWidget>

#include "platform/Text.h"

namespace marlovent::platform {

TSkinStore TSkinStore::FromResources(const std::string& Folder) {
  TSkinStore Result;
  for (int Index = 0;; ++Index) {
    const std::string Name = "SkinItem" + std::to_string(Index);
    QFile File(ToQt(Folder + "/" + Name + ".qss"));
    if (!File.open(QIODevice::ReadOnly)) break;
    const QByteArray Data = File.readAll();
    Result.Store.push_back({Name, std::string(Data.constData(), std::size_t(Data.size()))});
  }
  return Result;
}

void TSkinData::LoadFromCollection(const TSkinStore& Store, int Index) {
  if (Index < 0 || std::size_t(Index) >= Store.Store.size()) return;
  FSkin = Store.Store[std::size_t(Index)].Data;
  if (FActive) Apply();
}

void TSkinData::SetActive(bool Active) {
  FActive = Active;
  Apply();
}

void TSkinData::Apply() {
  FForm.setStyleSheet(FActive ? ToQt(FSkin) : QString());
}

}  // namespace marlovent::platform
