// The recorder's share of the stream's download callback (audio library's thread): an armed
// recording opens its file with the next block, a running one appends every block, and the end
// of the download closes the file, frees the stream and leaves the recorder idle.
//
//   RecorderDownloadStep(buffer, length);   // from the download callback, every call
#pragma once

#include <windows.h>

// buffer and length as the download callback gets them: a header block has length 0, and no
// buffer means the download has ended.
void RecorderDownloadStep(const void* buffer, DWORD length);
