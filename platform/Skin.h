// The window's skin: a store of skins and the component that applies one.
//
// TSkinStore holds the skins by name ("SkinItem0" ...), each a Qt style sheet; the
// program's own five are read from its resources. TSkinData copies one skin out of a
// store and, once switched on, applies it to the form it skins and all its controls.
// The form is not owned. Interface thread only.
#pragma once

#include <string>
#include <vector>

class QWidget;

namespace marlovent::platform {

struct TSkinItem {
  std::string Name;
  std::string Data;  // a Qt style sheet
};

struct TSkinStore {
  std::vector<TSkinItem> Store;

  // Reads "SkinItem0", "SkinItem1", ... from the resource folder Folder (":/skins") until
  // one is missing.
  static TSkinStore FromResources(const std::string& Folder);
};

class TSkinData {
 public:
  explicit TSkinData(QWidget& Form) : FForm(Form) {}

  // Copies the skin at Index out of Store. A store without that index loads nothing and
  // keeps the skin loaded before.
  void LoadFromCollection(const TSkinStore& Store, int Index);
  const std::string& Skin() const { return FSkin; }

  // Switching on applies the loaded skin (none: the form keeps its own look); switching
  // off takes it away.
  void SetActive(bool Active);
  bool Active() const { return FActive; }

 private:
  void Apply();

  QWidget& FForm;
  std::string FSkin;
  bool FActive = false;
};

}  // namespace marlovent::platform
