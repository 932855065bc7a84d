// TTestServer: a listening socket on 127.0.0.1, a thread per connection.
#include "tests/remote/TestServer.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>

namespace varnel::test {

TTestServer::TTestServer(THandler handler) : FHandler(std::move(handler)) {
  FListen = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
  sockaddr_in a{};
  a.sin_family = AF_INET;
  a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  a.sin_port = 0;
  bind(FListen, reinterpret_cast<sockaddr*>(&a), sizeof a);
  listen(FListen, 16);
  socklen_t len = sizeof a;
  getsockname(FListen, reinterpret_cast<sockaddr*>(&a), &len);
  FPort = ntohs(a.sin_port);
  FAcceptor = std::thread([this] { Accept(); });
}

TTestServer::~TTestServer() {
  FStop = true;
  shutdown(FListen, SHUT_RDWR);
  {
    std::lock_guard<std::mutex> lock(FMutex);
    for (int fd : FOpen) shutdown(fd, SHUT_RDWR);
  }
  FAcceptor.join();
  for (std::thread& t : FThreads) t.join();
  close(FListen);
}

std::string TTestServer::LastRequest() const {
  std::lock_guard<std::mutex> lock(FMutex);
  return FLastRequest;
}

void TTestServer::Accept() {
  while (!FStop) {
    pollfd p{FListen, POLLIN, 0};
    if (poll(&p, 1, 50) <= 0) continue;
    const int fd = accept4(FListen, nullptr, nullptr, SOCK_CLOEXEC);
    if (fd < 0) continue;
    std::lock_guard<std::mutex> lock(FMutex);
    if (FStop) {
      close(fd);
      break;
    }
    FOpen.push_back(fd);
    FThreads.emplace_back([this, fd] { Serve(fd); });
  }
}

void TTestServer::Serve(int fd) {
  TConnection c;
  c.FFd = fd;
  c.FServer = this;
  // The request's head, up to its blank line.
  char buf[4096];
  while (!FStop && c.FRequest.find("\r\n\r\n") == std::string::npos && c.FRequest.size() < 65536) {
    pollfd p{fd, POLLIN, 0};
    if (poll(&p, 1, 50) <= 0) continue;
    const ssize_t n = recv(fd, buf, sizeof buf, 0);
    if (n <= 0) break;
    c.FRequest.append(buf, static_cast<std::size_t>(n));
  }
  if (!FStop && c.FRequest.find("\r\n\r\n") != std::string::npos) {
    ++FRequests;
    {
      std::lock_guard<std::mutex> lock(FMutex);
      FLastRequest = c.FRequest;
    }
    FHandler(c);
  }
  std::lock_guard<std::mutex> lock(FMutex);
  std::erase(FOpen, fd);
  close(fd);
}

bool TTestServer::TConnection::Send(const std::string& data) {
  std::size_t done = 0;
  while (done < data.size()) {
    if (FServer->FStop) return false;
    pollfd p{FFd, POLLOUT, 0};
    if (poll(&p, 1, 50) <= 0) continue;
    const ssize_t n = send(FFd, data.data() + done, data.size() - done, MSG_NOSIGNAL);
    if (n <= 0) return false;
    done += static_cast<std::size_t>(n);
    FServer->FBytesSent += static_cast<std::size_t>(n);
  }
  return true;
}

bool TTestServer::TConnection::Sleep(int ms) {
  const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
  while (std::chrono::steady_clock::now() < end) {
    if (FServer->FStop) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
  return !FServer->FStop;
}

std::string HttpReply(int status, const std::string& body, const std::string& extraHeaders) {
  return "HTTP/1.1 " + std::to_string(status) + " Test\r\nContent-Length: " + std::to_string(body.size()) +
         "\r\nConnection: close\r\n" + extraHeaders + "\r\n" + body;
}

TChildProcess::TChildProcess(const std::vector<std::string>& argv, const std::string& directory,
                             const std::string& log) {
  // Everything the child needs is made before the fork: other threads may hold the heap's lock.
  std::vector<char*> args;
  for (const std::string& a : argv) args.push_back(const_cast<char*>(a.c_str()));
  args.push_back(nullptr);
  FPid = fork();
  if (FPid != 0) return;
  // The child: its own directory and log, then the program.
  if (chdir(directory.c_str()) != 0) _exit(126);
  const int out = open(log.c_str(), O_WRONLY | O_CREAT | O_APPEND, 0644);
  if (out >= 0) {
    dup2(out, 1);
    dup2(out, 2);
  }
  execvp(args[0], args.data());
  _exit(127);
}

void TChildProcess::Stop() {
  if (FPid <= 0) return;
  kill(FPid, SIGTERM);
  for (int i = 0; i < 100; ++i) {
    if (waitpid(FPid, nullptr, WNOHANG) == FPid) {
      FPid = -1;
      return;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
  kill(FPid, SIGKILL);
  waitpid(FPid, nullptr, 0);
  FPid = -1;
}

bool WaitForPort(int port, double seconds) {
  const auto end = std::chrono::steady_clock::now() + std::chrono::duration<double>(seconds);
  while (std::chrono::steady_clock::now() < end) {
    const int fd = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    a.sin_port = htons(static_cast<std::uint16_t>(port));
    const bool up = connect(fd, reinterpret_cast<sockaddr*>(&a), sizeof a) == 0;
    close(fd);
    if (up) return true;
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
  }
  return false;
}

int FreePort() {
  const int fd = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
  sockaddr_in a{};
  a.sin_family = AF_INET;
  a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  bind(fd, reinterpret_cast<sockaddr*>(&a), sizeof a);
  socklen_t len = sizeof a;
  getsockname(fd, reinterpret_cast<sockaddr*>(&a), &len);
  close(fd);
  return ntohs(a.sin_port);
}

}  // namespace varnel::test
