// Reading web resources and probing the connection through the real WinINet,
// against a loopback server in the test's own process.
#include "support/http_test_server.h"

#include <gtest/gtest.h>

#include <cstdio>

#include "platform/internet.h"
#include "support/win_test_support.h"

namespace pavrelin {
namespace {

using test::HttpAnswer;
using Framing = HttpAnswer::Framing;

constexpr char kUserAgent[] = "Mozilla/4.0 (compatible; MSIE 6.0; Windows NT 5.0)";

std::string Text(const Bytes& bytes) { return std::string(bytes.begin(), bytes.end()); }

// Every byte value, zeros included, in a pattern that shows a shift or a gap.
std::string BinaryBody(std::size_t size) {
  std::string body(size, '\0');
  for (std::size_t i = 0; i < size; ++i) body[i] = static_cast<char>((i * 7 + i / 256) & 0xFF);
  return body;
}

HttpAnswer Framed(const std::string& body, Framing framing) {
  HttpAnswer answer = test::Page(body);
  answer.framing = framing;
  answer.chunk_size = 1000;
  return answer;
}

// The path and query of a recorded request.
std::string Target(const std::string& request) {
  const std::string line = test::RequestLine(request);
  const std::size_t start = line.find(' ') + 1;
  return line.substr(start, line.rfind(' ') - start);
}

class HttpRead : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(server_.ok()); }
  std::string Read(const std::string& path) { return Text(HttpReadResource(server_.Url(path))); }

  test::HttpTestServer server_;
};

TEST_F(HttpRead, SendsAPlainHttp10GetWithTheFixedHeaders) {
  server_.Answer("/wifi/kaiguan4.txt", test::Page("1"));
  EXPECT_EQ(Read("/wifi/kaiguan4.txt"), "1");
  const std::vector<std::string> requests = server_.Requests();
  ASSERT_EQ(requests.size(), 1u);
  EXPECT_EQ(test::RequestLine(requests[0]), "GET /wifi/kaiguan4.txt HTTP/1.0");
  EXPECT_EQ(test::RequestHeader(requests[0], "User-Agent"), kUserAgent);
  EXPECT_EQ(test::RequestHeader(requests[0], "Accept"), "*/*");
  EXPECT_EQ(test::RequestHeader(requests[0], "Host"),
            "127.0.0.1:" + std::to_string(server_.port()));
  EXPECT_EQ(test::RequestHeader(requests[0], "Referer"), "");
}

TEST_F(HttpRead, AlwaysAsksTheServerEvenForACacheableAnswer) {
  HttpAnswer first = test::Page("first");
  first.headers = {"Cache-Control: public, max-age=3600", "Expires: Thu, 01 Jan 2099 00:00:00 GMT"};
  server_.Answer("/wifi/ruanjian.txt", first);
  EXPECT_EQ(Read("/wifi/ruanjian.txt"), "first");
  server_.Answer("/wifi/ruanjian.txt", test::Page("second"));
  EXPECT_EQ(Read("/wifi/ruanjian.txt"), "second");
  EXPECT_EQ(server_.Requests().size(), 2u);
}

TEST_F(HttpRead, ReadsTheWholeBodyOfAnyAnswer) {
  const struct Case {
    const char* path;
    HttpAnswer answer;
  } cases[] = {
      {"/missing", test::Page("<html><body>404 Not Found</body></html>", "HTTP/1.1 404 Not Found")},
      {"/broken", test::Page("server error page", "HTTP/1.0 500 Internal Server Error")},
      {"/empty", test::Page("")},
      {"/large", test::Page(BinaryBody(300000))},  // several pieces of 102,400 bytes
      {"/no-length", Framed(BinaryBody(50000), Framing::kUntilClose)},
      {"/chunked", Framed(BinaryBody(50000), Framing::kChunked)},
      {"/chunked-empty", Framed("", Framing::kChunked)},
  };
  for (const Case& c : cases) server_.Answer(c.path, c.answer);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.path);
    const std::string body = Read(c.path);
    EXPECT_EQ(body.size(), c.answer.body.size());
    EXPECT_TRUE(body == c.answer.body);
  }
}

