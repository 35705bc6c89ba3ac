#pragma once
// What stands behind the BASS_ functions: our mixer for the program, a scripted one for unit tests.
#include "Platform/Bass/Bass.h"

namespace bass {

// One method per BASS_ function, same arguments and results.
class Backend {
 public:
  virtual ~Backend() = default;
  virtual BOOL Init(int device, DWORD freq, DWORD flags, void* window, void* clsid) = 0;
  virtual BOOL Free() = 0;
  virtual BOOL SetConfig(DWORD option, DWORD value) = 0;
  virtual BOOL Pause() = 0;
  virtual BOOL Start() = 0;
  virtual HSAMPLE SampleLoad(BOOL mem, const void* file, QWORD offset, DWORD length, DWORD max, DWORD flags) = 0;
  virtual BOOL SampleFree(HSAMPLE sample) = 0;
  virtual HCHANNEL SampleGetChannel(HSAMPLE sample, BOOL onlyNew) = 0;
  virtual HSTREAM StreamCreateFileUser(DWORD system, DWORD flags, const BASS_FILEPROCS* procs, void* user) = 0;
  virtual BOOL StreamFree(HSTREAM stream) = 0;
  virtual BOOL ChannelPlay(DWORD channel, BOOL restart) = 0;
  virtual BOOL ChannelStop(DWORD channel) = 0;
  virtual DWORD ChannelIsActive(DWORD channel) = 0;
  virtual BOOL ChannelSetAttribute(DWORD channel, DWORD attribute, float value) = 0;
  virtual BOOL ChannelGetAttribute(DWORD channel, DWORD attribute, float* value) = 0;
  virtual BOOL ChannelSlideAttribute(DWORD channel, DWORD attribute, float value, DWORD time) = 0;
  virtual HSYNC ChannelSetSync(DWORD channel, DWORD type, QWORD param, SYNCPROC* proc, void* user) = 0;
  virtual BOOL ChannelRemoveSync(DWORD channel, HSYNC sync) = 0;
};

// The backend in use: the mixer unless one was set.
Backend& TheBackend();
// Replaces the backend (tests); null goes back to the mixer. Only while no sound object exists.
void SetBackend(Backend* backend);

}  // namespace bass
