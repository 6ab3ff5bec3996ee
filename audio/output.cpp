#include "audio/output.h"

#include <mmsystem.h>

#include <cstdio>
#include <string>
#include <vector>

namespace audio {
namespace {

constexpr WORD kChannels = 2;
constexpr WORD kBits = 16;

WAVEFORMATEX pcmFormat(DWORD rate) {
  WAVEFORMATEX format{};
  format.wFormatTag = WAVE_FORMAT_PCM;
  format.nChannels = kChannels;
  format.nSamplesPerSec = rate;
  format.wBitsPerSample = kBits;
  format.nBlockAlign = kChannels * kBits / 8;
  format.nAvgBytesPerSec = rate * format.nBlockAlign;
  return format;
}

// A ring of buffers handed to waveOut in turn; writing waits for the oldest to come back.
class WaveOutput : public Output {
 public:
  static std::unique_ptr<WaveOutput> open(DWORD rate, DWORD queueMs) {
    auto out = std::unique_ptr<WaveOutput>(new WaveOutput());
    WAVEFORMATEX format = pcmFormat(rate);
    if (waveOutOpen(&out->device_, WAVE_MAPPER, &format, reinterpret_cast<DWORD_PTR>(out->done_),
                    0, CALLBACK_EVENT) != MMSYSERR_NOERROR) {
      out->device_ = nullptr;
      return nullptr;
    }
    std::size_t frames =
        std::max<std::size_t>(std::size_t{rate} * std::max<DWORD>(queueMs, 40) / 1000 / kBuffers, 256);
    for (Buffer& b : out->buffers_) {
      b.samples.assign(frames * kChannels, 0);
      b.header.lpData = reinterpret_cast<LPSTR>(b.samples.data());
      b.header.dwBufferLength = static_cast<DWORD>(frames * kChannels * sizeof(std::int16_t));
      waveOutPrepareHeader(out->device_, &b.header, sizeof(WAVEHDR));
      b.header.dwFlags |= WHDR_DONE;
    }
    return out;
  }

  ~WaveOutput() override {
    if (device_) {
      waveOutReset(device_);
      for (Buffer& b : buffers_)
        if (b.header.dwFlags & WHDR_PREPARED)
          waveOutUnprepareHeader(device_, &b.header, sizeof(WAVEHDR));
      waveOutClose(device_);
    }
    CloseHandle(done_);
  }

  bool write(const std::int16_t* stereo, std::size_t frames) override {
    while (frames > 0) {
      Buffer& b = buffers_[next_];
      // A device that stops returning buffers must not hang the mixer for ever.
      for (int tries = 0; !(b.header.dwFlags & WHDR_DONE); ++tries) {
        if (tries == 100) return false;
        WaitForSingleObject(done_, 50);
      }
      std::size_t n = std::min(frames, b.samples.size() / kChannels);
      std::copy(stereo, stereo + n * kChannels, b.samples.begin());
      b.header.dwBufferLength = static_cast<DWORD>(n * kChannels * sizeof(std::int16_t));
      b.header.dwFlags &= ~WHDR_DONE;
      if (waveOutWrite(device_, &b.header, sizeof(WAVEHDR)) != MMSYSERR_NOERROR) {
        b.header.dwFlags |= WHDR_DONE;
        return false;
      }
      next_ = (next_ + 1) % kBuffers;
      stereo += n * kChannels;
      frames -= n;
    }
    return true;
  }

 private:
  static constexpr std::size_t kBuffers = 4;
  struct Buffer {
    std::vector<std::int16_t> samples;
    WAVEHDR header{};
  };

  WaveOutput() : done_(CreateEventW(nullptr, FALSE, FALSE, nullptr)) {}

  HWAVEOUT device_ = nullptr;
  HANDLE done_;
  Buffer buffers_[kBuffers];
  std::size_t next_ = 0;
};

// A RIFF WAVE file whose sizes are brought up to date after every write, so that it is
// complete whenever it is read.
class WavOutput : public Output {
 public:
  static std::unique_ptr<WavOutput> open(const std::wstring& path, DWORD rate) {
    FILE* file = _wfopen(path.c_str(), L"wb");
    if (!file) return nullptr;
    auto out = std::unique_ptr<WavOutput>(new WavOutput(file, rate));
    out->writeHeader();
    return out;
  }

  ~WavOutput() override { std::fclose(file_); }

  bool write(const std::int16_t* stereo, std::size_t frames) override {
    std::size_t bytes = frames * kChannels * sizeof(std::int16_t);
    if (std::fwrite(stereo, 1, bytes, file_) != bytes) return false;
    dataBytes_ += static_cast<std::uint32_t>(bytes);
    writeHeader();
    return std::fflush(file_) == 0;
  }

 private:
  WavOutput(FILE* file, DWORD rate) : file_(file), rate_(rate) {}

  void writeHeader() {
    WAVEFORMATEX format = pcmFormat(rate_);
    auto put32 = [&](std::uint32_t v) { std::fwrite(&v, 4, 1, file_); };
    auto put16 = [&](std::uint16_t v) { std::fwrite(&v, 2, 1, file_); };
    std::fseek(file_, 0, SEEK_SET);
    std::fwrite("RIFF", 1, 4, file_);
    put32(36 + dataBytes_);
    std::fwrite("WAVEfmt ", 1, 8, file_);
    put32(16);
    put16(format.wFormatTag);
    put16(format.nChannels);
    put32(format.nSamplesPerSec);
    put32(format.nAvgBytesPerSec);
    put16(format.nBlockAlign);
    put16(format.wBitsPerSample);
    std::fwrite("data", 1, 4, file_);
    put32(dataBytes_);
    std::fseek(file_, 0, SEEK_END);
  }

  FILE* file_;
  DWORD rate_;
  std::uint32_t dataBytes_ = 0;
};

std::wstring wavPathFromEnvironment() {
  wchar_t path[MAX_PATH * 2];
  DWORD n = GetEnvironmentVariableW(L"EFIR_AUDIO_WAV", path, static_cast<DWORD>(std::size(path)));
  return n > 0 && n < std::size(path) ? std::wstring(path, n) : std::wstring();
}

}  // namespace

std::unique_ptr<Output> openOutput(DWORD rate, DWORD queueMs) {
  std::wstring wav = wavPathFromEnvironment();
  if (!wav.empty()) return WavOutput::open(wav, rate);
  return WaveOutput::open(rate, queueMs);
}

}  // namespace audio
