#include "support/http_test_server.h"

#include <ws2tcpip.h>

#include <algorithm>
#include <cstdio>

#include "support/win_test_support.h"

namespace pavrelin::test {

namespace {

constexpr std::size_t kMaxHeadBytes = 64 * 1024;
constexpr DWORD kHeadTimeoutMs = 10000;
// After the answer, how long the client gets to close its end first, so that
// closing ours never turns into a reset that could swallow the answer's tail.
constexpr DWORD kLingerMs = 2000;

// One accepted socket, driven by events so that every wait also wakes on stop.
class Connection {
 public:
  Connection(SOCKET socket, HANDLE stop) : socket_(socket), stop_(stop), event_(WSACreateEvent()) {
    WSAEventSelect(socket_, event_, FD_READ | FD_WRITE | FD_CLOSE);
  }
  ~Connection() {
    if (socket_ != INVALID_SOCKET) closesocket(socket_);
    WSACloseEvent(event_);
  }
  Connection(const Connection&) = delete;
  Connection& operator=(const Connection&) = delete;

  // Reads up to the blank line that ends a request head. False when the peer
  // closed or went quiet first, or the server stopped.
  bool ReadHead(std::string& head) {
    const DWORD start = GetTickCount();
    while (head.find("\r\n\r\n") == std::string::npos) {
      if (head.size() > kMaxHeadBytes) return false;
      char buffer[4096];
      const int got = recv(socket_, buffer, sizeof buffer, 0);
      if (got > 0) {
        head.append(buffer, got);
        continue;
      }
      if (got == 0 || WSAGetLastError() != WSAEWOULDBLOCK) return false;
      const DWORD waited = GetTickCount() - start;
      if (waited >= kHeadTimeoutMs || !Wait(kHeadTimeoutMs - waited)) return false;
    }
    return true;
  }

  bool SendAll(const char* data, std::size_t size) {
    while (size > 0) {
      const int sent = send(socket_, data, static_cast<int>(std::min<std::size_t>(size, 65536)), 0);
      if (sent > 0) {
        data += sent;
        size -= sent;
        continue;
      }
      if (WSAGetLastError() != WSAEWOULDBLOCK || !Wait(INFINITE)) return false;
    }
    return true;
  }

  // Sends FIN, waits (bounded) for the client's own close, then closes.
  void CloseGracefully() {
    shutdown(socket_, SD_SEND);
    const DWORD start = GetTickCount();
    for (;;) {
      char buffer[4096];
      const int got = recv(socket_, buffer, sizeof buffer, 0);
      if (got > 0) continue;
      if (got == 0 || WSAGetLastError() != WSAEWOULDBLOCK) break;
      const DWORD waited = GetTickCount() - start;
      if (waited >= kLingerMs || !Wait(kLingerMs - waited)) break;
    }
  }

  // A zero linger time makes the close send RST at once.
  void Reset() {
    const linger hard{1, 0};
    setsockopt(socket_, SOL_SOCKET, SO_LINGER, reinterpret_cast<const char*>(&hard), sizeof hard);
    closesocket(socket_);
    socket_ = INVALID_SOCKET;
  }

  // True when the wait ran its course, false when the server stopped.
  bool Pause(DWORD ms) { return WaitForSingleObject(stop_, ms) == WAIT_TIMEOUT; }
  void WaitForStop() { WaitForSingleObject(stop_, INFINITE); }

 private:
  // Waits for a network event; false on stop or timeout.
  bool Wait(DWORD timeout_ms) {
    const HANDLE handles[] = {stop_, event_};
    if (WaitForMultipleObjects(2, handles, FALSE, timeout_ms) != WAIT_OBJECT_0 + 1) return false;
    WSANETWORKEVENTS events;
    WSAEnumNetworkEvents(socket_, event_, &events);
    return true;
  }

  SOCKET socket_;
  HANDLE stop_;
  WSAEVENT event_;
};

std::string TargetOf(const std::string& head) {
  const std::string line = RequestLine(head);
  const std::size_t start = line.find(' ');
  if (start == std::string::npos) return {};
  const std::size_t end = line.find(' ', start + 1);
  return line.substr(start + 1, end == std::string::npos ? std::string::npos : end - start - 1);
}

std::string WireHead(const HttpAnswer& answer) {
  std::string head = answer.status_line + "\r\n";
  if (answer.framing == HttpAnswer::Framing::kContentLength)
    head += "Content-Length: " + std::to_string(answer.body.size()) + "\r\n";
  else if (answer.framing == HttpAnswer::Framing::kChunked)
    head += "Transfer-Encoding: chunked\r\n";
  for (const std::string& line : answer.headers) head += line + "\r\n";
  return head + "Connection: close\r\n\r\n";
}

std::string WirePayload(const HttpAnswer& answer) {
  if (answer.framing != HttpAnswer::Framing::kChunked) return answer.body;
  std::string payload;
  const std::size_t step = std::max<std::size_t>(answer.chunk_size, 1);
  for (std::size_t at = 0; at < answer.body.size(); at += step) {
    const std::string chunk = answer.body.substr(at, step);
    char size[20];
    std::snprintf(size, sizeof size, "%zx\r\n", chunk.size());
    payload += size + chunk + "\r\n";
  }
  return payload + "0\r\n\r\n";
}

}  // namespace

HttpAnswer Page(const std::string& body, const std::string& status_line) {
  HttpAnswer answer;
  answer.status_line = status_line;
  answer.body = body;
  return answer;
}

HttpAnswer Redirect(const std::string& location, const std::string& status_line) {
  HttpAnswer answer;
  answer.status_line = status_line;
  answer.headers.push_back("Location: " + location);
  return answer;
}

HttpTestServer::HttpTestServer(unsigned short port) {
  WSADATA data;
  wsa_started_ = WSAStartup(MAKEWORD(2, 2), &data) == 0;
  stop_ = CreateEventA(nullptr, TRUE, FALSE, nullptr);
  SOCKET listener = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
  if (listener == INVALID_SOCKET) return;
  // Lets a server on a fixed port start again while the last one's
  // connections linger in TIME_WAIT.
  const BOOL reuse = TRUE;
  setsockopt(listener, SOL_SOCKET, SO_REUSEADDR, reinterpret_cast<const char*>(&reuse),
             sizeof reuse);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  address.sin_port = htons(port);
  int length = sizeof address;
  if (bind(listener, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
      listen(listener, SOMAXCONN) != 0 ||
      getsockname(listener, reinterpret_cast<sockaddr*>(&address), &length) != 0) {
    closesocket(listener);
    return;
  }
  listener_ = listener;
  port_ = ntohs(address.sin_port);
  acceptor_ = std::thread([this] { AcceptLoop(); });
}

HttpTestServer::~HttpTestServer() {
  Stop();
  if (listener_ != INVALID_SOCKET) closesocket(listener_);
  if (stop_) CloseHandle(stop_);
  if (wsa_started_) WSACleanup();
}

std::string HttpTestServer::Url(const std::string& path_and_query) const {
  return "http://127.0.0.1:" + std::to_string(port_) + path_and_query;
}

void HttpTestServer::Answer(const std::string& target, const HttpAnswer& answer) {
  std::lock_guard<std::mutex> lock(mutex_);
  answers_[target] = answer;
}

std::vector<std::string> HttpTestServer::Requests() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return requests_;
}

std::size_t HttpTestServer::ConnectionCount() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return connections_;
}

