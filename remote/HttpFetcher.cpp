// THttpFetcher: libcurl's easy interface on a worker thread, one handle kept for the life of the
// fetcher so that the connection to the server is reused from one request to the next.
#include "remote/HttpFetcher.h"

#include <curl/curl.h>

#include <atomic>
#include <utility>

namespace varnel {
namespace {

// libcurl's global set-up, once per program, before the first handle.
void GlobalInit() {
  static const bool done = [] {
    curl_global_init(CURL_GLOBAL_DEFAULT);
    return true;
  }();
  (void)done;
}

// What the callbacks of one transfer share.
struct TTransfer {
  std::string* Body;
  std::size_t MaxBody;
  std::size_t MaxHeader;
  std::size_t HeaderBytes = 0;
  bool BodyTooBig = false;
  bool HeaderTooBig = false;
  const std::atomic<bool>* Abort;
};

std::size_t OnBody(char* data, std::size_t size, std::size_t count, void* user) {
  TTransfer& t = *static_cast<TTransfer*>(user);
  const std::size_t n = size * count;
  if (n > t.MaxBody - t.Body->size()) {
    t.BodyTooBig = true;
    return 0;  // ends the transfer with a write error
  }
  t.Body->append(data, n);
  return n;
}

std::size_t OnHeader(char*, std::size_t size, std::size_t count, void* user) {
  TTransfer& t = *static_cast<TTransfer*>(user);
  const std::size_t n = size * count;
  t.HeaderBytes += n;
  if (t.HeaderBytes > t.MaxHeader) {
    t.HeaderTooBig = true;
    return 0;
  }
  return n;
}

int OnProgress(void* user, curl_off_t, curl_off_t, curl_off_t, curl_off_t) {
  return static_cast<TTransfer*>(user)->Abort->load(std::memory_order_relaxed) ? 1 : 0;
}

}  // namespace

THttpFetcher::THttpFetcher(std::string url, THttpOptions options)
    : FUrl(std::move(url)), FOptions(std::move(options)) {
  GlobalInit();
  FWorker = std::thread([this] { Run(); });
}

THttpFetcher::~THttpFetcher() {
  {
    std::lock_guard<std::mutex> lock(FMutex);
    FStop = true;
  }
  FAbort.store(true);
  FChanged.notify_all();
  FWorker.join();
}

bool THttpFetcher::Start() {
  {
    std::lock_guard<std::mutex> lock(FMutex);
    if (FBusy || FReply) return false;
    FRequested = true;
    FBusy = true;
  }
  FChanged.notify_all();
  return true;
}

std::optional<THttpReply> THttpFetcher::Take() {
  std::lock_guard<std::mutex> lock(FMutex);
  std::optional<THttpReply> reply = std::move(FReply);
  FReply.reset();
  return reply;
}

bool THttpFetcher::Busy() const {
  std::lock_guard<std::mutex> lock(FMutex);
  return FBusy;
}

void THttpFetcher::Wait() const {
  std::unique_lock<std::mutex> lock(FMutex);
  FChanged.wait(lock, [this] { return !FBusy; });
}

void THttpFetcher::Run() {
  CURL* curl = curl_easy_init();
  for (;;) {
    {
      std::unique_lock<std::mutex> lock(FMutex);
      FChanged.wait(lock, [this] { return FStop || FRequested; });
      if (FStop) break;
      FRequested = false;
    }
    THttpReply reply = curl ? Perform(curl) : THttpReply{false, 0, {}, "the HTTP library could not start"};
    {
      std::lock_guard<std::mutex> lock(FMutex);
      FReply = std::move(reply);
      FBusy = false;
    }
    FChanged.notify_all();
  }
  if (curl) curl_easy_cleanup(curl);
  std::lock_guard<std::mutex> lock(FMutex);
  FBusy = false;
  FChanged.notify_all();
}

THttpReply THttpFetcher::Perform(void* handle) {
  CURL* curl = static_cast<CURL*>(handle);
  THttpReply reply;
  TTransfer t{&reply.Body, FOptions.MaxBodyBytes, FOptions.MaxHeaderBytes, 0, false, false, &FAbort};
  const std::string accept = "Accept: " + FOptions.Accept;
  curl_slist* headers = curl_slist_append(nullptr, accept.c_str());

  curl_easy_setopt(curl, CURLOPT_URL, FUrl.c_str());
  curl_easy_setopt(curl, CURLOPT_PROTOCOLS_STR, "http,https");
  curl_easy_setopt(curl, CURLOPT_REDIR_PROTOCOLS_STR, "http,https");
  curl_easy_setopt(curl, CURLOPT_FOLLOWLOCATION, 1L);
  curl_easy_setopt(curl, CURLOPT_MAXREDIRS, FOptions.MaxRedirects);
  curl_easy_setopt(curl, CURLOPT_CONNECTTIMEOUT_MS, FOptions.ConnectTimeoutMs);
  curl_easy_setopt(curl, CURLOPT_TIMEOUT_MS, FOptions.TotalTimeoutMs);
  curl_easy_setopt(curl, CURLOPT_NOSIGNAL, 1L);  // no alarm signals: this is a thread of a program
  curl_easy_setopt(curl, CURLOPT_SSL_VERIFYPEER, 1L);
  curl_easy_setopt(curl, CURLOPT_SSL_VERIFYHOST, 2L);
  if (!FOptions.CaFile.empty()) curl_easy_setopt(curl, CURLOPT_CAINFO, FOptions.CaFile.c_str());
  curl_easy_setopt(curl, CURLOPT_NETRC, static_cast<long>(CURL_NETRC_OPTIONAL));
  curl_easy_setopt(curl, CURLOPT_MAXFILESIZE_LARGE, static_cast<curl_off_t>(FOptions.MaxBodyBytes));
  curl_easy_setopt(curl, CURLOPT_HTTPHEADER, headers);
  curl_easy_setopt(curl, CURLOPT_USERAGENT, "varnel/1.0");
  curl_easy_setopt(curl, CURLOPT_WRITEFUNCTION, OnBody);
  curl_easy_setopt(curl, CURLOPT_WRITEDATA, &t);
  curl_easy_setopt(curl, CURLOPT_HEADERFUNCTION, OnHeader);
  curl_easy_setopt(curl, CURLOPT_HEADERDATA, &t);
  curl_easy_setopt(curl, CURLOPT_XFERINFOFUNCTION, OnProgress);
  curl_easy_setopt(curl, CURLOPT_XFERINFODATA, &t);
  curl_easy_setopt(curl, CURLOPT_NOPROGRESS, 0L);

  const CURLcode code = curl_easy_perform(curl);
  curl_easy_getinfo(curl, CURLINFO_RESPONSE_CODE, &reply.Status);
  curl_easy_setopt(curl, CURLOPT_HTTPHEADER, nullptr);
  curl_slist_free_all(headers);

  if (t.BodyTooBig || code == CURLE_FILESIZE_EXCEEDED) {
    reply.Error = "the reply is larger than " + std::to_string(FOptions.MaxBodyBytes >> 20) + " MiB";
  } else if (t.HeaderTooBig) {
    reply.Error = "the reply's headers are too long";
  } else if (code != CURLE_OK) {
    reply.Error = curl_easy_strerror(code);
  } else if (reply.Status < 200 || reply.Status > 299) {
    reply.Error = "HTTP status " + std::to_string(reply.Status);
  } else {
    reply.Ok = true;
  }
  if (!reply.Ok && (reply.Status < 400 || !reply.Error.starts_with("HTTP status"))) reply.Body.clear();
  return reply;
}

}  // namespace varnel
