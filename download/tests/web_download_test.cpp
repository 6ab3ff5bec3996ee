// The download component against the loopback HTTP server: files, lists, events, failures,
// cancelling, existing targets and the settings it changes for the whole process.
#include "download/web_download.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <regex>
#include <thread>
#include <string>
#include <vector>

#include "download/bscb.h"
#include "framework/convert.h"
#include "framework/files.h"
#include "framework/io_error.h"
#include "framework/streams.h"
#include "framework/text_encoding.h"
#include "tests/support/paths.h"
#include "tests/support/window.h"

namespace {

using efir::test::httpUrl;
using efir::text::fromAnsi;
using efir::text::toAnsi;
using testing::Contains;
using testing::HasSubstr;
using testing::Not;
using testing::Pair;

std::string servedBytes(int count) {
  std::string bytes;
  for (int i = 0; i < count; ++i) bytes += static_cast<char>(i % 251);
  return bytes;
}

std::string readFile(const std::string& path) {
  TMemoryStream data;
  data.LoadFromFile(path);
  return std::string(reinterpret_cast<const char*>(data.Memory()),
                     static_cast<size_t>(data.Size()));
}

void writeFile(const std::string& path, const std::string& content) {
  TFileStream(path, TFileStream::fmCreate).WriteBuffer(content.data(), content.size());
}

std::wstring wideUrl(const std::string& path) { return fromAnsi(httpUrl(path)); }

std::string deadUrl() {
  return "http://127.0.0.1:" + std::to_string(efir::test::httpPort() + 9) + "/x.bin";
}

TStringList lines(std::initializer_list<const char*> texts) {
  TStringList list;
  for (const char* text : texts) list.Add(text);
  return list;
}

// Whether `wanted` appears in `log` in this order (other entries may come between).
bool inOrder(const std::vector<std::string>& log, const std::vector<std::string>& wanted) {
  size_t next = 0;
  for (const std::string& entry : log)
    if (next < wanted.size() && entry.rfind(wanted[next], 0) == 0) ++next;
  return next == wanted.size();
}

class Download : public testing::Test {
 protected:
  void SetUp() override {
    saved_ = efir::FormatSettings();
    for (const TSearchRec& entry : efir::FindFiles(folder + "*.*"))
      if (!(entry.Attr & FILE_ATTRIBUTE_DIRECTORY)) efir::DeleteFile(folder + entry.Name);
    d = efir::Construct<TWebMultiDownload>(nullptr);
    d->TimeOut = 10000;
    d->OnError = [this](int code, const std::string& text) {
      errors.emplace_back(code, text);
      log.push_back("error " + text);
    };
    d->OnStateChange = [this](TState state) { log.push_back("state " + std::to_string(state)); };
    d->OnComplete = [this](TObject*, const std::wstring& path, const std::wstring&,
                           const std::wstring&, const std::wstring&, int) {
      completed.push_back(toAnsi(path));
      log.push_back("complete " + toAnsi(path));
    };
    d->OnConnect = [this](TObject*, HRESULT, const std::string& text) {
      log.push_back("connect " + text);
    };
    d->OnStopBinding = [this](TObject*, HRESULT result, const std::wstring&) {
      stopResults.push_back(result);
      log.push_back("stop");
    };
  }

  void TearDown() override {
    // Whatever happened, the component is idle again.
    EXPECT_EQ(d->ActiveConnections(), 0);
    EXPECT_EQ(d->State(), sReady);
    EXPECT_FALSE(d->Busy());
    d->Free();
    efir::FormatSettings() = saved_;
  }

  bool hasError(int code) const {
    for (const auto& e : errors)
      if (e.first == code) return true;
    return false;
  }

  const std::string folder = efir::ProgramFolder() + "Downloads\\";
  TWebMultiDownload* d = nullptr;  // gives up a transfer that stalls for 10 s (keeps waits bounded)
  std::vector<std::pair<int, std::string>> errors;
  std::vector<std::string> completed;
  std::vector<HRESULT> stopResults;
  std::vector<std::string> log;