bool HttpTestServer::WaitForRequests(std::size_t count, DWORD timeout_ms) const {
  return WaitUntil([&] { return Requests().size() >= count; }, timeout_ms);
}

void HttpTestServer::Stop() {
  if (stop_) SetEvent(stop_);
  if (acceptor_.joinable()) acceptor_.join();
  // The acceptor has ended, so no server thread is added any more.
  for (std::thread& server : servers_)
    if (server.joinable()) server.join();
  servers_.clear();
  if (listener_ != INVALID_SOCKET) {
    closesocket(listener_);
    listener_ = INVALID_SOCKET;
  }
}

void HttpTestServer::AcceptLoop() {
  const WSAEVENT ready = WSACreateEvent();
  WSAEventSelect(listener_, ready, FD_ACCEPT);
  const HANDLE handles[] = {stop_, ready};
  for (;;) {
    const SOCKET connection = accept(listener_, nullptr, nullptr);
    if (connection == INVALID_SOCKET) {
      if (WSAGetLastError() != WSAEWOULDBLOCK) break;
      if (WaitForMultipleObjects(2, handles, FALSE, INFINITE) != WAIT_OBJECT_0 + 1) break;
      WSANETWORKEVENTS events;
      WSAEnumNetworkEvents(listener_, ready, &events);
      continue;
    }
    std::lock_guard<std::mutex> lock(mutex_);
    ++connections_;
    servers_.emplace_back([this, connection] { Serve(connection); });
  }
  WSACloseEvent(ready);
}

HttpAnswer HttpTestServer::AnswerFor(const std::string& target) const {
  std::lock_guard<std::mutex> lock(mutex_);
  auto found = answers_.find(target);
  if (found == answers_.end()) found = answers_.find(target.substr(0, target.find('?')));
  if (found != answers_.end()) return found->second;
  HttpAnswer missing;
  missing.status_line = "HTTP/1.1 404 Not Found";
  missing.body = "no answer";
  return missing;
}

void HttpTestServer::Serve(SOCKET socket) {
  Connection connection(socket, stop_);
  std::string head;
  if (!connection.ReadHead(head)) return;
  head.erase(head.find("\r\n\r\n") + 2);
  {
    std::lock_guard<std::mutex> lock(mutex_);
    requests_.push_back(head);
  }
  const HttpAnswer answer = AnswerFor(TargetOf(head));
  if (answer.silent) return connection.WaitForStop();
  if (answer.delay_ms > 0 && !connection.Pause(answer.delay_ms)) return;

  const std::string wire_head = WireHead(answer);
  const std::string payload = WirePayload(answer);
  const std::size_t sent = std::min(answer.cut_after, payload.size());
  if (!connection.SendAll(wire_head.data(), wire_head.size()) ||
      !connection.SendAll(payload.data(), sent))
    return;
  if (sent < payload.size()) {
    if (answer.cut_delay_ms > 0 && !connection.Pause(answer.cut_delay_ms)) return;
    if (answer.reset_at_cut) return connection.Reset();
  }
  connection.CloseGracefully();
}

std::string RequestLine(const std::string& request) {
  return request.substr(0, request.find("\r\n"));
}

std::string RequestHeader(const std::string& request, const std::string& name) {
  const auto lower = [](std::string text) {
    for (char& c : text)
      if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return text;
  };
  const std::string wanted = lower(name) + ":";
  std::size_t at = request.find("\r\n");
  while (at != std::string::npos && at + 2 < request.size()) {
    const std::size_t start = at + 2;
    at = request.find("\r\n", start);
    const std::string line = request.substr(start, at == std::string::npos ? at : at - start);
    if (lower(line.substr(0, wanted.size())) != wanted) continue;
    const std::size_t first = line.find_first_not_of(" \t", wanted.size());
    const std::size_t last = line.find_last_not_of(" \t");
    return first == std::string::npos ? std::string() : line.substr(first, last - first + 1);
  }
  return {};
}

}  // namespace pavrelin::test
