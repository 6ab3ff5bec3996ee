#include "download/download_texts.h"

#include <array>
#include <string_view>

#include "framework/convert.h"
#include "framework/io_error.h"

namespace {

// The bind statuses, each at the position of its code.
constexpr std::array<std::string_view, 57> kBindStatus = {
    "The operation was successful",
    "Finding resource...",
    "Connecting...",
    "Server redirecting client...",
    "Beginning to download data...",
    "Downloading data...",
    "Ending data download...",
    "Beginning to download components...",
    "Installing components...",
    "Ending component download...",
    "Using cached copy...",
    "Sending request...",
    "CLSID available...",
    "MIME type available...",
    "Cache file name available...",
    "Synchronous operation has started...",
    "Ending synchronous operation...",
    "Beginning to upload data...",
    "Uploading data...",
    "Ending data upload...",
    "Protocol handler CLSID is available...",
    "Encoding data...",
    "Verified MIME type is available...",
    "Class install location is available...",
    "Decoding data...",
    "Pluggable MIME handler is being loaded...",
    "Content-Disposition resource is an attachment...",
    "New MIME type available for resource...",
    "CLSID to return on BindToObject...",
    "IUnknown interface has been released...",
    "Connected directly to the pluggable protocol handler...",
    "Raw MIME type...",
    "Proxy server has been detected...",
    "Valid types of range requests...",
    "A cookie was sent",
    "A Platform for Privacy Preferences was received.",
    "A cookie was suppressed from being sent to the web server.",
    "A a cookie has been initialized. ",
    "A cookie sent by the server was accepted.",
    "A cookie sent by the server was rejected.",
    "User settings require a prompt before performing a cookie operation.",
    "A cookie is a leashed cookie.",
    "A cookie is a downgraded cookie.",
    "HTTP headers contain a link to the full privacy policy",
    "HTTP response from the server contains the P3P privacy header",
    "A session cookie was received.",
    "A persistent cookie was received. ",
    "The session cookies are allowed.",
    "A response from the server was written to memory only.",
    "The Content-Disposition header contains a file name.",
    "The reported Content-Type of the file does not match the content. ",
    "The publisher name is being downloaded and is available.",
    "The display name being downloaded and is available.",
    "A problem with the SSL certificate.",
    "Server's authoritative MIME type reported",
    "Class identifier (CLSID) generated from authoritative Content-Type HTTP response header",
    "Download progress values are above the maximum 32-bit file size limit.",
};

struct CodeText {
  uint32_t code;
  std::string_view text;
};

// HTTP statuses, network security errors and result codes.
constexpr CodeText kCodes[] = {
    {100, "Continue"},
    {101, "Switching Protocols"},
    {200, "OK"},
    {201, "Created"},
    {202, "Accepted"},
    {203, "Non-Authoritative Information"},
    {204, "No Content"},
    {205, "Reset Content"},
    {206, "Partial Content"},
    {300, "Multiple Choices"},
    {301, "Moved Permanently"},
    {302, "Moved Temporarily"},
    {303, "See Other"},
    {304, "Not Modified"},
    {305, "Use Proxy"},
    {400, "Bad Request"},
    {401, "Unauthorized"},
    {402, "Payment Required"},
    {403, "Forbidden"},
    {404, "Not Found"},
    {405, "Method Not Allowed"},
    {406, "None Acceptable"},
    {407, "Proxy Authentication Required"},
    {408, "Request Timeout"},
    {409, "Conflict"},
    {410, "Gone"},
    {411, "Length Required"},
    {412, "Precondition Failed"},
    {413, "Request Entity Too Large"},
    {414, "Request-URI Too Long"},
    {415, "Unsupported Media Type"},
    {416, "Requested Range Not Satisfiable"},
    {417, "Expectation Failed"},
    {500, "Internal Server Error"},
    {501, "Not Implemented"},
    {502, "Bad Gateway"},
    {503, "Service Unavailable"},
    {504, "Gateway Timeout"},
    {505, "HTTP Version Not Supported"},
    {12037,
     "SSL certificate date that was received from the server is bad. The certificate is expired."},
    {12038,
     "SSL certificate common name (host name field) is incorrect???for example, if you entered "
     "www.example.com and the common name on the certificate says www.example.org."},
    {12039, "The application is moving from a non-SSL to an SSL connection because of a redirect."},
    {12040,
     "The application is moving from an SSL to an non-SSL connection because of a redirect."},
    {12041,
     "The content is not entirely secure. Some of the content being viewed may have come from "
     "unsecured servers."},
    {12042,
     "The application is posting and attempting to change multiple lines of text on a server "
     "that is not secure."},
    {12043, "The application is posting data to a server that is not secure."},
    {12044, "The server is requesting client authentication."},
    {12045,
     "The function is unfamiliar with the Certificate Authority that generated the server's "
     "certificate."},
    {12046, "Client authorization is not set up on this computer."},
    {12054, "The requested resource requires Fortezza authentication."},
    {12168, "The redirection requires user confirmation."},
    {12170, "SSL certificate was revoked."},
    {0x401E8, "Asynchronous mode."},
    {0x80004001, "Not implemented"},
    {0x80004002, "No such interface supported"},
    {0x80004004, "Operation Aborted."},
    {0x80004005, "Failed"},
    {0x8000FFFF, "Catastrophic failure"},
    {0x80030005, "Unable to access the storage object."},
    {0x800401E0,
     "The operation was unable to connect to the storage, possibly because a network "
     "device could not be connected to. For more information, see IMoniker::BindToObject."},
    {0x800401E1,
     "The operation could not be completed within the time limit specified by the bind "
     "context's BIND_OPTS structure."},
    {0x800401E2, "Moniker needs to be generic."},
    {0x800401E3, "Operation unavailable."},
    {0x800401E4, "A moniker could not be created because of invalid URL syntax."},
    {0x800401E5, "No object for moniker."},
    {0x800401E6, "Bad extension for file."},
    {0x800401E7,
     "An intermediate object was found but it did not support an interface required for "
     "an operation. For example, an item moniker returns this value if its container "
     "does not support the IOleItemContainer interface."},
    {0x800401E8, "Moniker is not bindable."},
    {0x800401E9, "Moniker is not bound."},
    {0x800401EA, "Moniker cannot open file."},
    {0x800401EB, "User input required for operation to succeed."},
    {0x800401EC, "Moniker class has no inverse."},
    {0x800401ED, "The object identified by the moniker does not have its own storage."},
    {0x800401EE, "No common prefix."},
    {0x800401EF, "Moniker could not be enumerated"},
    {0x80070005, "Access Denied."},
    {0x8007000E, "There was insufficient memory ..."},
    {0x80070057, "One or more parameters are invalid."},
    {0x800BFD18, "Permission to download is declined."},
    {0x800BFE18, "Result is dispatched."},
    {0x800BFF18, "Cannot replace a protected System File Protection (SFP) file."},
    {0x800C0002, "The URL could not be parsed."},
    {0x800C0003, "No Internet session was established."},
    {0x800C0004, "The attempt to connect to the Internet has failed."},
    {0x800C0005, "The server or proxy was not found."},
    {0x800C0006, "The object was not found."},
    {0x800C0007, "An Internet connection was established, but the data cannot be retrieved."},
    {0x800C0008, "The download has failed (the connection was interrupted)."},
    {0x800C0009, "Authentication is needed to access the object."},
    {0x800C000A, "The object is not in one of the acceptable MIME types."},
    {0x800C000B, "The Internet connection has timed out."},
    {0x800C000C, "The request was invalid."},
    {0x800C000D,
     "The protocol is not known and no pluggable protocols have been entered that match."},
    {0x800C000E, "A security problem was encountered."},
    {0x800C000F, "The object could not be loaded."},
    {0x800C0010, "CoCreateInstance failed."},
    {0x800C0011, "Use the default action."},
    {0x800C0012, "Use the default settings."},
    {0x800C0013, "The requested option is unknown."},
    {0x800C0014, "The request is being redirected."},
    {0x800C0015, "The request is being redirected to a directory."},
    {0x800C0016, "The requested resource could not be locked."},
    {0x800C0017, "Re-issue request with extended Binding."},
    {0x800C0018, "Binding is terminated."},
};

static_assert(kBindStatus.size() + std::size(kCodes) == 161);

}  // namespace

