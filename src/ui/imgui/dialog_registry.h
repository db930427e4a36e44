#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "ui/imgui/dialog_ui.h"

namespace veltrane::ui {

// The dialogs by their English identifiers ("wind", "open_model", ...), the
// ones the command table opens.
class DialogRegistry {
 public:
  // Keeps the dialog; returns it for the caller that also needs its own type.
  template <class D>
  D& Add(std::string id, std::unique_ptr<D> dialog) {
    D& d = *dialog;
    entries_.push_back({std::move(id), std::move(dialog)});
    return d;
  }
  // Null for an identifier nobody registered.
  DialogUi* Find(std::string_view id) const {
    for (const Entry& e : entries_)
      if (e.id == id) return e.dialog.get();
    return nullptr;
  }

 private:
  struct Entry {
    std::string id;
    std::unique_ptr<DialogUi> dialog;
  };
  std::vector<Entry> entries_;
};

}  // namespace veltrane::ui
