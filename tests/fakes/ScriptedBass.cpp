#include "fakes/ScriptedBass.h"

#include <cstring>
#include <sstream>

namespace fakes {

namespace {

template <class... Args>
std::string ScriptedBassLine(const char* name, Args... args) {
  std::ostringstream line;
  line << name;
  ((line << ' ' << args), ...);
  return line.str();
}

}  // namespace

ScriptedBass::ScriptedBass() { bass::SetBackend(this); }

ScriptedBass::~ScriptedBass() { bass::SetBackend(nullptr); }

void ScriptedBass::Record(const std::string& line) { mCalls.push_back(line); }

ScriptedBass::Channel* ScriptedBass::Find(DWORD handle) {
  const auto found = mChannels.find(handle);
  return found == mChannels.end() ? nullptr : &found->second;
}

std::vector<std::string> ScriptedBass::Calls() {
  std::lock_guard<std::mutex> lock(mLock);
  return mCalls;
}

void ScriptedBass::ClearCalls() {
  std::lock_guard<std::mutex> lock(mLock);
  mCalls.clear();
}

std::vector<std::string> ScriptedBass::CallsStartingWith(const std::string& prefix) {
  std::vector<std::string> found;
  for (const std::string& call : Calls())
    if (call.compare(0, prefix.size(), prefix) == 0) found.push_back(call);
  return found;
}

void ScriptedBass::SetActive(DWORD channel, DWORD state) {
  std::lock_guard<std::mutex> lock(mLock);
  if (Channel* found = Find(channel)) found->active = state;
}

int ScriptedBass::FireSyncs(DWORD channel, DWORD type) {
  std::vector<Sync> due;
  {
    std::lock_guard<std::mutex> lock(mLock);
    Channel* found = Find(channel);
    if (!found) return 0;
    for (const Sync& sync : found->syncs)
      if ((sync.type & 0x00FFFFFF) == type) due.push_back(sync);
  }
  for (const Sync& sync : due) sync.proc(sync.handle, channel, 0, sync.user);
  return int(due.size());
}

ScriptedBass::SyncRecord ScriptedBass::FindSync(DWORD channel, DWORD type) {
  std::lock_guard<std::mutex> lock(mLock);
  Channel* found = Find(channel);
  if (found)
    for (const Sync& sync : found->syncs)
      if ((sync.type & 0x00FFFFFF) == type) return {sync.handle, sync.proc, sync.user};
  return {};
}

bass::HSTREAM ScriptedBass::LastStream() {
  std::lock_guard<std::mutex> lock(mLock);
  return mLastStream;
}

bass::BASS_FILEPROCS ScriptedBass::StreamProcs(bass::HSTREAM stream) {
  std::lock_guard<std::mutex> lock(mLock);
  Channel* found = Find(stream);
  return found ? found->procs : bass::BASS_FILEPROCS{};
}

void* ScriptedBass::StreamUser(bass::HSTREAM stream) {
  std::lock_guard<std::mutex> lock(mLock);
  Channel* found = Find(stream);
  return found ? found->user : nullptr;
}

bool ScriptedBass::IsLive(DWORD handle) {
  std::lock_guard<std::mutex> lock(mLock);
  return Find(handle) || mSamples.count(handle);
}

float ScriptedBass::Volume(DWORD channel) {
  std::lock_guard<std::mutex> lock(mLock);
  Channel* found = Find(channel);
  return found ? found->volume : -1.0f;
}

int ScriptedBass::LiveSamples() {
  std::lock_guard<std::mutex> lock(mLock);
  return int(mSamples.size());
}

int ScriptedBass::LiveSyncs() {
  std::lock_guard<std::mutex> lock(mLock);
  int count = 0;
  for (const auto& [handle, channel] : mChannels) count += int(channel.syncs.size());
  return count;
}

bass::BOOL ScriptedBass::Init(int device, DWORD freq, DWORD flags, void*, void*) {
  std::lock_guard<std::mutex> lock(mLock);
  Record(ScriptedBassLine("Init", device, freq, flags));
  return bass::TRUE;
}

bass::BOOL ScriptedBass::Free() {
  std::lock_guard<std::mutex> lock(mLock);
  Record("Free");
  return bass::TRUE;
}

bass::BOOL ScriptedBass::SetConfig(DWORD option, DWORD value) {
  std::lock_guard<std::mutex> lock(mLock);
  Record(ScriptedBassLine("SetConfig", option, value));
  return bass::TRUE;
}

bass::BOOL ScriptedBass::Pause() {
  std::lock_guard<std::mutex> lock(mLock);
  Record("Pause");
  return bass::TRUE;
}

bass::BOOL ScriptedBass::Start() {
  std::lock_guard<std::mutex> lock(mLock);
  Record("Start");
  return bass::TRUE;
}

bass::HSAMPLE ScriptedBass::SampleLoad(BOOL mem, const void* file, bass::QWORD offset, DWORD length, DWORD max, DWORD flags) {
  std::lock_guard<std::mutex> lock(mLock);
  Record(ScriptedBassLine("SampleLoad", mem, offset, length, max, flags));
  const char* bytes = static_cast<const char*>(file);
  if (!bytes || length < 4 || (std::memcmp(bytes, "OggS", 4) != 0 && std::memcmp(bytes, "RIFF", 4) != 0)) return 0;
  const bass::HSAMPLE sample = NewHandle();
  mSamples[sample] = 0;
  return sample;
}

bass::BOOL ScriptedBass::SampleFree(bass::HSAMPLE sample) {
  std::lock_guard<std::mutex> lock(mLock);
  Record(ScriptedBassLine("SampleFree", sample));
  if (!mSamples.erase(sample)) return bass::FALSE;
  for (auto it = mChannels.begin(); it != mChannels.end();) it = it->second.sample == sample ? mChannels.erase(it) : std::next(it);
  return bass::TRUE;
}

bass::HCHANNEL ScriptedBass::SampleGetChannel(bass::HSAMPLE sample, BOOL onlyNew) {
  std::lock_guard<std::mutex> lock(mLock);
  Record(ScriptedBassLine("SampleGetChannel", sample, onlyNew));
  if (!mSamples.count(sample)) return 0;
  const bass::HCHANNEL channel = NewHandle();
  mChannels[channel].sample = sample;
  return channel;
}

bass::HSTREAM ScriptedBass::StreamCreateFileUser(DWORD system, DWORD flags, const bass::BASS_FILEPROCS* procs, void* user) {
  std::lock_guard<std::mutex> lock(mLock);
  Record(ScriptedBassLine("StreamCreateFileUser", system, flags));
  if (!procs) return 0;
  const bass::HSTREAM stream = NewHandle();
  Channel& channel = mChannels[stream];
  channel.stream = true;
  channel.procs = *procs;
  channel.user = user;
  mLastStream = stream;
  return stream;
}

bass::BOOL ScriptedBass::StreamFree(bass::HSTREAM stream) {
  std::lock_guard<std::mutex> lock(mLock);
  Record(ScriptedBassLine("StreamFree", stream));
  Channel* found = Find(stream);
  if (!found || !found->stream) return bass::FALSE;
  mChannels.erase(stream);
  return bass::TRUE;
}

bass::BOOL ScriptedBass::ChannelPlay(DWORD channel, BOOL restart) {
  std::lock_guard<std::mutex> lock(mLock);
  Record(ScriptedBassLine("ChannelPlay", channel, restart));
  Channel* found = Find(channel);
  if (!found) return bass::FALSE;
  found->active = bass::BASS_ACTIVE_PLAYING;
  return bass::TRUE;
}

bass::BOOL ScriptedBass::ChannelStop(DWORD channel) {
  std::lock_guard<std::mutex> lock(mLock);
  Record(ScriptedBassLine("ChannelStop", channel));
  Channel* found = Find(channel);
  if (!found) return bass::FALSE;
  found->active = bass::BASS_ACTIVE_STOPPED;
  return bass::TRUE;
}

bass::DWORD ScriptedBass::ChannelIsActive(DWORD channel) {
  std::lock_guard<std::mutex> lock(mLock);
  Record(ScriptedBassLine("ChannelIsActive", channel));
  Channel* found = Find(channel);
  return found ? found->active : bass::BASS_ACTIVE_STOPPED;
}

bass::BOOL ScriptedBass::ChannelSetAttribute(DWORD channel, DWORD attribute, float value) {
  std::lock_guard<std::mutex> lock(mLock);
  Record(ScriptedBassLine("ChannelSetAttribute", channel, attribute, value));
  Channel* found = Find(channel);
  if (!found) return bass::FALSE;
  found->volume = value;
  return bass::TRUE;
}

bass::BOOL ScriptedBass::ChannelGetAttribute(DWORD channel, DWORD attribute, float* value) {
  std::lock_guard<std::mutex> lock(mLock);
  Record(ScriptedBassLine("ChannelGetAttribute", channel, attribute));
  Channel* found = Find(channel);
  if (!found || !value) return bass::FALSE;
  *value = found->volume;
  return bass::TRUE;
}

bass::BOOL ScriptedBass::ChannelSlideAttribute(DWORD channel, DWORD attribute, float value, DWORD time) {
  std::lock_guard<std::mutex> lock(mLock);
  Record(ScriptedBassLine("ChannelSlideAttribute", channel, attribute, value, time));
  return Find(channel) ? bass::TRUE : bass::FALSE;
}

bass::HSYNC ScriptedBass::ChannelSetSync(DWORD channel, DWORD type, bass::QWORD param, bass::SYNCPROC* proc, void* user) {
  std::lock_guard<std::mutex> lock(mLock);
  Record(ScriptedBassLine("ChannelSetSync", channel, type, param));
  Channel* found = Find(channel);
  if (!found || !proc) return 0;
  const bass::HSYNC sync = NewHandle();
  found->syncs.push_back({sync, type, proc, user});
  return sync;
}

bass::BOOL ScriptedBass::ChannelRemoveSync(DWORD channel, bass::HSYNC sync) {
  std::lock_guard<std::mutex> lock(mLock);
  Record(ScriptedBassLine("ChannelRemoveSync", channel, sync));
  Channel* found = Find(channel);
  if (!found) return bass::FALSE;
  for (auto it = found->syncs.begin(); it != found->syncs.end(); ++it) {
    if (it->handle != sync) continue;
    found->syncs.erase(it);
    return bass::TRUE;
  }
  return bass::FALSE;
}

}  // namespace fakes
