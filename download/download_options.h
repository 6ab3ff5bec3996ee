// The download component's option enumerations with the platform values of their members,
// and its small setting records (proxy, byte range, security).
#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "download/option_set.h"

// Bind flags: each member is 2 to the power of its position.
enum class TBindF {
  Asynchronous,
  AsyncStorage,
  NoProgressiveRendering,
  OfflineOperation,
  GetNewestVersion,
  NoWriteCache,
  NeedFile,
  PullData,
  IgnoreSecurityProblem,
  Resynchronize,
  AllowHyperlink,
  No_UI,
  SilentOperation,
  Pragma_No_Cache,
  GetClassObject,
  Reserved_1,
  Free_Threaded,
  DirectReadIgnoreSize,
  HandleAsFormsSubmit,
  GetFromCacheIfNetFail,
  FromUrlmon,
  FisrtTryCache,
  PreferDefaultHandler,
  RestrictedSitesZone
};
inline constexpr auto kBindFValues = [] {
  std::array<uint32_t, 24> values{};
  for (size_t i = 0; i < values.size(); ++i) values[i] = uint32_t{1} << i;
  return values;
}();

enum class TBindF2 {
  DisableBasicAuth,
  DisableAutoCookie,
  DisableRedirectUnlessSID,
  ReadDataOver4GB,
  Reserved_2,
  Reserved_11
};
inline constexpr std::array<uint32_t, 6> kBindF2Values = {
    0x1, 0x2, 0x4, 0x8, 0x40000000, 0x80000000,
};

enum class TBindInfoF { PostData, ExtraInfo };
inline constexpr std::array<uint32_t, 2> kBindInfoFValues = {0x1, 0x2};

enum class TBindInfoOption {
  UseBindInfoOptions,
  EnableUtf8,
  DisableUtf8,
  UseIE_Encoding,
  BindToObject,
  SecurityOptOut,
  IgnoreMimeTextPlain,
  UseBindStrCredentials,
  IgnoreHttp2HttpsRedirect,
  IgnoreSslErrOnce,
  WpcDownloadBlocked,
  WpcLoggingEnabled,
  DisableAutoRedirect,
  ShDocVw_Reserved,
  AllowConnectMessages
};
inline constexpr std::array<uint32_t, 15> kBindInfoOptionValues = {
    0x10000,   0x20000,   0x40000,   0x80000,    0x100000,   0x200000,   0x400000,  0x800000,
    0x1000000, 0x2000000, 0x8000000, 0x10000000, 0x40000000, 0x80000000, 0x20000000};

enum class TBindVerb { Get, Post, Put, Custom };

enum class TCodePageOption { Ansi, OEM, Mac, ThreadsAnsi, Symbol, UTF7, UTF8 };
inline constexpr std::array<uint32_t, 7> kCodePageValues = {0, 1, 2, 3, 42, 65000, 65001};

enum TDownloadMethod { dmStream, dmFile };
enum TFileExistsOption { feOverWrite, feSkip, feRename };
enum TState { sBusy, sReady, sStopped };
// How a transfer runs: a moniker binding, the platform's download-to-file or -to-cache-file call.
enum class TDownloadKind { Moniker, ToFile, ToCacheFile };
enum TMultiDownloadOptions { doAll, doOnlyImages, doOnlyPages };

struct TProxySettings {
  bool AutoLoadProxy = false;
  int Port = 80;
  std::string Server;
};

// The first and last byte to ask for; 0 means from the start and to the end.
struct TRange {
  int64_t RangeBegin = 0;
  int64_t RangeEnd = 0;
};

struct TSecurity {
  bool InheritHandle = false;
  std::string Descriptor;
};
