// TAboutBox: the About window's controls, texts and bounds, and its two buttons.
#include "app/AboutBox.h"

#include "app/Ports.h"

namespace varnel {

TAboutBox::TAboutBox(TShellPort* shell) : FShell(shell) {
  auto add = [this](const char* name, TAboutControlKind kind, const char* parent, TRect bounds,
                    std::string text) -> TAboutControl& {
    TAboutControl c;
    c.Name = name;
    c.Kind = kind;
    c.Parent = parent;
    c.Bounds = bounds;
    c.Text = std::move(text);
    FControls.push_back(std::move(c));
    return FControls.back();
  };
  // Panel: raised inner bevel, lowered outer bevel, the window's colour.
  add("Panel1", ckPanel, "", Bounds(8, 8, 345, 209), "");
  add("ProgramIcon", ckImage, "Panel1", Bounds(8, 8, 41, 41), "");
  TAboutControl& product = add("ProductName", ckLabel, "Panel1", Bounds(96, 16, 157, 20), "Varnel");
  product.FontHeight = -16;
  product.Bold = true;
  add("Version", ckLabel, "Panel1", Bounds(120, 42, 137, 13), std::string(VersionText));
  add("Author", ckLabel, "Panel1", Bounds(10, 80, 75, 13), "Varnel team").Bold = true;
  add("Comments", ckLabel, "Panel1", Bounds(10, 128, 113, 13), "varnel@example.org").WordWrap = true;
  add("Label1", ckLabel, "Panel1", Bounds(10, 96, 63, 13), "PO Box 98");
  add("Label2", ckLabel, "Panel1", Bounds(10, 112, 131, 13), "Example Town EX1 2AB");
  add("Label3", ckLabel, "Panel1", Bounds(10, 144, 325, 13), "Home page: " + std::string(HomePage)).WordWrap =
      true;
  add("Button1", ckButton, "Panel1", Bounds(40, 168, 129, 25), "&Go to Home Page").HandCursor = true;
  TAboutControl& ok = add("OKButton", ckButton, "", Bounds(240, 176, 75, 25), "&OK");
  ok.Default = true;
  ok.HandCursor = true;
  ok.ModalResult = mrOk;
}

const TAboutControl* TAboutBox::Control(std::string_view name) const {
  for (const TAboutControl& c : FControls)
    if (c.Name == name) return &c;
  return nullptr;
}

void TAboutBox::Button1Click() {
  // The shell takes at most 79 characters; the address is checked at compile time.
  if (FShell) FShell->Open(std::string(HomePage));
}

void TAboutBox::Press(std::string_view name) {
  if (name == "Button1") {
    Button1Click();
    return;
  }
  if (const TAboutControl* c = Control(name); c && c->Kind == ckButton && c->ModalResult != mrNone)
    FModalResult = c->ModalResult;
}

}  // namespace varnel
