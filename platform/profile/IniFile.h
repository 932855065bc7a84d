// TIniFile: the settings file accessor. Reads and writes single keys of one settings file by
// its full path; integers and booleans are stored as decimal text. Writes made between
// BeginGroup and CommitGroup reach the file together, in one replacement.
//
//   TIniFile ini("/opt/varnel/FENDUL.INI");
//   int top = ini.ReadInteger("FENDUL", "Top", 7);
//   ini.WriteBool("FENDUL", "Legend", true);   // "Legend=1"; raises Exception on failure
//   ini.BeginGroup();
//   ini.WriteInteger("FENDUL", "Top", 7);
//   ini.WriteInteger("FENDUL", "Left", 396);
//   ini.CommitGroup();                         // both keys or neither; raises on failure
#pragma once
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/profile/PrivateProfile.h"

namespace varnel {

// The integer a settings value stands for, or `def`: a text longer than 2 characters that
// starts with "0x" or "0X" is read as "$" and the hexadecimal digits after it; then the
// integer text of TryStrToInt (decimal with optional blanks and sign, or "$" and hexadecimal
// digits fitting 32 bits). Text that does not convert, the empty text included, gives `def`.
int IniTextToInt(std::string_view text, int def);
// The same rules, without a default: nothing for text that does not convert.
std::optional<int> IniTextToNumber(std::string_view text);

class TIniFile {
 public:
  explicit TIniFile(std::string fileName) : FFileName(std::move(fileName)) {}

  const std::string& FileName() const { return FFileName; }

  // The stored text (at most 1023 characters), or `def` when the file, section or key is
  // missing or the file cannot be read. Never raises.
  std::string ReadString(std::string_view section, std::string_view ident, std::string_view def) const;
  // The stored integer (IniTextToInt), or `def`. Never raises.
  int ReadInteger(std::string_view section, std::string_view ident, int def) const;
  // On exactly when the stored integer, read with default 1 for on and 0 for off, is not 0.
  bool ReadBool(std::string_view section, std::string_view ident, bool def) const;

  // Store one key (one durable replacement of the file). A write that cannot be made raises
  // Exception "Unable to write to %s" with the full path, and the file stays as it was. Inside a
  // group the key is only collected, and reads still see the file as it is.
  void WriteString(std::string_view section, std::string_view ident, std::string_view value);
  // The signed decimal text: "-5", "128".
  void WriteInteger(std::string_view section, std::string_view ident, int value);
  // "1" or "0".
  void WriteBool(std::string_view section, std::string_view ident, bool value);

  // Starts collecting writes instead of making them.
  void BeginGroup();
  // Ends the group and makes its writes, in their order, in one replacement of the file; the
  // same exception as WriteString when it cannot be made, and then none of them is made.
  void CommitGroup();
  // Ends the group and drops its writes.
  void CancelGroup();

 private:
  std::string FFileName;
  bool FGrouping = false;
  std::vector<TProfileWrite> FGroup;
};

}  // namespace varnel