TEST_F(HttpRead, SendsThePathAndQueryWithoutTheFragment) {
  server_.Answer("/page", test::Page("page"));
  const std::string host = "127.0.0.1:" + std::to_string(server_.port());
  const struct Case {
    std::string url;
    const char* request_line;
  } cases[] = {
      {"http://" + host + "/page#part", "GET /page HTTP/1.0"},
      {"Http://" + host + "/page", "GET /page HTTP/1.0"},
      {"HTTP://" + host + "/page?x=1&y=%41#part#more", "GET /page?x=1&y=%41 HTTP/1.0"},
      {"http://" + host + "/a/../page", "GET /page HTTP/1.0"},
      {"http://" + host, "GET / HTTP/1.0"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.url);
    const std::size_t before = server_.Requests().size();
    const Bytes body = HttpReadResource(c.url);
    const std::vector<std::string> requests = server_.Requests();
    ASSERT_EQ(requests.size(), before + 1);
    EXPECT_EQ(test::RequestLine(requests.back()), c.request_line);
    if (Target(requests.back()).rfind("/page", 0) == 0) {
      EXPECT_EQ(Text(body), "page");
    }
  }
}

TEST_F(HttpRead, SendsNothingWithoutAnHttpAddress) {
  server_.Answer("/page", test::Page("page"));
  const std::string host = "127.0.0.1:" + std::to_string(server_.port());
  for (const std::string& url :
       {std::string(), "ftp://" + host + "/page", "foo://" + host + "/page",
        "file://" + host + "/page", host + "/page", std::string("http://")}) {
    SCOPED_TRACE(url);
    EXPECT_TRUE(HttpReadResource(url).empty());
  }
  // Connections are accepted in order, so once this request is in, any
  // connection made by the calls above would have been counted.
  EXPECT_EQ(Read("/page"), "page");
  EXPECT_EQ(server_.ConnectionCount(), 1u);
}

TEST_F(HttpRead, FollowsRedirects) {
  server_.Answer("/new", test::Page("moved here"));
  server_.Answer("/absolute", test::Redirect(server_.Url("/new")));
  server_.Answer("/relative", test::Redirect("/new", "HTTP/1.1 301 Moved Permanently"));
  for (const char* path : {"/absolute", "/relative"}) {
    SCOPED_TRACE(path);
    const std::size_t before = server_.Requests().size();
    EXPECT_EQ(Read(path), "moved here");
    const std::vector<std::string> requests = server_.Requests();
    ASSERT_EQ(requests.size(), before + 2);
    EXPECT_EQ(Target(requests[before]), path);
    EXPECT_EQ(Target(requests[before + 1]), "/new");
  }
}

TEST_F(HttpRead, FollowsTenRedirectsInARowAndNoMore) {
  // /hop/N leads to /hop/N-1 and so on; /hop/0 is the page.
  for (int hop = 1; hop <= 11; ++hop) {
    const char* statuses[] = {"HTTP/1.1 301 Moved Permanently", "HTTP/1.1 302 Found",
                              "HTTP/1.1 303 See Other", "HTTP/1.1 307 Temporary Redirect",
                              "HTTP/1.1 308 Permanent Redirect"};
    server_.Answer("/hop/" + std::to_string(hop),
                   test::Redirect("/hop/" + std::to_string(hop - 1), statuses[hop % 5]));
  }
  server_.Answer("/hop/0", test::Page("arrived"));
  EXPECT_EQ(Read("/hop/10"), "arrived");
  EXPECT_EQ(server_.Requests().size(), 11u);
  EXPECT_EQ(Read("/hop/11"), "") << "one redirect too many";
  EXPECT_EQ(server_.Requests().size(), 22u) << "the 11th redirect is not followed";
}

TEST_F(HttpRead, ALoopOfRedirectsEndsWithNothing) {
  server_.Answer("/a", test::Redirect(server_.Url("/b")));
  server_.Answer("/b", test::Redirect("/a"));
  const DWORD start = GetTickCount();
  EXPECT_TRUE(HttpReadResource(server_.Url("/a")).empty());
  EXPECT_LT(GetTickCount() - start, 10000u);
  EXPECT_EQ(server_.Requests().size(), 11u);
}

TEST_F(HttpRead, ARedirectWithoutAPlaceToGoIsABody) {
  server_.Answer("/nowhere", test::Page("moved, but where?", "HTTP/1.1 302 Found"));
  EXPECT_EQ(Read("/nowhere"), "moved, but where?");
}

