// TLoadSource: where the window's load comes from, one reading a tick. The tick and the views
// read a source without knowing what is behind it: this machine's /proc/stat
// (TProcStatLoadSource), another machine over the network, or a script in the tests.
//
//   std::unique_ptr<TLoadSource> source = std::make_unique<TProcStatLoadSource>();
//   if (std::optional<TLoadReading> r = source->Read()) Plot(r->Total);
//   if (source->ReadInto(kept)) Plot(kept.Total);   // kept from one tick to the next
#pragma once
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace varnel {

// One core in a reading. Name is the source's own name for it ("cpu0", "cpu7", ...). Load is a
// whole percent, 0..100; none while the core is offline or its load is not known yet.
struct TCoreLoad {
  std::string Name;
  std::optional<int> Load;
};

// One tick's reading: the total load (whole percent) and the cores in the source's order
// (ascending core number for /proc/stat). Cores is empty for a source that has no per-core data,
// and may be while the cores are not wanted (TLoadSource::SetCoresWanted).
struct TLoadReading {
  int Total = 0;
  std::vector<TCoreLoad> Cores;
  // Which list of names Cores carries, for a source that keeps its names from one ReadInto to the
  // next (0: none known). A caller that changes the names sets it to 0.
  std::uint64_t NamesStamp = 0;
};

class TLoadSource {
 public:
  virtual ~TLoadSource();

  // The reading for this tick, called once a second on the user-interface thread. No value when
  // the source has none this time: the tick then changes nothing. May raise an Exception, which
  // ends the tick and is shown in the error box.
  virtual std::optional<TLoadReading> Read() = 0;

  // Read into `reading`, which may hold the caller's reading of the tick before: a source that
  // keeps its cores' names from one reading to the next writes only the names that changed, where
  // Read copies every one (a machine of 256 cores, 256 strings a second). False when there is no
  // reading; `reading` is then left as it was. Unless a source does better, Read moved into
  // `reading`.
  virtual bool ReadInto(TLoadReading& reading);

  // The machine whose load this is: empty for this machine.
  virtual std::string MachineName() const;

  // Why the last Read gave no reading, in a few words ("HTTP status 404"); empty when the source
  // does not say.
  virtual std::string FailureReason() const;

  // Whether the caller shows each core's load (at first it does). While it does not, a source may
  // spare itself the work of reading the cores and give an empty Cores; the total is the same
  // either way. Sources that cannot spare anything ignore it.
  virtual void SetCoresWanted(bool wanted);
};

// A source over a function, for scripted loads (the tests, varnel-render).
class TFunctionLoadSource : public TLoadSource {
 public:
  explicit TFunctionLoadSource(std::function<std::optional<TLoadReading>()> read) : FRead(std::move(read)) {}
  std::optional<TLoadReading> Read() override { return FRead ? FRead() : std::nullopt; }

 private:
  std::function<std::optional<TLoadReading>()> FRead;
};

}  // namespace varnel