 private:
  efir::TFormatSettings saved_;
};

TEST_F(Download, AFileArrivesWithTheServedBytes) {
  ASSERT_TRUE(d->DownloadUrl(wideUrl("bytes/300000"), L"big.bin", {}));
  EXPECT_EQ(readFile(folder + "big.bin"), servedBytes(300000));
  EXPECT_THAT(completed, testing::ElementsAre(folder + "big.bin"));
  EXPECT_TRUE(errors.empty()) << errors.front().second;
  EXPECT_THAT(stopResults, testing::ElementsAre(S_OK));
}

TEST_F(Download, DownloadToFileNamesTheFileAfterTheUrl) {
  EXPECT_EQ(d->DownloadUrlToFile(wideUrl("hello.txt")), S_OK);
  EXPECT_EQ(readFile(folder + "hello.txt"), "hello from the loopback server\n");
  EXPECT_THAT(completed, testing::ElementsAre(folder + "hello.txt"));
  EXPECT_TRUE(errors.empty());
}

TEST_F(Download, AListPutsEachAddressIntoTheFileOnTheSameLine) {
  d->DownloadUrlList(lines({httpUrl("hello.txt").c_str(), "", httpUrl("bytes/1000").c_str()}),
                     lines({"first.txt", "never.txt", "third.bin"}));
  EXPECT_EQ(readFile(folder + "first.txt"), "hello from the loopback server\n");
  EXPECT_EQ(readFile(folder + "third.bin"), servedBytes(1000));
  EXPECT_FALSE(efir::FileExists(folder + "never.txt"));
  EXPECT_THAT(completed, testing::ElementsAre(folder + "first.txt", folder + "third.bin"));
}

TEST_F(Download, StepsProgressAndStatesComeInOrder) {
  std::vector<std::string> ends;
  d->OnProgress = [&](TObject*, ULONG, ULONG, ULONG status, ULONG, const std::wstring&,
                      const std::string& downloaded, const std::string&, const std::string& speed,
                      const std::string& remaining, const std::string& text,
                      const std::string& percent) {
    log.push_back("progress " + std::to_string(status));
    if (status == BINDSTATUS_ENDDOWNLOADDATA) ends = {downloaded, speed, remaining, text, percent};
  };
  ASSERT_TRUE(d->DownloadUrl(wideUrl("bytes/20000"), L"steps.bin", {}));
  EXPECT_TRUE(inOrder(
      log, {"state 0", "connect CreateURLMonikerEx: The operation was successful",
            "connect CreateAsyncBindCtx: The operation was successful",
            "connect RegisterBindStatusCallback: The operation was successful",
            "connect MonikerBindToStorage: ", "progress 2", "progress 4", "progress 6", "stop",
            "state 2", "connect RevokeBindStatusCallback: The operation was successful", "complete",
            "state 1"}))
      << testing::PrintToString(log);
  EXPECT_THAT(ends, testing::ElementsAre("Done.", "0/00kb/sec", "00.00.00", "Done.", "100%"));
}

TEST_F(Download, DataAndStreamEventsSeeEveryByte) {
  std::string seen;
  int64_t streamed = -1;
  d->OnDataAvailable = [&](TObject*, std::vector<uint8_t>& block) {
    seen.append(block.begin(), block.end());
  };
  d->OnStreamComplete = [&](TObject*, TMemoryStream& stream, HRESULT) { streamed = stream.Size(); };
  d->DownloadMethod = dmStream;
  ASSERT_TRUE(d->DownloadUrl(wideUrl("bytes/150000"), {}, {}));
  EXPECT_EQ(seen, servedBytes(150000));
  EXPECT_EQ(streamed, 150000);
  EXPECT_TRUE(efir::FindFiles(folder + "*.bin").empty()) << "a stream download writes no file";
}

TEST_F(Download, ANotFoundAnswerIsAnErrorAndKeepsAnExistingFile) {
  writeFile(folder + "page.txt", "precious");
  EXPECT_FALSE(d->DownloadUrl(wideUrl("status/404"), L"page.txt", {}));
  EXPECT_THAT(errors, Contains(Pair(404, "Not Found")));
  ASSERT_EQ(stopResults.size(), 1u);
  EXPECT_TRUE(FAILED(stopResults[0]));
  EXPECT_EQ(readFile(folder + "page.txt"), "precious");

  EXPECT_FALSE(d->DownloadUrl(wideUrl("status/500"), L"other.txt", {}));
  EXPECT_THAT(errors, Contains(Pair(500, "Internal Server Error")));
  EXPECT_FALSE(efir::FileExists(folder + "other.txt"));
}

TEST_F(Download, ANotFoundAnswerFailsADownloadToFile) {
  HRESULT result = d->DownloadUrlToFile(wideUrl("status/404"));
  EXPECT_TRUE(FAILED(result));
  EXPECT_THAT(errors, Contains(Pair(404, "Not Found")));
  EXPECT_THAT(completed, testing::ElementsAre(folder + "index.html"));
  EXPECT_FALSE(efir::FileExists(folder + "index.html")) << readFile(folder + "index.html");
}

TEST_F(Download, AnEmptyOrCutShortBodyIsNoSuccess) {
  writeFile(efir::test::fixturePath("www/empty.txt"), "");
  EXPECT_FALSE(d->DownloadUrl(wideUrl("empty.txt"), L"empty.txt", {}));
  EXPECT_THAT(errors, Contains(Pair(200, "OK")));

  errors.clear();
  EXPECT_FALSE(d->DownloadUrl(wideUrl("truncated/100000"), L"cut.bin", {}));
  EXPECT_TRUE(hasError(static_cast<int>(INET_E_DOWNLOAD_FAILURE)))
      << testing::PrintToString(errors);
}

TEST_F(Download, ADeadPortIsAnError) {
  EXPECT_FALSE(d->DownloadUrl(fromAnsi(deadUrl()), L"dead.bin", {}));
  EXPECT_FALSE(errors.empty());
  EXPECT_FALSE(efir::FileExists(folder + "dead.bin"));
  errors.clear();
  EXPECT_TRUE(FAILED(d->DownloadUrlToFile(fromAnsi(deadUrl()))));
  // The to-file call's failure names the call and then the system's own text for it.
  const std::string call = "Error while UrlDownloadToFile";
  auto fromTheCall = std::find_if(errors.begin(), errors.end(), [&](const auto& e) {
    return e.second.rfind(call, 0) == 0;
  });
  ASSERT_NE(fromTheCall, errors.end()) << testing::PrintToString(errors);
  EXPECT_EQ(fromTheCall->second,
            call + efir::SystemErrorMessage(static_cast<unsigned long>(fromTheCall->first)));
}

TEST_F(Download, RefusedUrlsStillComplete) {
  EXPECT_FALSE(d->DownloadUrl({}, L"x", {}));
  d->ValidateUrl = true;
  EXPECT_FALSE(d->DownloadUrl(wideUrl("status/404"), L"checked.txt", {}));
  EXPECT_EQ(completed.size(), 2u);
  EXPECT_TRUE(
      inOrder(log, {"state 0", "complete", "state 1", "state 0", "error", "complete", "state 1"}))
      << testing::PrintToString(log);
  EXPECT_TRUE(d->DownloadUrl(wideUrl("hello.txt"), L"checked.txt", {}));
}

TEST_F(Download, CancelAllEndsTheTransferAndSkipsTheRestOfTheList) {
  d->OnDataAvailableInfo = [&](TObject*, DWORD, const std::string&) { d->CancelAll(); };
  d->DownloadUrlList(lines({httpUrl("bytes/3000000").c_str(), httpUrl("hello.txt").c_str()}),
                     lines({"big.bin", "hello.txt"}));
  ASSERT_EQ(stopResults.size(), 1u);
  EXPECT_TRUE(FAILED(stopResults[0]));
  EXPECT_FALSE(efir::FileExists(folder + "hello.txt"));

  // The next list runs again.
  d->OnDataAvailableInfo = nullptr;
  d->DownloadUrlList(lines({httpUrl("hello.txt").c_str()}), lines({"hello.txt"}));
  EXPECT_TRUE(efir::FileExists(folder + "hello.txt"));
}

TEST_F(Download, HandlersCanCancel) {
  d->OnTerminate = [](TObject*, DWORD, const std::wstring&, bool& cancel) { cancel = true; };
  d->DownloadUrlList(lines({httpUrl("hello.txt").c_str(), httpUrl("bytes/10").c_str()}),
                     lines({"a.txt", "b.bin"}));
  EXPECT_TRUE(efir::FileExists(folder + "a.txt"));
  EXPECT_FALSE(efir::FileExists(folder + "b.bin"));

  d->OnTerminate = nullptr;
  d->OnStartBinding = [](TObject*, bool& cancel, IBinding*) { cancel = true; };
  EXPECT_FALSE(d->DownloadUrl(wideUrl("hello.txt"), L"c.txt", {}));
  EXPECT_FALSE(efir::FileExists(folder + "c.txt"));

  d->OnStartBinding = nullptr;
  d->OnRedirect = [](TObject*, bool& abort, const std::wstring&, const std::wstring&) {
    abort = true;
  };
  EXPECT_FALSE(d->DownloadUrl(wideUrl("redirect/hello.txt"), L"d.txt", {}));
  EXPECT_FALSE(efir::FileExists(folder + "d.txt"));
}

TEST_F(Download, ARedirectIsFollowedAndALoopIsGivenUp) {
  EXPECT_TRUE(d->DownloadUrl(wideUrl("redirect/hello.txt"), L"moved.txt", {}));
  EXPECT_EQ(readFile(folder + "moved.txt"), "hello from the loopback server\n");
  EXPECT_FALSE(d->DownloadUrl(wideUrl("loop"), L"loop.txt", {}));
  EXPECT_TRUE(hasError(static_cast<int>(INET_E_REDIRECT_FAILED)));
}

TEST_F(Download, AStalledServerTimesOut) {
  d->TimeOut = 700;
  EXPECT_FALSE(d->DownloadUrl(wideUrl("slow/5000"), L"slow.txt", {}));
  EXPECT_THAT(errors, Contains(Pair(static_cast<int>(INET_E_CONNECTION_TIMEOUT),
                                    "The Internet connection has timed out.")));
}

TEST_F(Download, MessagesSentFromOtherThreadsAreHandledWhileWaiting) {
  efir::test::TestWindow window(50, 50, [](HDC, const RECT&) {});
  std::atomic<bool> downloading{true};
  std::atomic<bool> answeredDuringDownload{false};
  std::thread sender([&] {
    Sleep(200);
    SendMessageW(window.handle(), WM_NULL, 0, 0);
    answeredDuringDownload = downloading.load();
  });
  EXPECT_TRUE(d->DownloadUrl(wideUrl("slow/1200"), L"slow.txt", {}));
  downloading = false;
  efir::test::pumpUntil([&] { return false; }, 100);
  sender.join();
  EXPECT_TRUE(answeredDuringDownload);
}

TEST_F(Download, ADownloadAskedForDuringOneIsRefused) {
  bool nested = true;
  d->OnDataAvailableInfo = [&](TObject*, DWORD, const std::string&) {
    if (nested) nested = d->DownloadUrl(wideUrl("hello.txt"), L"inner.txt", {});
  };
  EXPECT_TRUE(d->DownloadUrl(wideUrl("bytes/1000"), L"outer.bin", {}));
  EXPECT_FALSE(nested);
  EXPECT_THAT(errors, Contains(Pair(E_FAIL, "A download is already under way.")));
  EXPECT_FALSE(efir::FileExists(folder + "inner.txt"));
}

TEST_F(Download, TheRequestCarriesTheAgentTheRangeAndTheExtraHeaders) {
  d->Range.RangeBegin = 100;
  ASSERT_TRUE(d->DownloadUrl(wideUrl("headers"), L"ranged.txt", {}));
  std::string sent = readFile(folder + "ranged.txt");
  EXPECT_THAT(sent, HasSubstr("Range: bytes=100-\n"));
  EXPECT_THAT(sent,
              HasSubstr("User-agent: Mozilla/4.0 (compatible; MSIE 6.0; Windows NT 5.1; SV1)()\n"));
  EXPECT_THAT(sent, HasSubstr("Content-Type: application/x-www-form-BindInfoFd"));

  d->Range.RangeBegin = 0;
  ASSERT_TRUE(d->DownloadUrl(wideUrl("headers"), L"plain.txt", {}));
  EXPECT_THAT(readFile(folder + "plain.txt"), Not(HasSubstr("Range:")));
}

TEST_F(Download, APostSendsTheFormDataAsItStands) {
  d->BindVerb = TBindVerb::Post;
  d->PostData = "a=1&b=2";
  ASSERT_TRUE(d->DownloadUrl(wideUrl("echo"), L"echo.txt", {}));
  EXPECT_EQ(readFile(folder + "echo.txt"), "a=1&b=2");
}

TEST_F(Download, ExistingTargetsAreOverwrittenSkippedOrRenamed) {
  writeFile(folder + "hello.txt", "old");
  ASSERT_TRUE(d->DownloadUrl(wideUrl("hello.txt"), L"hello.txt", {}));
  EXPECT_EQ(readFile(folder + "hello.txt"), "hello from the loopback server\n");

  writeFile(folder + "hello.txt", "old");
  d->FileExistsOption = feSkip;
  d->DownloadUrlList(lines({httpUrl("hello.txt").c_str(), httpUrl("bytes/10").c_str()}),
                     lines({"hello.txt", "next.bin"}));
  EXPECT_EQ(readFile(folder + "hello.txt"), "old");
  EXPECT_TRUE(efir::FileExists(folder + "next.bin"));
  EXPECT_EQ(completed.size(), 3u);

  d->FileExistsOption = feRename;
  ASSERT_TRUE(d->DownloadUrl(wideUrl("hello.txt"), L"hello.txt", {}));
  EXPECT_EQ(readFile(folder + "hello.txt"), "old");
  std::vector<std::string> renamed;
  for (const TSearchRec& entry : efir::FindFiles(folder + "*_hello.txt"))
    renamed.push_back(entry.Name);
  ASSERT_EQ(renamed.size(), 1u);
  EXPECT_TRUE(std::regex_match(renamed[0], std::regex("[0-9][0-9_.]*_hello\\.txt"))) << renamed[0];
  EXPECT_EQ(readFile(folder + renamed[0]), "hello from the loopback server\n");
}

TEST_F(Download, AFileExistsHandlerChoosesTheName) {
  writeFile(folder + "hello.txt", "old");
  d->OnFileExists = [](TFileExistsOption& action, const std::wstring&, std::wstring& newName) {
    action = feRename;
    newName = L"chosen.txt";
  };
  ASSERT_TRUE(d->DownloadUrl(wideUrl("hello.txt"), L"hello.txt", {}));
  EXPECT_EQ(readFile(folder + "chosen.txt"), "hello from the loopback server\n");
  EXPECT_EQ(readFile(folder + "hello.txt"), "old");
}

// The existing target is offered once when the download is prepared and again when its
// request goes out, on the to-file route as on the other.
TEST_F(Download, AnExistingTargetIsOfferedAgainWhenTheRequestGoesOut) {
  int offers = 0;
  d->OnFileExists = [&](TFileExistsOption&, const std::wstring&, std::wstring&) { ++offers; };
  for (bool toFile : {false, true}) {
    SCOPED_TRACE(toFile);
    offers = 0;
    writeFile(folder + "hello.txt", "old");
    if (toFile) {
      EXPECT_EQ(d->DownloadUrlToFile(wideUrl("hello.txt")), S_OK);
    } else {
      EXPECT_TRUE(d->DownloadUrl(wideUrl("hello.txt"), L"hello.txt", {}));
    }
    EXPECT_EQ(offers, 2);
    EXPECT_EQ(readFile(folder + "hello.txt"), "hello from the loopback server\n");
  }
}

TEST_F(Download, TheServerMayNameTheFileButNeverItsFolder) {
  ASSERT_TRUE(d->DownloadUrl(wideUrl("attach/?name=report.pdf"), {}, {}));
  EXPECT_EQ(readFile(folder + "report.pdf"), "attached\n");
  ASSERT_TRUE(d->DownloadUrl(wideUrl("attach/?name=..%5C..%5Cevil.txt"), {}, {}));
  EXPECT_EQ(readFile(folder + "evil.txt"), "attached\n");
  EXPECT_FALSE(efir::FileExists(folder + "..\\..\\evil.txt"));
}

TEST_F(Download, TimeSettingsOfTheWholeProgram) {
  efir::FormatSettings().LongTimeFormat = "hh:nn:ss";
  efir::FormatSettings().TimeSeparator = ':';
  TCustomWebDownload* other = efir::Construct<TCustomWebDownload>(nullptr);
  EXPECT_EQ(efir::FormatSettings().TimeSeparator, '_');
  EXPECT_EQ(efir::FormatSettings().LongTimeFormat, "hh:nn:ss");
  other->Free();
  ASSERT_TRUE(d->DownloadUrl(wideUrl("hello.txt"), L"t.txt", {}));
  EXPECT_EQ(efir::FormatSettings().LongTimeFormat, "mm:ss.zzz");
  EXPECT_EQ(efir::FormatSettings().TimeSeparator, '_');
}

TEST(DownloadSettings, DefaultsAndOptionValues) {
  TWebMultiDownload* d = efir::Construct<TWebMultiDownload>(nullptr);
  EXPECT_EQ(d->UserAgentHeader(),
            "User-agent: Mozilla/4.0 (compatible; MSIE 6.0; Windows NT 5.1; SV1)()\r\n");
  d->UserAgent = "efir";
  EXPECT_EQ(d->UserAgentHeader(),
            "User-agent: Mozilla/4.0 (compatible; MSIE 6.0; Windows NT 5.1; SV1)()\r\n");
  EXPECT_EQ(d->BindFValue(), 179u);
  EXPECT_EQ(d->BindF2Value(), 8u);
  EXPECT_EQ(d->BindInfoFValue(), 0u);
  EXPECT_EQ(d->BindInfoOptionsValue(), 0x20010000u);
  d->BindF2.Include(TBindF2::Reserved_11);
  EXPECT_EQ(d->BindF2Value(), 0x80000008u);
  d->CodePage = TCodePageOption::UTF8;
  EXPECT_EQ(d->CodePageValue(), 65001u);
  d->SetDefaultProtocol("");
  EXPECT_EQ(d->DefaultProtocol(), "http://");
  EXPECT_EQ(d->AdditionalHeader.Text(), "Content-Type: application/x-www-form-BindInfoFd \r\n");
  EXPECT_EQ(d->TimeOut, 0);
  d->Free();
}

// A window layout in miniature: its components load with it.
class Layout : public TComponent {
 public:
  Layout() : TComponent(nullptr) {
    SetLoading();
    download = new TWebMultiDownload(this);
  }
  TWebMultiDownload* download;
};

TEST(DownloadSettings, ALoadedLayoutsZeroTimeOutMeansTheLongestWait) {
  Layout* layout = efir::Construct<Layout>();
  EXPECT_EQ(layout->download->TimeOut, 2147483647);
  layout->Free();
}

TEST(DownloadSettings, UrlsGetASchemeUnlessTheyStartWithOne) {
  TWebMultiDownload* d = efir::Construct<TWebMultiDownload>(nullptr);
  const std::pair<const wchar_t*, const wchar_t*> cases[] = {
      {L"127.0.0.1/x.png", L"http://127.0.0.1/x.png"},
      {L"HTTPS://host.ru/x.png", L"HTTPS://host.ru/x.png"},
      {L"ftp://host.ru/x.png", L"ftp://host.ru/x.png"},
      {L"Http://host.ru/", L"Http://host.ru/"},
      {L"restream.ru/logo.png", L"http://restream.ru/logo.png"},
      {L"www.tvradio.ru/its/a.png", L"http://www.tvradio.ru/its/a.png"},
      {L"host.ru:8080/a.png", L"http://host.ru:8080/a.png"},
  };
  for (const auto& [url, normal] : cases) EXPECT_EQ(d->NormalizeUrl(url), normal) << toAnsi(url);

  EXPECT_EQ(d->FileNameFromUrl(L"http://h.ru/a/logo.png?x=1.2#f"), L"logo.png");
  EXPECT_EQ(d->FileNameFromUrl(L"http://h.ru/dir/"), L"");
  EXPECT_EQ(d->FileNameFromUrl(L"http://h.ru"), L"");
  d->Free();
}

TEST(DownloadSettings, DispositionNames) {
  EXPECT_EQ(TBSCB::DispositionFileName(L"attachment; filename=\"report.pdf\""), L"report.pdf");
  EXPECT_EQ(TBSCB::DispositionFileName(L"attachment; filename=\"report.pdf\"; size=3"),
            L"report.pdf");
  EXPECT_EQ(TBSCB::DispositionFileName(L"attachment; filename=report.pdf; size=3"), L"report.pdf");
  EXPECT_EQ(TBSCB::DispositionFileName(L"attachment; filename=\"..\\..\\x.txt\""), L"x.txt");
  EXPECT_EQ(TBSCB::DispositionFileName(L"inline"), L"");
}

}  // namespace

// The multi-download's lists keep a site's addresses once each, in order, whatever their case.
TEST(DownloadSettings, TheMultiDownloadsListsAreSortedWithoutDuplicates) {
  auto* d = efir::Construct<TWebMultiDownload>(nullptr);
  for (TStringList* list : {&d->Documents(), &d->Images(), &d->Links()}) {
    for (const char* address : {"http://b.example/", "http://A.example/", "http://a.example/"})
      list->Add(address);
    ASSERT_EQ(list->Count(), 2);
    EXPECT_EQ((*list)[0], "http://A.example/");
    EXPECT_EQ((*list)[1], "http://b.example/");
  }
  d->Free();
}