// WinINet fills each read as far as it can and drops the data of a read that
// meets a reset, so after a reset only the reads that completed before it
// count; the bounds below are what it hands over.
TEST_F(HttpRead, KeepsWhatArrivedBeforeABreak) {
  const std::string body = BinaryBody(100000);
  const struct Case {
    const char* what;
    Framing framing;
    bool reset;
    std::size_t at_least;
    std::size_t at_most;
  } cases[] = {
      {"closed, with length", Framing::kContentLength, false, 30000, 30000},
      {"closed, no length", Framing::kUntilClose, false, 30000, 30000},
      // Chunks of 1000 bytes take 1007 on the wire: the cut comes after 29
      // whole chunks and 792 bytes of the 30th.
      {"closed, chunked", Framing::kChunked, false, 29000, 29792},
      {"reset, no length", Framing::kUntilClose, true, 20480, 30000},
      {"reset, chunked", Framing::kChunked, true, 10240, 29792},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    HttpAnswer answer = Framed(body, c.framing);
    answer.cut_after = 30000;
    answer.cut_delay_ms = 200;  // everything before the cut has reached the client
    answer.reset_at_cut = c.reset;
    server_.Answer("/cut", answer);
    const std::string got = Read("/cut");
    EXPECT_GE(got.size(), c.at_least);
    EXPECT_LE(got.size(), c.at_most);
    EXPECT_TRUE(got == body.substr(0, got.size())) << "not the start of the body";
  }
}

