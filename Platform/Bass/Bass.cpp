#include "Platform/Bass/Bass.h"

#include <atomic>

#include "Platform/Bass/Backend.h"
#include "Platform/Bass/Mixer.h"

namespace bass {

namespace {
std::atomic<Backend*> sBassBackend{nullptr};
}  // namespace

Backend& TheBackend() {
  Backend* backend = sBassBackend.load(std::memory_order_acquire);
  return backend ? *backend : Mixer::Get();
}

void SetBackend(Backend* backend) { sBassBackend.store(backend, std::memory_order_release); }

BOOL BASS_Init(int device, DWORD freq, DWORD flags, void* window, void* clsid) {
  return TheBackend().Init(device, freq, flags, window, clsid);
}
BOOL BASS_Free() { return TheBackend().Free(); }
BOOL BASS_SetConfig(DWORD option, DWORD value) { return TheBackend().SetConfig(option, value); }
BOOL BASS_Pause() { return TheBackend().Pause(); }
BOOL BASS_Start() { return TheBackend().Start(); }
HSAMPLE BASS_SampleLoad(BOOL mem, const void* file, QWORD offset, DWORD length, DWORD max, DWORD flags) {
  return TheBackend().SampleLoad(mem, file, offset, length, max, flags);
}
BOOL BASS_SampleFree(HSAMPLE sample) { return TheBackend().SampleFree(sample); }
HCHANNEL BASS_SampleGetChannel(HSAMPLE sample, BOOL onlyNew) { return TheBackend().SampleGetChannel(sample, onlyNew); }
HSTREAM BASS_StreamCreateFileUser(DWORD system, DWORD flags, const BASS_FILEPROCS* procs, void* user) {
  return TheBackend().StreamCreateFileUser(system, flags, procs, user);
}
BOOL BASS_StreamFree(HSTREAM stream) { return TheBackend().StreamFree(stream); }
BOOL BASS_ChannelPlay(DWORD channel, BOOL restart) { return TheBackend().ChannelPlay(channel, restart); }
BOOL BASS_ChannelStop(DWORD channel) { return TheBackend().ChannelStop(channel); }
DWORD BASS_ChannelIsActive(DWORD channel) { return TheBackend().ChannelIsActive(channel); }
BOOL BASS_ChannelSetAttribute(DWORD channel, DWORD attribute, float value) {
  return TheBackend().ChannelSetAttribute(channel, attribute, value);
}
BOOL BASS_ChannelGetAttribute(DWORD channel, DWORD attribute, float* value) {
  return TheBackend().ChannelGetAttribute(channel, attribute, value);
}
BOOL BASS_ChannelSlideAttribute(DWORD channel, DWORD attribute, float value, DWORD time) {
  return TheBackend().ChannelSlideAttribute(channel, attribute, value, time);
}
HSYNC BASS_ChannelSetSync(DWORD channel, DWORD type, QWORD param, SYNCPROC* proc, void* user) {
  return TheBackend().ChannelSetSync(channel, type, param, proc, user);
}
BOOL BASS_ChannelRemoveSync(DWORD channel, HSYNC sync) { return TheBackend().ChannelRemoveSync(channel, sync); }

}  // namespace bass
