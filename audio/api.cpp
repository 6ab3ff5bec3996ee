// The library's calls: each checks its arguments and the handle, does its work on the
// stream, mixer or settings, and reports failure through the calling thread's error code.
// No exception leaves a call.
#include <cctype>
#include <cmath>
#include <optional>
#include <string_view>

#include "audio/audio.h"
#include "audio/handle_table.h"
#include "audio/mixer.h"
#include "audio/open_abort.h"

namespace audio {
namespace {

thread_local Error lastError_ = Error::None;

// The options; they belong to the process and outlive BASS_Free.
struct Settings {
  std::atomic<DWORD> playbackMs{500};
  std::atomic<DWORD> timeoutMs{17000};
  std::atomic<DWORD> bufferMs{5000};
  std::atomic<DWORD> prebufferPercent{100};
  std::atomic<bool> followPlaylists{false};
  std::atomic<DWORD> updateThreads{1};
  std::atomic<const char*> agent{nullptr};
  std::atomic<const char*> proxy{nullptr};
  std::atomic<StreamFormats> formats{formatBit(StreamFormat::Mp3)};  // grows with the plug-ins
};

struct Device {
  std::mutex m;
  DWORD rate = 0;
  std::unique_ptr<Mixer> mixer;  // set while initialised
};

Settings settings;
Device device;
HandleTable handles;

template <typename T>
T fail(Error error, T result) {
  lastError_ = error;
  return result;
}

constexpr std::uint64_t kNoPosition = ~std::uint64_t{0};

// Runs a call's body with the error code cleared; anything thrown becomes Error::Unknown.
template <typename T, typename Body>
T guarded(T failed, Body body) {
  lastError_ = Error::None;
  try {
    return body();
  } catch (...) {
    return fail(Error::Unknown, failed);
  }
}

std::string textAt(const char* text) { return text ? text : ""; }

ChannelSetup setupFor(DWORD handle, DWORD rate, DWORD flags, DownloadProc proc, void* user) {
  ChannelSetup setup;
  setup.handle = handle;
  setup.rate = rate;
  setup.net.agent = textAt(settings.agent);
  setup.net.proxy = textAt(settings.proxy);
  setup.net.timeoutMs = std::max<DWORD>(settings.timeoutMs, 100);
  setup.net.followPlaylists = settings.followPlaylists;
  setup.bufferMs = settings.bufferMs;
  setup.prebufferPercent = settings.prebufferPercent;
  setup.proc = proc;
  setup.user = user;
  setup.headersToProc = (flags & StreamHeadersToProc) != 0;
  setup.formats = settings.formats;
  return setup;
}

// The decoders are built in: a plug-in's file name, in whatever folder, picks the format it
// adds. The file itself is not needed.
std::optional<StreamFormat> pluginFormat(std::string_view path) {
  std::string_view name = path.substr(path.find_last_of("\\/") + 1);
  auto is = [&](std::string_view plugin) {
    return name.size() == plugin.size() &&
           std::equal(name.begin(), name.end(), plugin.begin(), [](char a, char b) {
             return std::tolower(static_cast<unsigned char>(a)) == b;
           });
  };
  if (is("bass_aac.dll")) return StreamFormat::Aac;
  if (is("basswma.dll")) return StreamFormat::Wma;
  return std::nullopt;
}

constexpr DWORD kPluginHandles = 0x7F000000;  // a plug-in's handle: this plus its format's bit

// The stream of a handle, or null with Error::BadHandle set.
std::shared_ptr<Channel> streamOf(DWORD handle) {
  auto stream = handles.stream(handle);
  if (!stream) lastError_ = Error::BadHandle;
  return stream;
}

}  // namespace

Error lastError() { return lastError_; }

ChannelState channelState(DWORD handle) {
  return guarded(ChannelState::Stopped, [&] {
    auto stream = streamOf(handle);
    return stream ? stream->state() : ChannelState::Stopped;
  });
}

}  // namespace audio

using namespace audio;

DWORD WINAPI BASS_PluginLoad(const char* file, DWORD) {
  return guarded(DWORD{0}, [&]() -> DWORD {
    auto format = pluginFormat(file ? file : "");
    if (!format) return fail(Error::NotAvailable, DWORD{0});
    settings.formats |= formatBit(*format);
    return kPluginHandles + formatBit(*format);
  });
}

