// Menu letters: case-insensitive, picking a unique letter at once and cycling a shared one.
#include "ui/MenuLetters.h"

namespace varnel {

namespace {
char Lower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }
}  // namespace

TLetterAction MenuLetter(const std::vector<std::string>& captions, int highlighted, char key) {
  if (key == 0) return {};
  const char want = Lower(key);
  const int n = static_cast<int>(captions.size());
  std::vector<int> matches;
  for (int i = 0; i < n; ++i)
    if (Lower(MenuLetterOf(captions[static_cast<std::size_t>(i)])) == want) matches.push_back(i);
  if (matches.empty()) return {};
  if (matches.size() == 1) return {matches.front(), true};
  for (int i : matches)
    if (i > highlighted) return {i, false};
  return {matches.front(), false};
}

}  // namespace varnel
