// A main window on the headless window system, with a settings file in a fresh temporary
// directory and a scripted load source, for the tests of TForm1.
#pragma once
#include <gtest/gtest.h>
#include <stdlib.h>

#include <deque>
#include <filesystem>
#include <fstream>
#include <map>
#include <memory>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "app/Application.h"
#include "app/Form1.h"
#include "app/HeadlessPorts.h"

namespace varnel::test {

// The fixture's load source: the readings of a function, and a note of whether the window wants
// the cores.
class TFixtureSource : public TFunctionLoadSource {
 public:
  TFixtureSource(std::optional<bool>* wanted, std::function<std::optional<TLoadReading>()> read)
      : TFunctionLoadSource(std::move(read)), FWanted(wanted) {}
  void SetCoresWanted(bool wanted) override { *FWanted = wanted; }

 private:
  std::optional<bool>* FWanted;
};

class FormFixture {
 public:
  explicit FormFixture(int width = 332, int height = 190) : Ws(width, height), App(&Ws.MessageBox) {
    std::string templ = (std::filesystem::temp_directory_path() / "varnel-app-XXXXXX").string();
    Dir = mkdtemp(templ.data());
    IniPath = Dir + "/FENDUL.INI";
    App.SetTitle("Varnel");
  }
  ~FormFixture() {
    Form.reset();
    std::error_code ec;
    std::filesystem::remove_all(Dir, ec);
  }

  void WriteIni(const std::string& body) { std::ofstream(IniPath) << "[FENDUL]\n" << body; }
  bool IniExists() const { return std::filesystem::exists(IniPath); }
  std::string IniText() const {
    std::ifstream in(IniPath);
    std::stringstream ss;
    ss << in.rdbuf();
    return ss.str();
  }
  // The keys of the file in file order.
  std::vector<std::pair<std::string, std::string>> IniEntries() const {
    std::vector<std::pair<std::string, std::string>> out;
    std::istringstream in(IniText());
    std::string line;
    while (std::getline(in, line)) {
      if (!line.empty() && line.back() == '\r') line.pop_back();
      const auto eq = line.find('=');
      if (eq != std::string::npos) out.emplace_back(line.substr(0, eq), line.substr(eq + 1));
    }
    return out;
  }
  std::string Ini(const std::string& key) const {
    for (auto& [k, v] : IniEntries())
      if (k == key) return v;
    return "<missing>";
  }

  // Creates the window (FormCreate runs) reading IniPath (or `path`).
  TForm1& Start(const std::string& path = "") {
    Form = std::make_unique<TForm1>(App, Ws.Ports(), path.empty() ? IniPath : path,
                                    std::make_unique<TFixtureSource>(&CoresWanted, [this]() -> std::optional<TLoadReading> {
                                      ++Reads;
                                      if (ReadingOverride) return ReadingOverride();
                                      std::optional<std::int32_t> v;
                                      if (SampleOverride) {
                                        v = SampleOverride();
                                      } else if (!Samples.empty()) {
                                        v = Samples.front();
                                        Samples.pop_front();
                                      }
                                      if (!v) return std::nullopt;
                                      return TLoadReading{*v, {}};
                                    }));
    return *Form;
  }
  // One tick with the given load, through the timer (errors reported as the program would).
  void Tick(std::optional<std::int32_t> load) {
    Samples.push_back(load);
    Ws.Timer.Fire();
  }
  // Chooses a menu item as the user would.
  void Choose(TMenuItem* item) { item->Click(); }
  // The series' Y values.
  std::vector<double> Points() const {
    std::vector<double> v;
    for (int i = 0; i < Form->Series3.Count(); ++i) v.push_back(Form->Series3.YValues().Value(i));
    return v;
  }

  THeadlessWindowSystem Ws;
  TApplication App;
  std::string Dir;
  std::string IniPath;
  std::deque<std::optional<std::int32_t>> Samples;
  // When set, the load source calls this instead of taking from Samples (to raise errors).
  std::function<std::optional<std::int32_t>()> SampleOverride;
  // When set, the load source gives what this returns (readings with cores).
  std::function<std::optional<TLoadReading>()> ReadingOverride;
  int Reads = 0;
  // What the window last told its load source about the cores (none before it did).
  std::optional<bool> CoresWanted;
  std::unique_ptr<TForm1> Form;
};

}  // namespace varnel::test
