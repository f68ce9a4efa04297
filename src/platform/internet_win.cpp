#include <windows.h>
#include <wininet.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <optional>

#include "build_config.h"
#include "platform/internet.h"
#include "platform/win_handles.h"

namespace pavrelin {

namespace {

void CloseInternetHandle(HINTERNET handle) { ::InternetCloseHandle(handle); }
using UniqueInternet = Unique<HINTERNET, CloseInternetHandle>;

constexpr char kReadUserAgent[] = "Mozilla/4.0 (compatible; MSIE 6.0; Windows NT 5.0)";
constexpr char kProbeUserAgent[] = "test";

// How long a request waits for a server to take it or to send the next
// bytes. Wine's WinINet has no such limit of its own: a server that accepts
// and never answers would freeze the window for good.
constexpr DWORD kNetworkWaitMs = 30000;
// Wine's WinINet also follows a loop of redirects for ever, so they are
// followed by hand, this many at most.
constexpr int kMaxRedirects = 10;

// The reads share one client handle for the life of the process; a failed
// open leaves it empty, so the next read tries again.
HINTERNET ReadClient() {
  static UniqueInternet client;
  if (!client)
    client.reset(InternetOpenA(kReadUserAgent, INTERNET_OPEN_TYPE_DIRECT, nullptr, nullptr, 0));
  return client.get();
}

std::string Piece(const char* text, DWORD length) {
  return text ? std::string(text, length) : std::string();
}

bool EqualsAsciiNoCase(const std::string& text, const char* lower) {
  std::size_t at = 0;
  for (; at < text.size() && lower[at]; ++at) {
    const char c = text[at] >= 'A' && text[at] <= 'Z' ? text[at] - 'A' + 'a' : text[at];
    if (c != lower[at]) return false;
  }
  return at == text.size() && !lower[at];
}

// Without ICU_NO_ENCODE, WinINet would turn a blank into %20 and so on; the
// address is sent as the caller wrote it.
std::string Canonicalize(const std::string& url) {
  std::string canonical(url.size() * 3 + 32, '\0');
  DWORD length = static_cast<DWORD>(canonical.size());
  if (!InternetCanonicalizeUrlA(url.c_str(), canonical.data(), &length, ICU_NO_ENCODE)) {
    if (GetLastError() != ERROR_INSUFFICIENT_BUFFER) return {};
    canonical.assign(length + 1, '\0');
    length = static_cast<DWORD>(canonical.size());
    if (!InternetCanonicalizeUrlA(url.c_str(), canonical.data(), &length, ICU_NO_ENCODE)) return {};
  }
  canonical.resize(length);
  return canonical;
}

std::string QueryText(HINTERNET request, DWORD what) {
  char text[64];
  DWORD size = sizeof text;
  if (!HttpQueryInfoA(request, what, text, &size, nullptr)) return {};
  return std::string(text, size < sizeof text ? size : 0);
}

std::string LocationOf(HINTERNET request) {
  std::string location(2048, '\0');
  DWORD size = static_cast<DWORD>(location.size());
  if (!HttpQueryInfoA(request, HTTP_QUERY_LOCATION, location.data(), &size, nullptr)) {
    if (GetLastError() != ERROR_INSUFFICIENT_BUFFER) return {};
    location.assign(size + 1, '\0');
    if (!HttpQueryInfoA(request, HTTP_QUERY_LOCATION, location.data(), &size, nullptr)) return {};
  }
  location.resize(size);
  return location;
}

// The address a redirect leads to: its Location, which may be relative, read
// against the address that was asked for.
std::string RedirectTarget(const std::string& from, const std::string& location) {
  std::string combined(from.size() + location.size() + 64, '\0');
  DWORD length = static_cast<DWORD>(combined.size());
  if (!InternetCombineUrlA(from.c_str(), location.c_str(), combined.data(), &length, ICU_NO_ENCODE))
    return {};
  combined.resize(length);
  return combined;
}

bool IsFollowedRedirect(const std::string& status) {
  return status == "301" || status == "302" || status == "303" || status == "307" ||
         status == "308";
}

// Where a GET of an http or https address goes.
struct HttpTarget {
  std::string host, user, password, path;
  INTERNET_PORT port = 0;
  DWORD flags = 0;
};

std::optional<HttpTarget> TargetOf(const std::string& url) {
  const std::string canonical = Canonicalize(url);
  if (canonical.empty()) return std::nullopt;

  // Null pointers with non-zero lengths ask for pointers into canonical.
  URL_COMPONENTSA parts{};
  parts.dwStructSize = sizeof parts;
  parts.dwSchemeLength = parts.dwHostNameLength = parts.dwUserNameLength = 1;
  parts.dwPasswordLength = parts.dwUrlPathLength = parts.dwExtraInfoLength = 1;
  if (!InternetCrackUrlA(canonical.c_str(), 0, 0, &parts)) return std::nullopt;

  HttpTarget target;
  const std::string scheme = Piece(parts.lpszScheme, parts.dwSchemeLength);
  // RELOAD and NO_CACHE_WRITE: always from the server, never into the cache.
  // Redirects are followed below, by hand.
  target.flags =
      INTERNET_FLAG_RELOAD | INTERNET_FLAG_NO_CACHE_WRITE | INTERNET_FLAG_NO_AUTO_REDIRECT;
  if (EqualsAsciiNoCase(scheme, "https"))
    target.flags |= INTERNET_FLAG_SECURE;
  else if (!EqualsAsciiNoCase(scheme, "http"))
    return std::nullopt;

  target.host = Piece(parts.lpszHostName, parts.dwHostNameLength);
  target.user = Piece(parts.lpszUserName, parts.dwUserNameLength);
  target.password = Piece(parts.lpszPassword, parts.dwPasswordLength);
  target.port = parts.nPort;
  target.path = Piece(parts.lpszUrlPath, parts.dwUrlPathLength) +
                Piece(parts.lpszExtraInfo, parts.dwExtraInfoLength);
  // The fragment belongs to the reader of the page, never to the server.
  target.path.erase(std::min(target.path.find('#'), target.path.size()));
  if (target.path.empty()) target.path = "/";
  return target;
}

// A GET on its way: the connection and its request, which closes first.
struct Exchange {
  UniqueInternet connection;
  UniqueInternet request;
};

// Sends a GET for target through client; false when no answer came back.
bool SendGet(HINTERNET client, const HttpTarget& target, const char* version, const char* headers,
             Exchange& exchange) {
  exchange.connection.reset(InternetConnectA(
      client, target.host.c_str(), target.port, target.user.empty() ? nullptr : target.user.c_str(),
      target.password.empty() ? nullptr : target.password.c_str(), INTERNET_SERVICE_HTTP, 0, 0));
  if (!exchange.connection) return false;
  exchange.request.reset(HttpOpenRequestA(exchange.connection.get(), "GET", target.path.c_str(),
                                          version, nullptr, nullptr, target.flags, 0));
  if (!exchange.request) return false;
  // Set on the request: Wine ignores these on the client handle.
  DWORD wait_ms = kNetworkWaitMs;
  InternetSetOptionA(exchange.request.get(), INTERNET_OPTION_SEND_TIMEOUT, &wait_ms,
                     sizeof wait_ms);
  InternetSetOptionA(exchange.request.get(), INTERNET_OPTION_RECEIVE_TIMEOUT, &wait_ms,
                     sizeof wait_ms);
  const DWORD headers_length = headers ? static_cast<DWORD>(std::strlen(headers)) : 0;
  return HttpSendRequestA(exchange.request.get(), headers, headers_length, nullptr, 0) != FALSE;
}

// Reads the body of one answer; false when a read failed on the way.
bool ReadBody(HINTERNET request, std::size_t max_body_bytes, Bytes& body) {
  const std::size_t piece = ReadPieceSize(QueryText(request, HTTP_QUERY_CONTENT_LENGTH));
  for (;;) {
    const std::size_t old_size = body.size();
    body.resize(old_size + piece);
    DWORD got = 0;
    const BOOL read =
        InternetReadFile(request, body.data() + old_size, static_cast<DWORD>(piece), &got);
    body.resize(old_size + (read ? got : 0));
    if (!read) return false;
    if (got == 0 || body.size() > max_body_bytes) return true;
  }
}

Bytes ReadResource(const std::string& url, std::size_t max_body_bytes, bool whole_only) {
  if (url.empty()) return {};
  std::string address = url;
  for (int redirects = 0;; ++redirects) {
    const std::optional<HttpTarget> target = TargetOf(address);
    if (!target) return {};

    HINTERNET client = ReadClient();
    if (!client) return {};
    // Opened for direct access, then told to follow whatever proxy the system
    // is set to use; if the switch is refused, the request simply goes direct.
    INTERNET_PROXY_INFO proxy{INTERNET_OPEN_TYPE_PRECONFIG, nullptr, nullptr};
    InternetSetOptionA(client, INTERNET_OPTION_PROXY, &proxy, sizeof proxy);

    static constexpr char kAcceptAll[] = "Accept: */*";
    Exchange exchange;
    if (!SendGet(client, *target, "HTTP/1.0", kAcceptAll, exchange)) return {};
    const HINTERNET request = exchange.request.get();

    if (IsFollowedRedirect(QueryText(request, HTTP_QUERY_STATUS_CODE))) {
      const std::string location = LocationOf(request);
      if (!location.empty()) {
        if (redirects == kMaxRedirects) return {};
        address = RedirectTarget(address, location);
        continue;
      }
    }

    // The status is deliberately not looked at: an error page is a body too.
    Bytes body;
    const bool read_to_end = ReadBody(request, max_body_bytes, body);
    if (body.size() > max_body_bytes) return {};
    // A failed read ends the body: what came before it is the result, unless
    // only the whole body will do.
    if (whole_only) {
      const std::optional<std::uint64_t> announced =
          AnnouncedLength(QueryText(request, HTTP_QUERY_CONTENT_LENGTH));
      if (!read_to_end || (announced && *announced != body.size())) return {};
    }
    return body;
  }
}

}  // namespace

Bytes HttpReadResource(const std::string& url) { return HttpReadResourceUpTo(url, kMaxBodyBytes); }

Bytes HttpReadResourceUpTo(const std::string& url, std::size_t max_body_bytes) {
  return ReadResource(url, max_body_bytes, false);
}

Bytes HttpReadWholeResource(const std::string& url) {
  return ReadResource(url, kMaxBodyBytes, true);
}

bool ProbeInternetConnection() { return ProbeInternetConnectionAt(config::kProbeUrl); }

bool ProbeInternetConnectionAt(const std::string& probe_url) {
  DWORD connection_kind = 0;  // not looked at: any connection will do
  if (!InternetGetConnectedState(&connection_kind, 0)) return false;
  UniqueInternet client(
      InternetOpenA(kProbeUserAgent, INTERNET_OPEN_TYPE_PRECONFIG, nullptr, nullptr, 0));
  if (!client) return false;
  // Made by hand rather than with InternetOpenUrl, so that the request takes
  // the time limits (start-up waits for this) and a redirect counts as the
  // answer it is instead of a loop to follow.
  const std::optional<HttpTarget> target = TargetOf(probe_url);
  if (!target) return false;
  // Any response at all, an error status included, shows the network answers.
  Exchange exchange;
  return SendGet(client.get(), *target, nullptr, nullptr, exchange);
}

}  // namespace pavrelin
