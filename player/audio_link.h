// The audio-library calls of start-up and shut-down. They are the audio library's own
// (audio/audio.h) once it is part of the build; until then these stand-ins accept every call,
// so that the player starts, shows its stations and keeps its settings without sound.
#pragma once

#include <windows.h>

#if __has_include("audio/audio.h")
#include "audio/audio.h"
#else

DWORD WINAPI BASS_PluginLoad(const char* file, DWORD flags);
BOOL WINAPI BASS_Init(int device, DWORD freq, DWORD flags, HWND window, const void* clsid);
BOOL WINAPI BASS_Free();
BOOL WINAPI BASS_RecordFree();
BOOL WINAPI BASS_SetConfig(DWORD option, DWORD value);
BOOL WINAPI BASS_SetConfigPtr(DWORD option, const void* value);
BOOL WINAPI BASS_ChannelStop(DWORD handle);
BOOL WINAPI BASS_ChannelSetAttribute(DWORD handle, DWORD attrib, float value);

#endif
