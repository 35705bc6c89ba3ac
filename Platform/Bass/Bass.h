#pragma once
// The audio library subset the sound system is written against, with its documented values.
// Handles are 32-bit; 0 is never a valid handle. Calls are safe from any thread; sync procedures
// run on the layer's callback thread, never while the mixer is locked, so they may call back in.
#include <cstdint>

#include "Platform/Win32/Types.h"

namespace bass {

using win32::BOOL;
using win32::DWORD;
using win32::FALSE;
using win32::TRUE;
using QWORD = std::uint64_t;
using HSAMPLE = DWORD;
using HCHANNEL = DWORD;
using HSTREAM = DWORD;
using HSYNC = DWORD;

// BASS_ChannelSetAttribute / BASS_ChannelSlideAttribute: the channel volume, 0..1.
constexpr DWORD BASS_ATTRIB_VOL = 2;

// BASS_ChannelSetSync types: the end of a channel's data, the end of an attribute slide.
constexpr DWORD BASS_SYNC_END = 2;
constexpr DWORD BASS_SYNC_SLIDE = 5;
// Flags on a sync type: the caller would like the sync at mixing time (accepted; ours always run
// on the callback thread), remove the sync after it fired once.
constexpr DWORD BASS_SYNC_MIXTIME = 0x40000000;
constexpr DWORD BASS_SYNC_ONETIME = 0x80000000;

// BASS_ChannelIsActive results. Pausing all output (BASS_Pause) does not change them.
constexpr DWORD BASS_ACTIVE_STOPPED = 0;
constexpr DWORD BASS_ACTIVE_PLAYING = 1;

// BASS_StreamCreateFileUser systems: read on demand; read ahead into a buffer (read on demand here).
constexpr DWORD STREAMFILE_NOBUFFER = 0;
constexpr DWORD STREAMFILE_BUFFER = 1;

// BASS_Init device numbers: no output (mix only through MixerPull), the default output device.
constexpr int BASS_DEVICE_NOSOUND = 0;
constexpr int BASS_DEVICE_DEFAULT = -1;

// BASS_SetConfig option that sets the update-thread count (accepted, no effect here).
constexpr DWORD BASS_CONFIG_UPDATETHREADS = 34;

// The engine's procedures a user-file stream reads through; called with the user value given at
// creation, on the creating thread and on the mixing thread. Close runs when the stream is freed.
using FILECLOSEPROC = void(void* user);
using FILELENPROC = QWORD(void* user);
using FILEREADPROC = DWORD(void* buffer, DWORD length, void* user);
using FILESEEKPROC = BOOL(QWORD offset, void* user);  // offset from the start; TRUE on success
struct BASS_FILEPROCS {
  FILECLOSEPROC* close;
  FILELENPROC* length;
  FILEREADPROC* read;
  FILESEEKPROC* seek;
};

using SYNCPROC = void(HSYNC sync, DWORD channel, DWORD data, void* user);

// freq is the output rate (44100 only); flags, window and clsid are ignored. FALSE when already
// initialised or the device cannot be opened.
BOOL BASS_Init(int device, DWORD freq, DWORD flags, void* window, void* clsid);
// Closes the device and frees every sample, channel, stream and sync.
BOOL BASS_Free();
BOOL BASS_SetConfig(DWORD option, DWORD value);
// Silences all output and holds every channel where it is; BASS_Start goes on.
BOOL BASS_Pause();
BOOL BASS_Start();

// A sample decoded at once from a file in memory (mem TRUE; Ogg Vorbis or WAV; files on disk are
// not supported). max: channels at most at the same time. 0 when the data does not decode.
HSAMPLE BASS_SampleLoad(BOOL mem, const void* file, QWORD offset, DWORD length, DWORD max, DWORD flags);
// Frees the sample and its channels.
BOOL BASS_SampleFree(HSAMPLE sample);
// A new stopped channel playing the sample at volume 1; 0 for an unknown sample or when max
// channels exist.
HCHANNEL BASS_SampleGetChannel(HSAMPLE sample, BOOL onlyNew);

// A stream decoding the file that procs read (Ogg Vorbis, else WAV); 0 when it does not decode.
HSTREAM BASS_StreamCreateFileUser(DWORD system, DWORD flags, const BASS_FILEPROCS* procs, void* user);
// Returns after the stream's procedures have returned; runs the close procedure.
BOOL BASS_StreamFree(HSTREAM stream);

// Plays a channel or stream; restart TRUE starts it from the beginning.
BOOL BASS_ChannelPlay(DWORD channel, BOOL restart);
BOOL BASS_ChannelStop(DWORD channel);
DWORD BASS_ChannelIsActive(DWORD channel);
// Sets the attribute and ends a running slide of it, which fires the slide syncs.
BOOL BASS_ChannelSetAttribute(DWORD channel, DWORD attribute, float value);
BOOL BASS_ChannelGetAttribute(DWORD channel, DWORD attribute, float* value);
// Slides linearly from the current value to value over time milliseconds of output; the slide
// syncs fire when it arrives. A new slide replaces a running one.
BOOL BASS_ChannelSlideAttribute(DWORD channel, DWORD attribute, float value, DWORD time);
HSYNC BASS_ChannelSetSync(DWORD channel, DWORD type, QWORD param, SYNCPROC* proc, void* user);
// Also drops a firing of the sync that is waiting; when the sync's procedure runs on another
// thread, returns after it has returned.
BOOL BASS_ChannelRemoveSync(DWORD channel, HSYNC sync);

}  // namespace bass
