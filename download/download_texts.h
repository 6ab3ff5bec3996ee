// English texts for the numbers of a download, as the download component's events show them:
// a status or result code, the flags of a data notice, a duration and a byte count.
//
//   DownloadStatusText(404);        // "Not Found"
//   DataFlagsText(BSCF_LASTDATANOTIFICATION);
//   DurationText(3661);             // "01:01:01"
//   SizeText(1048576);              // "1.00 Mb" (the process-wide number format)
#pragma once

#include <cstdint>
#include <string>

// The description of a bind status, an HTTP status, a network security error or a result code;
// for any other code "Unknown Response: <code> <the system's text for it>".
std::string DownloadStatusText(int32_t code);
// The text of one data-notice flag; a value that is not exactly one flag reads as a status code.
std::string DataFlagsText(uint32_t flags);
// "hh:mm:ss", the hours taken modulo 60.
std::string DurationText(int32_t seconds);
// Bytes, kilobytes or megabytes with two decimals and thousands separators; empty for 0 or less.
std::string SizeText(double bytes);
