// The popup menu model: items, accelerators and look-up.
#include "app/PopupMenu.h"

#include <cctype>

namespace varnel {

TMenuItem::TMenuItem(std::string name, std::string caption, TMenuItemKind kind, TMenuItem* parent)
    : FName(std::move(name)), FCaption(std::move(caption)), FKind(kind), FParent(parent) {}

char MenuLetterOf(std::string_view caption) {
  for (std::size_t i = 0; i + 1 < caption.size(); ++i) {
    if (caption[i] != '&') continue;
    if (caption[i + 1] != '&') return caption[i + 1];
    ++i;  // "&&": a literal "&"
  }
  return 0;
}

char TMenuItem::Accelerator() const { return MenuLetterOf(FCaption); }

std::string TMenuItem::DisplayCaption() const {
  std::string out;
  for (std::size_t i = 0; i < FCaption.size(); ++i) {
    if (FCaption[i] == '&' && i + 1 < FCaption.size()) {
      out += FCaption[++i];
      continue;
    }
    out += FCaption[i];
  }
  return out;
}

TMenuItem* TMenuItem::Add(std::string name, std::string caption, TMenuItemKind kind) {
  FItems.push_back(std::make_unique<TMenuItem>(std::move(name), std::move(caption), kind, this));
  return FItems.back().get();
}

void TMenuItem::Click() {
  if (OnClick) OnClick(this);
}

TPopupMenu::TPopupMenu() : FRoot("", "", mkSubmenu) {}

namespace {
TMenuItem* FindIn(const TMenuItem& level, std::string_view name) {
  for (int i = 0; i < level.Count(); ++i) {
    TMenuItem* item = level.Item(i);
    if (item->Name() == name) return item;
    if (TMenuItem* found = FindIn(*item, name)) return found;
  }
  return nullptr;
}
}  // namespace

TMenuItem* TPopupMenu::Find(std::string_view name) { return FindIn(FRoot, name); }

TMenuItem* TPopupMenu::FindByAccelerator(const TMenuItem& level, char letter) {
  for (int pass = 0; pass < 2; ++pass) {
    for (int i = 0; i < level.Count(); ++i) {
      TMenuItem* item = level.Item(i);
      if (item->IsLine()) continue;
      const char a = item->Accelerator();
      if (a == 0) continue;
      const bool match = pass == 0 ? a == letter
                                   : std::tolower(static_cast<unsigned char>(a)) ==
                                         std::tolower(static_cast<unsigned char>(letter));
      if (match) return item;
    }
  }
  return nullptr;
}

}  // namespace varnel
