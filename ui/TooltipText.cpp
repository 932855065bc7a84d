// A widget's tooltip text at a fixed address, and the refresh of a tooltip on show.
#include "ui/TooltipText.h"

#include <FL/Fl.H>
#include <FL/Fl_Tooltip.H>
#include <FL/Fl_Widget.H>
#include <FL/Fl_Window.H>

#include <algorithm>
#include <cstring>
#include <string>

#include "ui/TextWrap.h"

namespace varnel {
namespace {

// Whether the toolkit's tooltip window is on show with the text at `text` (it keeps the text it
// shows as its label, by address).
bool ShownWith(const char* text) {
  for (Fl_Window* w = Fl::first_window(); w; w = Fl::next_window(w))
    if (w->tooltip_window() && w->visible() && w->label() == text) return true;
  return false;
}

}  // namespace

void TTooltipText::Set(std::string_view wanted) {
  OneLineTooltip(wanted, FLine);
  const std::string_view text = FLine;
  std::size_t n = std::min(text.size(), Capacity);
  // A cut falls before a UTF-8 continuation byte's character, never inside it.
  if (n < text.size())
    while (n > 0 && (static_cast<unsigned char>(text[n]) & 0xC0) == 0x80) --n;
  const bool set = FWidget->tooltip() == FText.data();
  if (set && std::string_view(FText.data()) == text.substr(0, n)) return;
  const bool shown = set && ShownWith(FText.data());
  std::memcpy(FText.data(), text.data(), n);
  FText[n] = '\0';
  if (!set) FWidget->tooltip(FText.data());
  if (!shown) return;
  // The same address counts as the same text: the tooltip is closed and, with no delay, opened
  // again for the same target, laid out for the new text.
  Fl_Widget* target = Fl_Tooltip::current();
  if (!target) return;
  const float hover = Fl_Tooltip::hoverdelay();
  Fl_Tooltip::hoverdelay(0);
  Fl_Tooltip::enter_area(target, 0, 0, target->w(), target->h(), nullptr);
  Fl_Tooltip::enter_area(target, 0, 0, target->w(), target->h(), FText.data());
  Fl_Tooltip::hoverdelay(hover);
}

}  // namespace varnel
