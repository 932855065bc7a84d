// A small HTTP server on a free local port for the network tests, whose answer to each request
// the test writes as raw bytes: good replies, slow ones, none at all, errors, redirects, floods,
// garbage. Each connection gets a thread of its own; the destructor ends them all.
//
//   TTestServer server([](TTestServer::TConnection& c) { c.Send(HttpReply(200, "hello")); });
//   THttpFetcher fetch(server.Url("/metrics"));
#pragma once
#include <atomic>
#include <cstddef>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace varnel::test {

class TTestServer {
 public:
  // One accepted connection, after its request's head has been read.
  class TConnection {
   public:
    const std::string& Request() const { return FRequest; }
    // Writes all of `data`; false once the client has gone or the server stops.
    bool Send(const std::string& data);
    // Sleeps up to `ms` milliseconds, less when the server stops; false when it stopped.
    bool Sleep(int ms);

   private:
    friend class TTestServer;
    int FFd = -1;
    std::string FRequest;
    TTestServer* FServer = nullptr;
  };
  using THandler = std::function<void(TConnection&)>;

  explicit TTestServer(THandler handler);
  ~TTestServer();
  TTestServer(const TTestServer&) = delete;
  TTestServer& operator=(const TTestServer&) = delete;

  int Port() const { return FPort; }
  std::string Url(const std::string& path) const { return "http://127.0.0.1:" + std::to_string(FPort) + path; }
  // How many requests arrived, and the last one's head.
  int Requests() const { return FRequests.load(); }
  std::string LastRequest() const;
  // Bytes all connections have sent.
  std::size_t BytesSent() const { return FBytesSent.load(); }

 private:
  void Accept();
  void Serve(int fd);

  THandler FHandler;
  int FListen = -1;
  int FPort = 0;
  std::atomic<bool> FStop{false};
  std::atomic<int> FRequests{0};
  std::atomic<std::size_t> FBytesSent{0};
  mutable std::mutex FMutex;
  std::vector<int> FOpen;  // connections not yet closed
  std::vector<std::thread> FThreads;
  std::string FLastRequest;
  std::thread FAcceptor;
};

// A program the test starts (a real exporter, a real server, a TLS server), in a directory of
// its own, with its output in `log`; ended (SIGTERM, then SIGKILL) by Stop or the destructor.
class TChildProcess {
 public:
  TChildProcess(const std::vector<std::string>& argv, const std::string& directory, const std::string& log);
  ~TChildProcess() { Stop(); }
  TChildProcess(const TChildProcess&) = delete;
  TChildProcess& operator=(const TChildProcess&) = delete;
  bool Running() const { return FPid > 0; }
  void Stop();

 private:
  int FPid = -1;
};

// True once something accepts connections on the local port (waits up to `seconds`).
bool WaitForPort(int port, double seconds);

// A whole HTTP/1.1 reply that closes the connection after it.
std::string HttpReply(int status, const std::string& body, const std::string& extraHeaders = "");

// A port no one listens on now (bound, then closed).
int FreePort();

}  // namespace varnel::test
