// Filling the holes of message-table texts, and the error report's sentence rule.
#include "base/Messages.h"

namespace varnel {

std::string FormatMessage(std::string_view pattern, std::initializer_list<std::string_view> args) {
  std::string out;
  out.reserve(pattern.size() + 16);
  auto next = args.begin();
  for (std::size_t i = 0; i < pattern.size(); ++i) {
    const char c = pattern[i];
    if (c == '%' && i + 1 < pattern.size()) {
      const char k = pattern[i + 1];
      if (k == '%') {
        out += '%';
        ++i;
        continue;
      }
      if ((k == 's' || k == 'd') && next != args.end()) {
        out += *next++;
        ++i;
        continue;
      }
    }
    out += c;
  }
  return out;
}

std::string ErrorReportText(const std::string& message) {
  if (!message.empty() && static_cast<unsigned char>(message.back()) > static_cast<unsigned char>('.'))
    return message + ".";
  return message;
}

}  // namespace varnel
