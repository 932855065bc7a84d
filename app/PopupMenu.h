// The popup menu model: a tree of items with captions ("&" marks the accelerator letter),
// check and radio marks, separators and submenus. The program sets every mark itself; choosing
// an item only runs its OnClick. The window system's popup port shows the tree as it is when
// the menu opens.
//
//   TPopupMenu m;  TMenuItem* a = m.Items().Add("About1", "&About", mkCommand);
//   a->OnClick = [](TMenuItem* sender) { ... };   m.FindByAccelerator(m.Items(), 'a')->Click();
#pragma once
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace varnel {

// What an item is: a plain command, a check-mark item, a radio item (a bullet shows its mark),
// a separator line, or a submenu.
enum TMenuItemKind : int { mkCommand, mkCheck, mkRadio, mkSeparator, mkSubmenu };

// The underlined letter of a caption: the character after the first single "&" ("&&" shows one
// "&"); 0 when there is none.
char MenuLetterOf(std::string_view caption);

class TMenuItem {
 public:
  TMenuItem(std::string name, std::string caption, TMenuItemKind kind, TMenuItem* parent = nullptr);
  TMenuItem(const TMenuItem&) = delete;
  TMenuItem& operator=(const TMenuItem&) = delete;

  const std::string& Name() const { return FName; }
  const std::string& Caption() const { return FCaption; }
  TMenuItemKind Kind() const { return FKind; }
  bool IsLine() const { return FKind == mkSeparator; }
  bool Checked() const { return FChecked; }
  void SetChecked(bool v) { FChecked = v; }
  // The accelerator letter: the character after the first single "&" ("&&" is a literal "&");
  // 0 when the caption has none.
  char Accelerator() const;
  // The caption as shown, without the "&" markers.
  std::string DisplayCaption() const;

  TMenuItem* Parent() const { return FParent; }
  int Count() const { return static_cast<int>(FItems.size()); }
  TMenuItem* Item(int index) const { return FItems.at(static_cast<std::size_t>(index)).get(); }
  // Appends a child item and returns it (owned by this item).
  TMenuItem* Add(std::string name, std::string caption, TMenuItemKind kind);

  // Runs OnClick with this item as the sender.
  void Click();
  std::function<void(TMenuItem* Sender)> OnClick;

 private:
  std::string FName;
  std::string FCaption;
  TMenuItemKind FKind;
  bool FChecked = false;
  TMenuItem* FParent;
  std::vector<std::unique_ptr<TMenuItem>> FItems;
};

class TPopupMenu {
 public:
  TPopupMenu();
  // The invisible root whose children are the menu's top-level items.
  TMenuItem& Items() { return FRoot; }
  const TMenuItem& Items() const { return FRoot; }
  // The item of that name anywhere in the tree, or nullptr.
  TMenuItem* Find(std::string_view name);
  // The item of one level that a typed letter picks: the first item, in menu order, whose
  // accelerator is that letter in the same case, else the first whose accelerator matches in the
  // other case; separators never match. nullptr when none does.
  static TMenuItem* FindByAccelerator(const TMenuItem& level, char letter);

 private:
  TMenuItem FRoot;
};

}  // namespace varnel
