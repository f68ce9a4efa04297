#include <windows.h>
#include <wininet.h>

#include <algorithm>

#include "build_config.h"
#include "platform/internet.h"
#include "platform/win_handles.h"

namespace pavrelin {

namespace {

void CloseInternetHandle(HINTERNET handle) { ::InternetCloseHandle(handle); }
using UniqueInternet = Unique<HINTERNET, CloseInternetHandle>;

constexpr char kReadUserAgent[] = "Mozilla/4.0 (compatible; MSIE 6.0; Windows NT 5.0)";
constexpr char kProbeUserAgent[] = "test";

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

std::string ContentLengthText(HINTERNET request) {
  char text[64];
  DWORD size = sizeof text;
  if (!HttpQueryInfoA(request, HTTP_QUERY_CONTENT_LENGTH, text, &size, nullptr)) return {};
  return std::string(text, size < sizeof text ? size : 0);
}

}  // namespace

Bytes HttpReadResource(const std::string& url) { return HttpReadResourceUpTo(url, kMaxBodyBytes); }

Bytes HttpReadResourceUpTo(const std::string& url, std::size_t max_body_bytes) {
  if (url.empty()) return {};
  const std::string canonical = Canonicalize(url);
  if (canonical.empty()) return {};

  // Null pointers with non-zero lengths ask for pointers into canonical.
  URL_COMPONENTSA parts{};
  parts.dwStructSize = sizeof parts;
  parts.dwSchemeLength = parts.dwHostNameLength = parts.dwUserNameLength = 1;
  parts.dwPasswordLength = parts.dwUrlPathLength = parts.dwExtraInfoLength = 1;
  if (!InternetCrackUrlA(canonical.c_str(), 0, 0, &parts)) return {};

  const std::string scheme = Piece(parts.lpszScheme, parts.dwSchemeLength);
  DWORD flags = INTERNET_FLAG_RELOAD | INTERNET_FLAG_NO_CACHE_WRITE;
  if (EqualsAsciiNoCase(scheme, "https"))
    flags |= INTERNET_FLAG_SECURE;
  else if (!EqualsAsciiNoCase(scheme, "http"))
    return {};

  const std::string host = Piece(parts.lpszHostName, parts.dwHostNameLength);
  const std::string user = Piece(parts.lpszUserName, parts.dwUserNameLength);
  const std::string password = Piece(parts.lpszPassword, parts.dwPasswordLength);
  std::string path = Piece(parts.lpszUrlPath, parts.dwUrlPathLength) +
                     Piece(parts.lpszExtraInfo, parts.dwExtraInfoLength);
  // The fragment belongs to the reader of the page, never to the server.
  path.erase(std::min(path.find('#'), path.size()));
  if (path.empty()) path = "/";

  HINTERNET client = ReadClient();
  if (!client) return {};
  // Opened for direct access, then told to follow whatever proxy the system is
  // set to use; if the switch is refused, the request simply goes direct.
  INTERNET_PROXY_INFO proxy{INTERNET_OPEN_TYPE_PRECONFIG, nullptr, nullptr};
  InternetSetOptionA(client, INTERNET_OPTION_PROXY, &proxy, sizeof proxy);

  UniqueInternet connection(
      InternetConnectA(client, host.c_str(), parts.nPort, user.empty() ? nullptr : user.c_str(),
                       password.empty() ? nullptr : password.c_str(), INTERNET_SERVICE_HTTP, 0, 0));
  if (!connection) return {};
  // RELOAD and NO_CACHE_WRITE: always from the server, never into the cache.
  // Redirects are followed (no INTERNET_FLAG_NO_AUTO_REDIRECT).
  UniqueInternet request(HttpOpenRequestA(connection.get(), "GET", path.c_str(), "HTTP/1.0",
                                          nullptr, nullptr, flags, 0));
  if (!request) return {};
  static constexpr char kAcceptAll[] = "Accept: */*";
  if (!HttpSendRequestA(request.get(), kAcceptAll, sizeof kAcceptAll - 1, nullptr, 0)) return {};

  // The status is deliberately not looked at: an error page is a body too.
  const std::size_t piece = ReadPieceSize(ContentLengthText(request.get()));
  Bytes body;
  for (;;) {
    const std::size_t old_size = body.size();
    body.resize(old_size + piece);
    DWORD got = 0;
    const BOOL read =
        InternetReadFile(request.get(), body.data() + old_size, static_cast<DWORD>(piece), &got);
    body.resize(old_size + (read ? got : 0));
    // A failed read ends the body: what came before it is the result.
    if (!read || got == 0) break;
    if (body.size() > max_body_bytes) return {};
  }
  return body;
}

bool ProbeInternetConnection() { return ProbeInternetConnectionAt(config::kProbeUrl); }

bool ProbeInternetConnectionAt(const std::string& probe_url) {
  DWORD connection_kind = 0;  // not looked at: any connection will do
  if (!InternetGetConnectedState(&connection_kind, 0)) return false;
  UniqueInternet client(
      InternetOpenA(kProbeUserAgent, INTERNET_OPEN_TYPE_PRECONFIG, nullptr, nullptr, 0));
  if (!client) return false;
  // Any response at all, an error status included, shows the network answers.
  UniqueInternet response(
      InternetOpenUrlA(client.get(), probe_url.c_str(), nullptr, 0, INTERNET_FLAG_RELOAD, 0));
  return static_cast<bool>(response);
}

}  // namespace pavrelin