BOOL WINAPI BASS_Init(int deviceNumber, DWORD freq, DWORD, HWND, const void*) {
  return guarded(FALSE, [&]() -> BOOL {
    if (deviceNumber != -1) return fail(Error::NoDevice, FALSE);
    if (freq < 8000 || freq > 192000) return fail(Error::BadParameter, FALSE);
    std::lock_guard lock(device.m);
    if (device.mixer) return fail(Error::AlreadyInitialised, FALSE);
    auto output = openOutput(freq, settings.playbackMs);
    if (!output) return fail(Error::NoDevice, FALSE);
    device.rate = freq;
    device.mixer = std::make_unique<Mixer>(std::move(output));
    return TRUE;
  });
}

BOOL WINAPI BASS_Free() {
  return guarded(FALSE, [&]() -> BOOL {
    std::unique_ptr<Mixer> mixer;
    {
      std::lock_guard lock(device.m);
      if (!device.mixer) return fail(Error::NotInitialised, FALSE);
      mixer = std::move(device.mixer);
    }
    for (auto& stream : handles.removeAll()) stream->free();
    mixer.reset();  // the mixer calls no user code: joining it cannot deadlock
    return TRUE;
  });
}

BOOL WINAPI BASS_RecordFree() {
  lastError_ = Error::None;
  return TRUE;
}

BOOL WINAPI BASS_SetConfig(DWORD option, DWORD value) {
  return guarded(FALSE, [&]() -> BOOL {
    switch (option) {
      case ConfigPlaybackBuffer: settings.playbackMs = value; break;
      case ConfigNetTimeout: settings.timeoutMs = value; break;
      case ConfigNetBuffer: settings.bufferMs = value; break;
      case ConfigNetPrebuffer: settings.prebufferPercent = std::min<DWORD>(value, 100); break;
      case ConfigNetPlaylist: settings.followPlaylists = value != 0; break;
      case ConfigUpdateThreads: settings.updateThreads = value; break;
      default: return fail(Error::BadParameter, FALSE);
    }
    return TRUE;
  });
}

BOOL WINAPI BASS_SetConfigPtr(DWORD option, const void* value) {
  return guarded(FALSE, [&]() -> BOOL {
    const char* text = static_cast<const char*>(value);
    switch (option) {
      case ConfigNetAgent: settings.agent = text; break;
      case ConfigNetProxy: settings.proxy = text; break;
      default: return fail(Error::BadParameter, FALSE);
    }
    return TRUE;
  });
}

DWORD WINAPI BASS_StreamCreateURL(const char* url, DWORD offset, DWORD flags, DownloadProc proc,
                                  void* user) {
  if (offset != 0) return fail(Error::BadParameter, DWORD{0});
  OpenAbort never;
  return audio::streamCreateUrl(url, flags, proc, user, never);
}

DWORD audio::streamCreateUrl(const char* url, DWORD flags, DownloadProc proc, void* user,
                             OpenAbort& abort) {
  return guarded(DWORD{0}, [&]() -> DWORD {
    if (!url || !*url) return fail(Error::BadParameter, DWORD{0});
    DWORD rate = 0;
    {
      std::lock_guard lock(device.m);
      if (!device.mixer) return fail(Error::NotInitialised, DWORD{0});
      rate = device.rate;
    }
    DWORD handle = handles.reserve();
    auto stream = std::make_shared<Channel>(setupFor(handle, rate, flags, proc, user));
    handles.addPending(stream);
    Error why = Error::Ended;
    if (abort.watch([stream] { stream->free(); })) {
      try {
        why = stream->open(url);
      } catch (...) {
        why = Error::Unknown;  // no thread could be started: drop the stream
      }
      abort.unwatch();
    }
    // Triggered after the open succeeded: the stream was not freed, or was freed too late.
    if (why == Error::None && abort.triggered()) {
      stream->free();
      why = Error::Ended;
    }
    if (why != Error::None) {
      handles.remove(handle);
      return fail(why, DWORD{0});
    }
    // BASS_Free may have dropped it while it opened.
    if (!handles.publish(handle)) {
      stream->free();
      return fail(Error::Ended, DWORD{0});
    }
    return handle;
  });
}