// A program is of use only whole: a download that broke off gives nothing,
// wherever the break came.
TEST_F(HttpRead, AWholeReadGivesAllOrNothing) {
  const std::string body = BinaryBody(100000);
  const struct Case {
    const char* what;
    Framing framing;
    std::size_t cut_after;
    bool reset;
    bool kept;
  } cases[] = {
      {"whole, with length", Framing::kContentLength, SIZE_MAX, false, true},
      {"whole, no length", Framing::kUntilClose, SIZE_MAX, false, true},
      {"whole, chunked", Framing::kChunked, SIZE_MAX, false, true},
      {"closed short of the length", Framing::kContentLength, 60000, false, false},
      {"closed one byte short", Framing::kContentLength, 99999, false, false},
      {"reset short of the length", Framing::kContentLength, 60000, true, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    HttpAnswer answer = Framed(body, c.framing);
    answer.cut_after = c.cut_after;
    answer.cut_delay_ms = 200;
    answer.reset_at_cut = c.reset;
    server_.Answer("/build.exe", answer);
    const Bytes got = HttpReadWholeResource(server_.Url("/build.exe"));
    if (c.kept)
      EXPECT_TRUE(Text(got) == body);
    else
      EXPECT_TRUE(got.empty()) << got.size() << " bytes";
  }
  server_.Answer("/moved.exe", test::Redirect("/build.exe"));
  server_.Answer("/build.exe", test::Page(body));
  EXPECT_TRUE(Text(HttpReadWholeResource(server_.Url("/moved.exe"))) == body);
}

TEST_F(HttpRead, RefusesABodyPastTheCap) {
  constexpr std::size_t kCap = 1 << 20;  // stands in for the 256 MiB of HttpReadResource
  const struct Case {
    const char* what;
    std::size_t size;
    Framing framing;
    bool kept;
  } cases[] = {
      {"at the cap", kCap, Framing::kContentLength, true},
      {"one past, with length", kCap + 1, Framing::kContentLength, false},
      {"one past, no length", kCap + 1, Framing::kUntilClose, false},
      {"far past, chunked", 3 * kCap, Framing::kChunked, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const std::string body = BinaryBody(c.size);
    HttpAnswer answer = Framed(body, c.framing);
    answer.chunk_size = 65536;
    server_.Answer("/big", answer);
    const Bytes got = HttpReadResourceUpTo(server_.Url("/big"), kCap);
    if (c.kept)
      EXPECT_TRUE(Text(got) == body);
    else
      EXPECT_TRUE(got.empty()) << got.size() << " bytes";
  }
}

TEST_F(HttpRead, WaitsForASlowServer) {
  HttpAnswer slow = test::Page("worth the wait");
  slow.delay_ms = 1500;
  server_.Answer("/slow", slow);
  EXPECT_EQ(Read("/slow"), "worth the wait");
}

// The fixture itself: a held answer must not keep Stop() from returning, and
// stopping closes the client's connection.
TEST(HttpTestServer, StopEndsAnswersThatAreHeldBack) {
  test::HttpTestServer server;
  ASSERT_TRUE(server.ok());
  HttpAnswer silent;
  silent.silent = true;
  server.Answer("/silent", silent);
  HttpAnswer slow = test::Page("late");
  slow.delay_ms = 600000;
  server.Answer("/slow", slow);

  std::vector<SOCKET> clients;
  for (const char* path : {"/silent", "/slow"}) {
    const SOCKET client = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    address.sin_port = htons(server.port());
    ASSERT_EQ(connect(client, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
    const std::string request = std::string("GET ") + path + " HTTP/1.0\r\n\r\n";
    send(client, request.data(), static_cast<int>(request.size()), 0);
    clients.push_back(client);
  }
  ASSERT_TRUE(server.WaitForRequests(2, 10000));
  server.Stop();
  for (const SOCKET client : clients) {
    char byte;
    EXPECT_LE(recv(client, &byte, 1, 0), 0) << "the connection is closed, nothing was answered";
    closesocket(client);
  }
}

TEST(HttpReadFailure, GivesEmptyBytesWhenNobodyAnswers) {
  std::string closed_port_url;
  {
    test::HttpTestServer gone;
    closed_port_url = gone.Url("/wifi/kaiguan4.txt");
  }  // stopped: nothing listens on its port any more
  for (const std::string& url : {closed_port_url, std::string("http://nonexistent.invalid/")}) {
    const DWORD start = GetTickCount();
    EXPECT_TRUE(HttpReadResource(url).empty()) << url;
    std::printf("[ measured ] %s failed after %lu ms\n", url.c_str(), GetTickCount() - start);
  }
}

// Points the system's proxy settings at a loopback server for the test's span.
class ScopedSystemProxy {
 public:
  explicit ScopedSystemProxy(unsigned short port) {
    RegCreateKeyExA(HKEY_CURRENT_USER, kKey, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key_,
                    nullptr);
    const DWORD enable = 1;
    const std::string server = "127.0.0.1:" + std::to_string(port);
    RegSetValueExA(key_, "ProxyEnable", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&enable),
                   sizeof enable);
    RegSetValueExA(key_, "ProxyServer", 0, REG_SZ, reinterpret_cast<const BYTE*>(server.c_str()),
                   static_cast<DWORD>(server.size() + 1));
  }
  ~ScopedSystemProxy() {
    const DWORD disable = 0;
    RegSetValueExA(key_, "ProxyEnable", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&disable),
                   sizeof disable);
    RegDeleteValueA(key_, "ProxyServer");
    RegCloseKey(key_);
  }

 private:
  static constexpr char kKey[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Internet Settings";
  HKEY key_ = nullptr;
};

TEST(ProbeInternetConnection, AnyAnswerOfThePortalMeansOnline) {
  test::HttpTestServer portal;
  ASSERT_TRUE(portal.ok());
  portal.Answer("/portal/", test::Page("busy", "HTTP/1.1 500 Internal Server Error"));
  EXPECT_TRUE(ProbeInternetConnectionAt(portal.Url("/portal/")));
  const std::vector<std::string> requests = portal.Requests();
  ASSERT_EQ(requests.size(), 1u);
  EXPECT_EQ(Target(requests[0]), "/portal/");
  EXPECT_EQ(test::RequestHeader(requests[0], "User-Agent"), "test");
}

TEST(ProbeInternetConnection, NoAnswerMeansOffline) {
  std::string closed_port_url;
  {
    test::HttpTestServer gone;
    closed_port_url = gone.Url("/portal/");
  }
  EXPECT_FALSE(ProbeInternetConnectionAt(closed_port_url));
  EXPECT_FALSE(ProbeInternetConnectionAt("http://nonexistent.invalid/"));
}

// Start-up waits for the probe: a portal that accepts and never answers costs
// one bounded wait, a redirect is an answer like any other.
TEST(ProbeInternetConnection, ASilentPortalIsOfflineAfterAWaitAndARedirectIsAnAnswer) {
  test::HttpTestServer portal;
  ASSERT_TRUE(portal.ok());
  HttpAnswer silent;
  silent.silent = true;
  portal.Answer("/silent/", silent);
  portal.Answer("/loop/", test::Redirect("/loop/"));
  EXPECT_TRUE(ProbeInternetConnectionAt(portal.Url("/loop/")));
  EXPECT_EQ(portal.Requests().size(), 1u) << "the redirect is not followed";

  const DWORD start = GetTickCount();
  EXPECT_FALSE(ProbeInternetConnectionAt(portal.Url("/silent/")));
  const DWORD waited = GetTickCount() - start;
  std::printf("[ measured ] a silent portal held the probe for %.1f s\n", waited / 1000.0);
  EXPECT_LT(waited, 120000u);
}

TEST(ProbeInternetConnection, GoesThroughTheSystemsProxy) {
  test::HttpTestServer proxy;
  ASSERT_TRUE(proxy.ok());
  ScopedSystemProxy system_proxy(proxy.port());
  EXPECT_TRUE(ProbeInternetConnectionAt("http://portal.invalid/"));
  const std::vector<std::string> requests = proxy.Requests();
  ASSERT_EQ(requests.size(), 1u);
  EXPECT_EQ(Target(requests[0]), "http://portal.invalid:80/");
}

}  // namespace
}  // namespace pavrelin