std::string DownloadStatusText(int32_t code) {
  if (code >= 0 && code < static_cast<int32_t>(kBindStatus.size()))
    return std::string(kBindStatus[static_cast<size_t>(code)]);
  for (const CodeText& row : kCodes)
    if (row.code == static_cast<uint32_t>(code)) return std::string(row.text);
  return "Unknown Response: " + std::to_string(code) + " " +
         efir::SystemErrorMessage(static_cast<unsigned long>(code));
}

std::string DataFlagsText(uint32_t flags) {
  switch (flags) {
    case 1:
      return "Identifed the first call to OnDataAvailable.";
    case 2:
      return "Identifed the intermediate call to OnDataAvailable.";
    case 4:
      return "Identifed the last call to OnDataAvailable.";
    case 8:
      return "All of the requested data is available.";
    case 16:
      return "Size of the data available is unknown.";
    default:
      return DownloadStatusText(static_cast<int32_t>(flags));
  }
}

std::string DurationText(int32_t seconds) {
  return efir::Format("%2.2d:%2.2d:%2.2d", seconds / 3600 % 60, seconds / 60 % 60, seconds % 60);
}

std::string SizeText(double bytes) {
  if (bytes <= 0) return "";
  if (bytes < 1024) return efir::Format("%.2n b", bytes);
  bytes /= 1024;
  if (bytes < 1024) return efir::Format("%.2n Kb", bytes);
  return efir::Format("%.2n Mb", bytes / 1024);
}
