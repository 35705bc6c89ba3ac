#pragma once
// Our mixer behind the BASS_ functions: samples and streams mixed into stereo float frames at
// 44100 Hz, for an SDL audio device or for whoever pulls them (MixerPull). One lock guards all
// state; syncs are queued while mixing and run on a callback thread after the lock is released.
#include <condition_variable>
#include <deque>
#include <map>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

#include "Platform/Bass/Backend.h"
#include "Platform/Bass/Decode.h"
#include "Platform/Bass/Limiter.h"

namespace bass {

class Mixer : public Backend {
 public:
  // The process's mixer; never destroyed, so that singletons freed at exit can still call it.
  static Mixer& Get();

  BOOL Init(int device, DWORD freq, DWORD flags, void* window, void* clsid) override;
  BOOL Free() override;
  BOOL SetConfig(DWORD option, DWORD value) override;
  BOOL Pause() override;
  BOOL Start() override;
  HSAMPLE SampleLoad(BOOL mem, const void* file, QWORD offset, DWORD length, DWORD max, DWORD flags) override;
  BOOL SampleFree(HSAMPLE sample) override;
  HCHANNEL SampleGetChannel(HSAMPLE sample, BOOL onlyNew) override;
  HSTREAM StreamCreateFileUser(DWORD system, DWORD flags, const BASS_FILEPROCS* procs, void* user) override;
  BOOL StreamFree(HSTREAM stream) override;
  BOOL ChannelPlay(DWORD channel, BOOL restart) override;
  BOOL ChannelStop(DWORD channel) override;
  DWORD ChannelIsActive(DWORD channel) override;
  BOOL ChannelSetAttribute(DWORD channel, DWORD attribute, float value) override;
  BOOL ChannelGetAttribute(DWORD channel, DWORD attribute, float* value) override;
  BOOL ChannelSlideAttribute(DWORD channel, DWORD attribute, float value, DWORD time) override;
  HSYNC ChannelSetSync(DWORD channel, DWORD type, QWORD param, SYNCPROC* proc, void* user) override;
  BOOL ChannelRemoveSync(DWORD channel, HSYNC sync) override;

  // Mixes the next frames (stereo floats) into out, replacing its contents; silence while not
  // initialised or paused. The sum passes the limiter, so no sample exceeds full scale. The
  // device's callback calls it too.
  void Mix(float* out, unsigned frames);
  // Returns when every sync queued so far has run.
  void WaitForSyncs();

 private:
  struct SampleData {
    std::vector<float> frames;
    DWORD max = 0;
    DWORD channels = 0;  // how many exist
  };
  struct Slide {
    bool active = false;
    float from = 0.0f;
    float to = 0.0f;
    std::uint64_t total = 0;  // frames
    std::uint64_t done = 0;
  };
  struct Sync {
    HSYNC handle;
    DWORD type;
    SYNCPROC* proc;
    void* user;
  };
  struct Channel {
    HSAMPLE sampleHandle = 0;
    std::shared_ptr<SampleData> sample;      // sample channels
    std::unique_ptr<StreamDecoder> decoder;  // streams
    std::size_t position = 0;                // frames played of a sample
    bool playing = false;
    bool atEnd = false;
    float volume = 1.0f;
    Slide slide;
    std::vector<Sync> syncs;
  };
  struct Firing {
    HSYNC sync;
    DWORD channel;
    SYNCPROC* proc;
    void* user;
  };

  Mixer() = default;
  DWORD NewHandle();
  Channel* FindChannel(DWORD handle);
  // Queues the channel's syncs of one type (ONETIME ones are removed).
  void Fire(DWORD handle, Channel& channel, DWORD type);
  // Drops waiting firings of a channel (0: of every channel).
  void DropFirings(DWORD channel);
  void MixChannel(DWORD handle, Channel& channel, float* out, unsigned frames);
  void RunSyncs();
  static void DeviceCallback(void* self, std::uint8_t* stream, int bytes);

  std::mutex mLock;
  std::condition_variable mSyncChanged;
  bool mInit = false;
  bool mPaused = false;
  std::uint32_t mDevice = 0;  // SDL's id; 0 without output
  DWORD mLastHandle = 0;
  std::map<DWORD, std::shared_ptr<SampleData>> mSamples;
  std::map<DWORD, std::unique_ptr<Channel>> mChannels;
  std::vector<float> mScratch;
  Limiter mLimiter;
  std::deque<Firing> mFirings;
  HSYNC mRunningSync = 0;
  bool mStopSyncs = false;
  std::thread mSyncThread;
};

// Mixer::Get().Mix: for tests and benchmarks, without a device (BASS_Init with BASS_DEVICE_NOSOUND).
void MixerPull(float* out, unsigned frames);
// Mixer::Get().WaitForSyncs.
void MixerWaitForSyncs();

}  // namespace bass
