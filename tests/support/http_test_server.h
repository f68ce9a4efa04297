// A loopback HTTP server for the Wine tests, in the test's own process.
//
//   test::HttpTestServer server;                    // any free port on 127.0.0.1
//   server.Answer("/wifi/kaiguan4.txt", test::Page("1"));
//   server.Answer("/gone", test::Page("<html>", "HTTP/1.1 404 Not Found"));
//   ... HttpReadResource(server.Url("/wifi/kaiguan4.txt")) ...
//   EXPECT_EQ(test::RequestLine(server.Requests()[0]), "GET /wifi/kaiguan4.txt HTTP/1.0");
//
// It listens on 127.0.0.1, accepts on a thread of its own and serves every
// connection on a further thread, so a silent or slow answer holds up only its
// own client. Each connection carries one request: the head is read, recorded,
// answered, and the connection closed. Answers are looked up by the request
// target as sent ("/a?b=c"), then by the target without its query; a target
// with no answer gets "HTTP/1.1 404 Not Found" and the body "no answer".
// Stop() (or the destructor) wakes every wait, closes every socket and joins
// every thread; it returns promptly even while answers are held back.
#pragma once

// Winsock 2 has to come before windows.h, which would pull in the old winsock.h.
#include <winsock2.h>
#include <windows.h>

#include <cstddef>
#include <cstdint>
#include <map>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace pavrelin::test {

struct HttpAnswer {
  enum class Framing {
    kContentLength,  // "Content-Length: <body size>"; the body follows
    kUntilClose,     // no length: the body ends where the connection closes
    kChunked,        // "Transfer-Encoding: chunked", the body in chunk_size pieces
  };
  std::string status_line = "HTTP/1.1 200 OK";  // without its line break
  std::string body;
  Framing framing = Framing::kContentLength;
  std::size_t chunk_size = 7;        // for kChunked
  std::vector<std::string> headers;  // extra header lines, e.g. "Location: /next"
  // Cut mid-body: close after this many bytes of what follows the head (the
  // chunk framing counts too). SIZE_MAX sends everything.
  std::size_t cut_after = SIZE_MAX;
  DWORD cut_delay_ms = 0;     // wait this long before cutting, so the client has read the rest
  bool reset_at_cut = false;  // at the cut, a hard reset (RST) instead of a close
  DWORD delay_ms = 0;         // wait this long after the request before answering
  bool silent = false;        // read the request, never answer, hold the connection
};

// A plain answer with a Content-Length.
HttpAnswer Page(const std::string& body, const std::string& status_line = "HTTP/1.1 200 OK");
// A redirect answer, "302 Found" by default.
HttpAnswer Redirect(const std::string& location,
                    const std::string& status_line = "HTTP/1.1 302 Found");

class HttpTestServer {
 public:
  // port 0 takes any free port. Check ok(): the port may be taken.
  explicit HttpTestServer(unsigned short port = 0);
  ~HttpTestServer();
  HttpTestServer(const HttpTestServer&) = delete;
  HttpTestServer& operator=(const HttpTestServer&) = delete;

  bool ok() const { return listener_ != INVALID_SOCKET; }
  unsigned short port() const { return port_; }
  // "http://127.0.0.1:<port>" + path_and_query.
  std::string Url(const std::string& path_and_query) const;

  // Sets (or replaces) the answer for a request target; safe while running.
  void Answer(const std::string& target, const HttpAnswer& answer);

  // Every request head received so far, raw: request line and header lines,
  // each ending in "\r\n", without the closing blank line.
  std::vector<std::string> Requests() const;
  // Connections accepted so far, also those that sent no complete request.
  std::size_t ConnectionCount() const;
  // Polls until at least count requests have arrived or timeout_ms has passed.
  bool WaitForRequests(std::size_t count, DWORD timeout_ms) const;

  void Stop();

 private:
  void AcceptLoop();
  void Serve(SOCKET connection);
  HttpAnswer AnswerFor(const std::string& target) const;

  SOCKET listener_ = INVALID_SOCKET;
  unsigned short port_ = 0;
  HANDLE stop_ = nullptr;  // manual-reset event: set once, wakes every wait
  std::thread acceptor_;
  mutable std::mutex mutex_;
  std::map<std::string, HttpAnswer> answers_;
  std::vector<std::string> requests_;
  std::size_t connections_ = 0;
  std::vector<std::thread> servers_;
  bool wsa_started_ = false;
};

// The first line of a recorded request, without its line break.
std::string RequestLine(const std::string& request);
// The value of a header of a recorded request ("" if absent); the name is
// matched without regard to case, the value has its surrounding blanks removed.
std::string RequestHeader(const std::string& request, const std::string& name);

}  // namespace pavrelin::test
