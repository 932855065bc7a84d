// The load sources against the real servers they are made for, started here on free local
// ports: Debian's node exporter (cpu collector only) and a Prometheus server scraping two of them
// once a second under two instance names. Skipped where the programs are not installed.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <thread>

#include "remote/NetworkLoadSource.h"
#include "sampler/ProcStatLoadSource.h"
#include "tests/remote/TestServer.h"

namespace varnel {
namespace {

using test::TChildProcess;

bool Installed(const char* program) {
  return std::system(("command -v " + std::string(program) + " >/dev/null 2>&1").c_str()) == 0;
}

// This machine's per-CPU busy and idle time from /proc/stat's cpuN lines, by the sampler's
// rules: busy = user + nice + system + irq + softirq + steal, idle = idle + iowait.
std::vector<std::pair<double, double>> CpuTimes() {
  std::ifstream in("/proc/stat");
  std::string line;
  std::vector<std::pair<double, double>> cpus;
  while (std::getline(in, line)) {
    if (line.rfind("cpu", 0) != 0 || line.size() < 4 || line[3] < '0' || line[3] > '9') continue;
    std::istringstream fields(line.substr(line.find(' ')));
    double f[8] = {};
    for (double& v : f) fields >> v;
    cpus.emplace_back(f[0] + f[1] + f[2] + f[5] + f[6] + f[7], f[3] + f[4]);
  }
  return cpus;
}

int Percent(double busy, double idle) {
  return busy + idle > 0 ? static_cast<int>(std::lround(100 * busy / (busy + idle))) : 0;
}

class RealServers : public testing::Test {
 protected:
  void SetUp() override {
    if (!Installed("prometheus-node-exporter")) GTEST_SKIP() << "prometheus-node-exporter is not installed";
    FDir = std::filesystem::temp_directory_path() / ("varnel-servers-" + std::to_string(getpid()));
    std::filesystem::create_directories(FDir);
  }
  void TearDown() override {
    FChildren.clear();
    if (!FDir.empty()) std::filesystem::remove_all(FDir);
  }
  // Starts an exporter on `port` (a free one when 0); its index in FChildren.
  std::size_t StartExporter(int& port) {
    if (port == 0) port = test::FreePort();
    FChildren.push_back(std::make_unique<TChildProcess>(
        std::vector<std::string>{"prometheus-node-exporter", "--collector.disable-defaults", "--collector.cpu",
                                 "--web.disable-exporter-metrics",
                                 "--web.listen-address=127.0.0.1:" + std::to_string(port)},
        FDir.string(), (FDir / "exporter.log").string()));
    EXPECT_TRUE(test::WaitForPort(port, 15)) << "the exporter did not start";
    return FChildren.size() - 1;
  }
  // Sleeps to the next whole second of the steady clock after `start`, as the window's timer.
  static void NextTick(std::chrono::steady_clock::time_point start, int tick) {
    std::this_thread::sleep_until(start + std::chrono::seconds(tick));
  }

