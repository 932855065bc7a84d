// THttpFetcher: libcurl's easy interface on a worker thread, one handle kept for the life of the
// fetcher so that the connection to the server is reused from one request to the next.
//
// The library is loaded when the first fetcher starts, not with the program: it brings a TLS
// stack and its own dependencies with it (close to a megabyte of private memory, and start-up
// time), which a program that reads only its own machine's load never needs.
#include "remote/HttpFetcher.h"

#include <curl/curl.h>
#include <dlfcn.h>

#include <atomic>
#include <string>
#include <type_traits>
#include <utility>

namespace varnel {
namespace {

// The functions of libcurl the fetcher calls, from the shared library loaded at first use.
struct TCurlLibrary {
  decltype(&curl_global_init) GlobalInit = nullptr;
  decltype(&curl_easy_init) EasyInit = nullptr;
  decltype(&curl_easy_setopt) SetOpt = nullptr;
  decltype(&curl_easy_perform) Perform = nullptr;
  decltype(&curl_easy_getinfo) GetInfo = nullptr;
  decltype(&curl_easy_strerror) StrError = nullptr;
  decltype(&curl_easy_cleanup) Cleanup = nullptr;
  decltype(&curl_slist_append) SlistAppend = nullptr;
  decltype(&curl_slist_free_all) SlistFreeAll = nullptr;
  std::string Error;  // why it is not there; empty when loaded
};

// Loaded once per program (and kept loaded), with libcurl's global set-up done before the first
// handle.
const TCurlLibrary& Curl() {
  static const TCurlLibrary lib = [] {
    TCurlLibrary l;
    void* so = dlopen("libcurl.so.4", RTLD_NOW | RTLD_LOCAL);
    if (!so) {
      const char* why = dlerror();
      l.Error = std::string("the HTTP library could not be loaded: ") + (why ? why : "libcurl.so.4");
      return l;
    }
    bool all = true;
    auto find = [&](auto& fn, const char* name) {
      fn = reinterpret_cast<std::remove_reference_t<decltype(fn)>>(dlsym(so, name));
      all = all && fn;
    };
    find(l.GlobalInit, "curl_global_init");
    find(l.EasyInit, "curl_easy_init");
    find(l.SetOpt, "curl_easy_setopt");
    find(l.Perform, "curl_easy_perform");
    find(l.GetInfo, "curl_easy_getinfo");
    find(l.StrError, "curl_easy_strerror");
    find(l.Cleanup, "curl_easy_cleanup");
    find(l.SlistAppend, "curl_slist_append");
    find(l.SlistFreeAll, "curl_slist_free_all");
    if (!all) {
      l = TCurlLibrary{};
      l.Error = "the HTTP library libcurl.so.4 lacks a function the program needs";
      return l;
    }
    l.GlobalInit(CURL_GLOBAL_DEFAULT);
    return l;
  }();
  return lib;
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
  Curl();  // loaded and set up here, on the creating thread, before the worker starts
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
  const TCurlLibrary& lib = Curl();
  CURL* curl = lib.Error.empty() ? lib.EasyInit() : nullptr;
  const std::string noCurl = lib.Error.empty() ? "the HTTP library could not start" : lib.Error;
  for (;;) {
    {
      std::unique_lock<std::mutex> lock(FMutex);
      FChanged.wait(lock, [this] { return FStop || FRequested; });
      if (FStop) break;
      FRequested = false;
    }
    THttpReply reply = curl ? Perform(curl) : THttpReply{false, 0, {}, noCurl};
    {
      std::lock_guard<std::mutex> lock(FMutex);
      FReply = std::move(reply);
      FBusy = false;
    }
    FChanged.notify_all();
  }
  if (curl) lib.Cleanup(curl);
  std::lock_guard<std::mutex> lock(FMutex);
  FBusy = false;
  FChanged.notify_all();
}

THttpReply THttpFetcher::Perform(void* handle) {
  CURL* curl = static_cast<CURL*>(handle);
  const TCurlLibrary& lib = Curl();
  const auto set = lib.SetOpt;
  THttpReply reply;
  TTransfer t{&reply.Body, FOptions.MaxBodyBytes, FOptions.MaxHeaderBytes, 0, false, false, &FAbort};
  const std::string accept = "Accept: " + FOptions.Accept;
  curl_slist* headers = lib.SlistAppend(nullptr, accept.c_str());

  set(curl, CURLOPT_URL, FUrl.c_str());
  set(curl, CURLOPT_PROTOCOLS_STR, "http,https");
  set(curl, CURLOPT_REDIR_PROTOCOLS_STR, "http,https");
  set(curl, CURLOPT_FOLLOWLOCATION, 1L);
  set(curl, CURLOPT_MAXREDIRS, FOptions.MaxRedirects);
  set(curl, CURLOPT_CONNECTTIMEOUT_MS, FOptions.ConnectTimeoutMs);
  set(curl, CURLOPT_TIMEOUT_MS, FOptions.TotalTimeoutMs);
  set(curl, CURLOPT_NOSIGNAL, 1L);  // no alarm signals: this is a thread of a program
  set(curl, CURLOPT_SSL_VERIFYPEER, 1L);
  set(curl, CURLOPT_SSL_VERIFYHOST, 2L);
  if (!FOptions.CaFile.empty()) set(curl, CURLOPT_CAINFO, FOptions.CaFile.c_str());
  set(curl, CURLOPT_NETRC, static_cast<long>(CURL_NETRC_OPTIONAL));
  set(curl, CURLOPT_MAXFILESIZE_LARGE, static_cast<curl_off_t>(FOptions.MaxBodyBytes));
  set(curl, CURLOPT_HTTPHEADER, headers);
  set(curl, CURLOPT_USERAGENT, "varnel/1.0");
  set(curl, CURLOPT_WRITEFUNCTION, OnBody);
  set(curl, CURLOPT_WRITEDATA, &t);
  set(curl, CURLOPT_HEADERFUNCTION, OnHeader);
  set(curl, CURLOPT_HEADERDATA, &t);
  set(curl, CURLOPT_XFERINFOFUNCTION, OnProgress);
  set(curl, CURLOPT_XFERINFODATA, &t);
  set(curl, CURLOPT_NOPROGRESS, 0L);

  const CURLcode code = lib.Perform(curl);
  lib.GetInfo(curl, CURLINFO_RESPONSE_CODE, &reply.Status);
  set(curl, CURLOPT_HTTPHEADER, nullptr);
  lib.SlistFreeAll(headers);

  if (t.BodyTooBig || code == CURLE_FILESIZE_EXCEEDED) {
    reply.Error = "the reply is larger than " + std::to_string(FOptions.MaxBodyBytes >> 20) + " MiB";
  } else if (t.HeaderTooBig) {
    reply.Error = "the reply's headers are too long";
  } else if (code != CURLE_OK) {
    reply.Error = lib.StrError(code);
  } else if (reply.Status < 200 || reply.Status > 299) {
    reply.Error = "HTTP status " + std::to_string(reply.Status);
  } else {
    reply.Ok = true;
  }
  if (!reply.Ok && (reply.Status < 400 || !reply.Error.starts_with("HTTP status"))) reply.Body.clear();
  return reply;
}

}  // namespace varnel
