#pragma once
// A scripted audio layer: records every call, answers channel activity as the test says, and runs
// syncs only when the test fires them. Installed for its lifetime.
#include <map>
#include <mutex>
#include <string>
#include <vector>

#include "Platform/Bass/Backend.h"

namespace fakes {

class ScriptedBass : public bass::Backend {
 public:
  using BOOL = bass::BOOL;
  using DWORD = bass::DWORD;

  ScriptedBass();
  ~ScriptedBass() override;

  // One line per call since construction or ClearCalls, e.g. "ChannelSlideAttribute 3 2 0 1000".
  std::vector<std::string> Calls();
  void ClearCalls();
  // The calls whose line starts with prefix.
  std::vector<std::string> CallsStartingWith(const std::string& prefix);

  // What ChannelIsActive answers for a live channel; playing after ChannelPlay, stopped after
  // ChannelStop (and at creation) unless set here.
  void SetActive(bass::DWORD channel, bass::DWORD state);
  // Runs the syncs of channel whose type (without flags) is type, on the calling thread; returns
  // how many ran.
  int FireSyncs(bass::DWORD channel, bass::DWORD type);

  struct SyncRecord {
    bass::HSYNC handle = 0;
    bass::SYNCPROC* proc = nullptr;
    void* user = nullptr;
  };
  // The first live sync of channel with that type (without flags); empty when none.
  SyncRecord FindSync(bass::DWORD channel, bass::DWORD type);

  // Handle of the last stream created, 0 before.
  bass::HSTREAM LastStream();
  // The procedures and user value the stream was created with.
  bass::BASS_FILEPROCS StreamProcs(bass::HSTREAM stream);
  void* StreamUser(bass::HSTREAM stream);
  bool IsLive(bass::DWORD handle);
  float Volume(bass::DWORD channel);
  int LiveSamples();
  // Syncs set and not removed or freed with their channel.
  int LiveSyncs();

  BOOL Init(int device, DWORD freq, DWORD flags, void* window, void* clsid) override;
  BOOL Free() override;
  BOOL SetConfig(DWORD option, DWORD value) override;
  BOOL Pause() override;
  BOOL Start() override;
  // A sample when the data starts like an Ogg or RIFF file, else 0.
  bass::HSAMPLE SampleLoad(BOOL mem, const void* file, bass::QWORD offset, DWORD length, DWORD max, DWORD flags) override;
  BOOL SampleFree(bass::HSAMPLE sample) override;
  bass::HCHANNEL SampleGetChannel(bass::HSAMPLE sample, BOOL onlyNew) override;
  // A stream whenever procs is set; the procedures are not called.
  bass::HSTREAM StreamCreateFileUser(DWORD system, DWORD flags, const bass::BASS_FILEPROCS* procs, void* user) override;
  BOOL StreamFree(bass::HSTREAM stream) override;
  BOOL ChannelPlay(DWORD channel, BOOL restart) override;
  BOOL ChannelStop(DWORD channel) override;
  DWORD ChannelIsActive(DWORD channel) override;
  BOOL ChannelSetAttribute(DWORD channel, DWORD attribute, float value) override;
  BOOL ChannelGetAttribute(DWORD channel, DWORD attribute, float* value) override;
  BOOL ChannelSlideAttribute(DWORD channel, DWORD attribute, float value, DWORD time) override;
  bass::HSYNC ChannelSetSync(DWORD channel, DWORD type, bass::QWORD param, bass::SYNCPROC* proc, void* user) override;
  BOOL ChannelRemoveSync(DWORD channel, bass::HSYNC sync) override;

 private:
  struct Sync {
    bass::HSYNC handle;
    DWORD type;
    bass::SYNCPROC* proc;
    void* user;
  };
  struct Channel {
    bass::HSAMPLE sample = 0;
    bool stream = false;
    bass::BASS_FILEPROCS procs{};
    void* user = nullptr;
    DWORD active = bass::BASS_ACTIVE_STOPPED;
    float volume = 1.0f;
    std::vector<Sync> syncs;
  };

  void Record(const std::string& line);
  Channel* Find(DWORD handle);
  DWORD NewHandle() { return ++mLastHandle; }

  std::mutex mLock;
  std::vector<std::string> mCalls;
  std::map<DWORD, Channel> mChannels;
  std::map<DWORD, int> mSamples;
  DWORD mLastHandle = 0;
  bass::HSTREAM mLastStream = 0;
};

}  // namespace fakes
