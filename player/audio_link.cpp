#include "player/audio_link.h"

#if !__has_include("audio/audio.h")

DWORD WINAPI BASS_PluginLoad(const char*, DWORD) { return 0; }
BOOL WINAPI BASS_Init(int, DWORD, DWORD, HWND, const void*) { return TRUE; }
BOOL WINAPI BASS_Free() { return TRUE; }
BOOL WINAPI BASS_RecordFree() { return TRUE; }
BOOL WINAPI BASS_SetConfig(DWORD, DWORD) { return TRUE; }
BOOL WINAPI BASS_SetConfigPtr(DWORD, const void*) { return TRUE; }
BOOL WINAPI BASS_ChannelStop(DWORD) { return FALSE; }
BOOL WINAPI BASS_ChannelSetAttribute(DWORD, DWORD, float) { return FALSE; }

#endif
