// Reading a web resource and probing the Internet connection, through WinINet.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

#include "platform/text.h"

namespace pavrelin {

// The body of the response to a GET of url, whatever its status; empty bytes
// when nothing could be read. Bodies past 256 MiB are refused (empty bytes).
// Redirects are followed, ten in a row at most. A server silent for 30 s
// breaks the read off as a dropped connection would.
Bytes HttpReadResource(const std::string& url);

// HttpReadResource for a download that is of use only whole, such as a
// program: empty bytes also when the transfer broke off, that is when a read
// failed or the body is shorter or longer than the Content-Length announced.
Bytes HttpReadWholeResource(const std::string& url);

// True when the system has a connection and the probe page answers at all.
bool ProbeInternetConnection();

// A body larger than this is refused as a whole: a hostile or broken server
// could otherwise make the program hold any amount of memory.
inline constexpr std::size_t kMaxBodyBytes = std::size_t{256} << 20;

// HttpReadResource with the size cap given; HttpReadResource passes kMaxBodyBytes.
Bytes HttpReadResourceUpTo(const std::string& url, std::size_t max_body_bytes);

// ProbeInternetConnection against the given address; the program's own probe
// asks the build's probe address.
bool ProbeInternetConnectionAt(const std::string& probe_url);

// How many bytes each read of a body asks for, from the response's
// Content-Length text: the length plus one, at most 102,400; 10,240 when the
// header is missing, unreadable or not greater than zero. Only sizes the reads.
std::size_t ReadPieceSize(const std::string& content_length);

// The length a Content-Length text announces: its decimal digits, with blanks
// around them allowed. Nothing when the text is missing, holds anything else
// or a number past 64 bits.
std::optional<std::uint64_t> AnnouncedLength(const std::string& content_length);

}  // namespace pavrelin
