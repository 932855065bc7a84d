// THttpFetcher: one address asked over HTTP again and again, without ever making the caller
// wait. A worker thread of its own runs one request at a time; the caller starts a request and
// later takes its reply, and a request still under way is simply not ready.
//
// Each request is held to the limits a monitor that watches the network must keep: http and
// https only, also for redirects, and at most 3 of them; a connection within 1 s and the whole
// reply within 900 ms; https checks the certificate and the host name against the system's
// certificate store; a reply of more than 4 MiB (or headers of more than 64 KiB) is refused as
// soon as it says or shows so. Credentials, where a server needs them, come from the user's
// ~/.netrc and from nowhere else.
//
//   THttpFetcher fetch(address.RequestUrl);
//   fetch.Start();                     // each tick:
//   if (auto reply = fetch.Take()) ... // the reply to the request of the tick before
#pragma once
#include <atomic>
#include <condition_variable>
#include <cstddef>
#include <mutex>
#include <optional>
#include <string>
#include <thread>

namespace varnel {

struct THttpOptions {
  long ConnectTimeoutMs = 1000;
  long TotalTimeoutMs = 900;
  std::size_t MaxBodyBytes = std::size_t(4) << 20;
  std::size_t MaxHeaderBytes = std::size_t(64) << 10;
  long MaxRedirects = 3;
  std::string Accept = "*/*";  // the Accept header
  std::string CaFile;          // certificates to trust instead of the system's (the tests' own)
};

struct THttpReply {
  bool Ok = false;   // a whole 2xx reply within the limits
  long Status = 0;   // the final HTTP status, 0 when none came
  std::string Body;  // the body of a 2xx reply, or of a whole 4xx or 5xx one (its explanation)
  std::string Error; // why the reply is not Ok, in a few words
};

class THttpFetcher {
 public:
  explicit THttpFetcher(std::string url, THttpOptions options = {});
  // Ends a request in flight at once and waits for the worker to finish.
  ~THttpFetcher();
  THttpFetcher(const THttpFetcher&) = delete;
  THttpFetcher& operator=(const THttpFetcher&) = delete;

  // Starts a request, unless one is under way or its reply has not been taken: false then.
  bool Start();
  // The reply of the request started last, once it has ended (taken once); none while it is
  // under way or when none was started.
  std::optional<THttpReply> Take();
  // True while a request is under way.
  bool Busy() const;
  // Waits until no request is under way (for tests and benchmarks).
  void Wait() const;

  const std::string& Url() const { return FUrl; }

 private:
  void Run();
  THttpReply Perform(void* curl);

  const std::string FUrl;
  const THttpOptions FOptions;
  mutable std::mutex FMutex;
  mutable std::condition_variable FChanged;
  bool FRequested = false;  // a request waits for the worker
  bool FBusy = false;       // requested or under way
  bool FStop = false;
  std::atomic<bool> FAbort{false};  // makes a transfer under way give up
  std::optional<THttpReply> FReply;
  std::thread FWorker;  // last: starts once everything above exists
};

}  // namespace varnel