std::uint64_t WINAPI BASS_StreamGetFilePosition(DWORD handle, DWORD mode) {
  return guarded(kNoPosition, [&]() -> std::uint64_t {
    if (mode > PositionEnd) return fail(Error::BadParameter, kNoPosition);
    auto stream = streamOf(handle);
    if (!stream) return kNoPosition;
    std::uint64_t position = stream->position(mode);
    if (position == kNoPosition) lastError_ = Error::Ended;
    return position;
  });
}

BOOL WINAPI BASS_StreamFree(DWORD handle) {
  return guarded(FALSE, [&]() -> BOOL {
    auto stream = handles.remove(handle);
    if (!stream) return fail(Error::BadHandle, FALSE);
    stream->free();
    return TRUE;
  });
}

const char* WINAPI BASS_ChannelGetTags(DWORD handle, DWORD tags) {
  return guarded(static_cast<const char*>(nullptr), [&]() -> const char* {
    if (tags != TagMeta && tags != TagHeaders) return fail(Error::BadParameter, nullptr);
    auto stream = streamOf(handle);
    if (!stream) return nullptr;
    const char* text = stream->tags(tags);
    if (!text) lastError_ = Error::NotAvailable;
    return text;
  });
}

DWORD WINAPI BASS_ChannelSetSync(DWORD handle, DWORD type, std::uint64_t param, SyncProc proc,
                                 void* user) {
  return guarded(DWORD{0}, [&]() -> DWORD {
    if ((type != SyncEnd && type != SyncMeta) || param != 0 || !proc)
      return fail(Error::BadParameter, DWORD{0});
    auto stream = streamOf(handle);
    if (!stream) return 0;
    DWORD sync = handles.reserve();
    stream->addSync(sync, type, proc, user);
    return sync;
  });
}

DWORD WINAPI BASS_ChannelSetFX(DWORD handle, DWORD type, int priority) {
  return guarded(DWORD{0}, [&]() -> DWORD {
    if (type != FxEqualizer && type != FxReverb) return fail(Error::BadParameter, DWORD{0});
    auto stream = streamOf(handle);
    if (!stream) return 0;
    DWORD fx = handles.reserve();
    if (!stream->addEffect(fx, type, priority)) return fail(Error::BadParameter, DWORD{0});
    handles.addEffect(fx, handle);
    return fx;
  });
}

BOOL WINAPI BASS_FXSetParameters(DWORD fx, const void* params) {
  return guarded(FALSE, [&]() -> BOOL {
    auto stream = handles.effectOwner(fx);
    if (!stream) return fail(Error::BadHandle, FALSE);
    if (!params || !stream->setEffectParams(fx, params)) return fail(Error::BadParameter, FALSE);
    return TRUE;
  });
}

BOOL WINAPI BASS_FXGetParameters(DWORD fx, void* params) {
  return guarded(FALSE, [&]() -> BOOL {
    auto stream = handles.effectOwner(fx);
    if (!stream) return fail(Error::BadHandle, FALSE);
    if (!params) return fail(Error::BadParameter, FALSE);
    return stream->getEffectParams(fx, params) ? TRUE : fail(Error::BadHandle, FALSE);
  });
}

BOOL WINAPI BASS_ChannelPlay(DWORD handle, BOOL) {
  return guarded(FALSE, [&]() -> BOOL {
    auto stream = streamOf(handle);
    if (!stream) return FALSE;
    std::lock_guard lock(device.m);
    if (!device.mixer) return fail(Error::NotInitialised, FALSE);
    stream->play();
    device.mixer->add(stream);
    return TRUE;
  });
}

BOOL WINAPI BASS_ChannelStop(DWORD handle) {
  return guarded(FALSE, [&]() -> BOOL {
    auto stream = streamOf(handle);
    if (!stream) return FALSE;
    stream->stop();
    return TRUE;
  });
}

BOOL WINAPI BASS_ChannelSetAttribute(DWORD handle, DWORD attrib, float value) {
  return guarded(FALSE, [&]() -> BOOL {
    if (attrib != AttribVolume || std::isnan(value)) return fail(Error::BadParameter, FALSE);
    auto stream = streamOf(handle);
    if (!stream) return FALSE;
    stream->setVolume(std::clamp(value, 0.0f, 1.0f));
    return TRUE;
  });
}
