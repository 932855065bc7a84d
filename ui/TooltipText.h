// TTooltipText: a widget's tooltip text, kept at one address for the widget's life. The toolkit
// holds a tooltip's text by its address (the tooltip on show, and one waiting for its delay), so
// a text copied anew each second would leave it reading freed memory, and, where the new copy
// happens to take the old one's place, showing the old text on. Here the text changes in place,
// and a tooltip on show with it is opened again at once with the new text and size.
#pragma once
#include <array>
#include <string>
#include <string_view>

class Fl_Widget;

namespace varnel {

class TTooltipText {
 public:
  // Texts longer than this many bytes are cut (at a character's start).
  static constexpr std::size_t Capacity = 1023;

  explicit TTooltipText(Fl_Widget* widget) : FWidget(widget) {}
  TTooltipText(const TTooltipText&) = delete;
  TTooltipText& operator=(const TTooltipText&) = delete;

  // Sets the widget's tooltip to `text` on one line (OneLineTooltip, TextWrap.h); nothing
  // happens when it is already that text.
  void Set(std::string_view text);

 private:
  Fl_Widget* FWidget;  // the widget whose tooltip this is (a back-reference)
  std::array<char, Capacity + 1> FText{};
  std::string FLine;  // the text asked for, on one line (its storage kept from one call to the next)
};

}  // namespace varnel