  std::filesystem::path FDir;
  std::vector<std::unique_ptr<TChildProcess>> FChildren;
};

TEST_F(RealServers, AnExportersReadingsAgreeWithThisMachinesOwn) {
  int port = 0;
  StartExporter(port);
  std::string why;
  const std::unique_ptr<TLoadSource> remote =
      MakeNetworkLoadSource("http://127.0.0.1:" + std::to_string(port) + "/metrics", why);
  ASSERT_TRUE(remote) << why;
  TProcStatLoadSource local;
  // A load that changes: a thread busy in every other second.
  std::atomic<bool> stop{false};
  std::thread busy([&] {
    while (!stop) {
      const auto t = std::chrono::steady_clock::now();
      if (std::chrono::duration_cast<std::chrono::seconds>(t.time_since_epoch()).count() % 2 == 0) continue;
      std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
  });
  // Each tick reads this machine over the last second, then the exporter, whose reading is the
  // second before (its reply was asked for at the tick before): compare each exporter reading
  // with this machine's of one tick earlier.
  const auto start = std::chrono::steady_clock::now();
  std::vector<std::optional<TLoadReading>> locals, remotes;
  std::vector<std::vector<int>> model;
  auto before = CpuTimes();
  for (int tick = 1; tick <= 7; ++tick) {
    NextTick(start, tick);
    locals.push_back(local.Read());
    const auto now = CpuTimes();
    remotes.push_back(remote->Read());
    std::vector<int> cores;
    for (std::size_t c = 0; c < now.size() && c < before.size(); ++c)
      cores.push_back(Percent(now[c].first - before[c].first, now[c].second - before[c].second));
    model.push_back(cores);
    before = now;
  }
  stop = true;
  busy.join();
  int compared = 0;
  EXPECT_FALSE(remotes[0]);  // one page: no load yet
  for (std::size_t k = 1; k + 1 < remotes.size(); ++k) {
    ASSERT_TRUE(remotes[k + 1]) << remote->FailureReason();
    ASSERT_TRUE(locals[k]);
    EXPECT_NEAR(remotes[k + 1]->Total, locals[k]->Total, 2) << "tick " << k;
    ASSERT_EQ(remotes[k + 1]->Cores.size(), model[k].size());
    for (std::size_t c = 0; c < model[k].size(); ++c) {
      EXPECT_EQ(remotes[k + 1]->Cores[c].Name, "cpu" + std::to_string(c));
      ASSERT_TRUE(remotes[k + 1]->Cores[c].Load);
      EXPECT_NEAR(*remotes[k + 1]->Cores[c].Load, model[k][c], 2) << "tick " << k << " cpu" << c;
    }
    ++compared;
  }
  EXPECT_EQ(compared, 5);
}

TEST_F(RealServers, AnExporterKilledAndRestartedIsReadAgain) {
  int port = 0;
  const std::size_t exporter = StartExporter(port);
  std::string why;
  const std::unique_ptr<TLoadSource> source =
      MakeNetworkLoadSource("http://127.0.0.1:" + std::to_string(port) + "/metrics", why);
  ASSERT_TRUE(source) << why;
  auto& net = static_cast<TNetworkLoadSource&>(*source);
  net.WaitForReply();
  EXPECT_FALSE(source->Read());  // the first page
  net.WaitForReply();
  EXPECT_TRUE(source->Read());
  net.WaitForReply();
  FChildren[exporter]->Stop();
  EXPECT_TRUE(source->Read());  // asked before the exporter went
  net.WaitForReply();
  EXPECT_FALSE(source->Read());
  EXPECT_FALSE(source->FailureReason().empty());
  net.WaitForReply();
  EXPECT_FALSE(source->Read());
  StartExporter(port);
  net.WaitForReply();
  // The first page after the restart: the same machine's counters, a reading again.
  bool back = false;
  for (int i = 0; i < 3 && !back; ++i) {
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    back = source->Read().has_value();
    net.WaitForReply();
  }
  EXPECT_TRUE(back) << source->FailureReason();
}

TEST_F(RealServers, AServersSeriesPerInstanceAreCoresAndAMeanIsTheTotal) {
  if (!Installed("prometheus")) GTEST_SKIP() << "prometheus is not installed";
  int alpha = 0, beta = 0;
  StartExporter(alpha);
  StartExporter(beta);
  const int port = test::FreePort();
  std::ofstream(FDir / "prometheus.yml") << "global:\n  scrape_interval: 1s\n  evaluation_interval: 1s\n"
                                         << "scrape_configs:\n  - job_name: node\n    static_configs:\n"
                                         << "      - targets: ['127.0.0.1:" << alpha << "']\n"
                                         << "        labels: {instance: alpha}\n"
                                         << "      - targets: ['127.0.0.1:" << beta << "']\n"
                                         << "        labels: {instance: beta}\n";
  FChildren.push_back(std::make_unique<TChildProcess>(
      std::vector<std::string>{"prometheus", "--config.file=prometheus.yml", "--storage.tsdb.path=data",
                               "--web.listen-address=127.0.0.1:" + std::to_string(port)},
      FDir.string(), (FDir / "prometheus.log").string()));
  ASSERT_TRUE(test::WaitForPort(port, 30)) << "prometheus did not start";
  const std::string server = "prometheus+http://127.0.0.1:" + std::to_string(port);
  // One series per instance: cores named by it; the total is their mean.
  std::string why;
  const std::unique_ptr<TLoadSource> perInstance = MakeNetworkLoadSource(
      server + "/?query=100*(1-avg by(instance)(rate(node_cpu_seconds_total{mode=\"idle\"}[3s])))", why);
  ASSERT_TRUE(perInstance) << why;
  EXPECT_EQ(perInstance->MachineName(), "127.0.0.1");
  auto& net = static_cast<TNetworkLoadSource&>(*perInstance);
  std::optional<TLoadReading> r;
  for (int i = 0; i < 40 && !(r && r->Cores.size() == 2); ++i) {  // until both have two scrapes
    std::this_thread::sleep_for(std::chrono::milliseconds(500));
    net.WaitForReply();
    r = perInstance->Read();
  }
  ASSERT_TRUE(r) << perInstance->FailureReason();
  ASSERT_EQ(r->Cores.size(), 2u);
  EXPECT_EQ(r->Cores[0].Name, "alpha");
  EXPECT_EQ(r->Cores[1].Name, "beta");
  ASSERT_TRUE(r->Cores[0].Load && r->Cores[1].Load);
  EXPECT_NEAR(r->Total, (*r->Cores[0].Load + *r->Cores[1].Load) / 2.0, 1.0);
  // The mean over both: one series, the total, no cores.
  const std::unique_ptr<TLoadSource> mean =
      MakeNetworkLoadSource(server + "/?query=100*(1-avg(rate(node_cpu_seconds_total{mode=\"idle\"}[3s])))", why);
  ASSERT_TRUE(mean) << why;
  static_cast<TNetworkLoadSource&>(*mean).WaitForReply();
  const std::optional<TLoadReading> m = mean->Read();
  ASSERT_TRUE(m) << mean->FailureReason();
  EXPECT_TRUE(m->Cores.empty());
  EXPECT_GE(m->Total, 0);
  EXPECT_LE(m->Total, 100);
  // A query the server refuses: no reading, and the server's reason.
  const std::unique_ptr<TLoadSource> bad = MakeNetworkLoadSource(server + "/?query=rate((", why);
  static_cast<TNetworkLoadSource&>(*bad).WaitForReply();
  EXPECT_FALSE(bad->Read());
  EXPECT_NE(bad->FailureReason().find("HTTP status 400: invalid parameter"), std::string::npos)
      << bad->FailureReason();
}

}  // namespace
}  // namespace varnel
