#include "Platform/Bass/Mixer.h"

#include <SDL.h>

#include <algorithm>
#include <cstring>

namespace bass {

namespace {

constexpr DWORD kMixerSyncTypeMask = 0x00FFFFFF;
constexpr int kMixerDeviceFrames = 1024;

float MixerClampVolume(float value) { return value < 0.0f ? 0.0f : value > 1.0f ? 1.0f : value; }

}  // namespace

Mixer& Mixer::Get() {
  static Mixer* mixer = new Mixer;
  return *mixer;
}

void MixerPull(float* out, unsigned frames) { Mixer::Get().Mix(out, frames); }

void MixerWaitForSyncs() { Mixer::Get().WaitForSyncs(); }

DWORD Mixer::NewHandle() {
  if (++mLastHandle == 0) ++mLastHandle;
  return mLastHandle;
}

Mixer::Channel* Mixer::FindChannel(DWORD handle) {
  const auto found = mChannels.find(handle);
  return found == mChannels.end() ? nullptr : found->second.get();
}

BOOL Mixer::Init(int device, DWORD freq, DWORD, void*, void*) {
  std::unique_lock<std::mutex> lock(mLock);
  if (mInit || freq != DWORD(kMixRate) || device < BASS_DEVICE_DEFAULT) return FALSE;
  if (device != BASS_DEVICE_NOSOUND) {
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) return FALSE;
    SDL_AudioSpec want{};
    want.freq = kMixRate;
    want.format = AUDIO_F32SYS;
    want.channels = kMixChannels;
    want.samples = kMixerDeviceFrames;
    want.callback = DeviceCallback;
    want.userdata = this;
    SDL_AudioSpec have{};
    // SDL converts to whatever the device really takes.
    mDevice = SDL_OpenAudioDevice(nullptr, 0, &want, &have, 0);
    if (mDevice == 0) {
      SDL_QuitSubSystem(SDL_INIT_AUDIO);
      return FALSE;
    }
  }
  mInit = true;
  mPaused = false;
  mLimiter.Reset();
  mStopSyncs = false;
  mSyncThread = std::thread(&Mixer::RunSyncs, this);
  const std::uint32_t deviceId = mDevice;
  lock.unlock();
  if (deviceId) SDL_PauseAudioDevice(deviceId, 0);
  return TRUE;
}

BOOL Mixer::Free() {
  std::unique_lock<std::mutex> lock(mLock);
  if (!mInit) return FALSE;
  mInit = false;
  mStopSyncs = true;
  mFirings.clear();
  const std::uint32_t deviceId = mDevice;
  mDevice = 0;
  mSyncChanged.notify_all();
  lock.unlock();
  // Both wait for a running callback: the device's may be blocked on the lock until then.
  if (deviceId) {
    SDL_CloseAudioDevice(deviceId);
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
  }
  if (mSyncThread.get_id() != std::this_thread::get_id()) mSyncThread.join(); else mSyncThread.detach();
  lock.lock();
  std::map<DWORD, std::unique_ptr<Channel>> channels;
  channels.swap(mChannels);
  mSamples.clear();
  lock.unlock();
  return TRUE;  // the streams close their files here, outside the lock
}

BOOL Mixer::SetConfig(DWORD, DWORD) { return TRUE; }

BOOL Mixer::Pause() {
  std::lock_guard<std::mutex> lock(mLock);
  if (!mInit) return FALSE;
  mPaused = true;
  return TRUE;
}

BOOL Mixer::Start() {
  std::lock_guard<std::mutex> lock(mLock);
  if (!mInit) return FALSE;
  mPaused = false;
  return TRUE;
}

HSAMPLE Mixer::SampleLoad(BOOL mem, const void* file, QWORD offset, DWORD length, DWORD max, DWORD) {
  if (!mem || !file || length == 0 || max == 0) return 0;
  // Decoding takes a while: outside the lock.
  auto sample = std::make_shared<SampleData>();
  if (!DecodeToMixFormat(static_cast<const unsigned char*>(file) + offset, length, sample->frames)) return 0;
  sample->max = max;
  std::lock_guard<std::mutex> lock(mLock);
  if (!mInit) return 0;
  const HSAMPLE handle = NewHandle();
  mSamples.emplace(handle, std::move(sample));
  return handle;
}

BOOL Mixer::SampleFree(HSAMPLE sample) {
  std::vector<std::unique_ptr<Channel>> freed;
  std::lock_guard<std::mutex> lock(mLock);
  if (mSamples.erase(sample) == 0) return FALSE;
  for (auto it = mChannels.begin(); it != mChannels.end();) {
    if (it->second->sampleHandle != sample) {
      ++it;
      continue;
    }
    DropFirings(it->first);
    freed.push_back(std::move(it->second));
    it = mChannels.erase(it);
  }
  return TRUE;
}

HCHANNEL Mixer::SampleGetChannel(HSAMPLE sample, BOOL) {
  std::lock_guard<std::mutex> lock(mLock);
  const auto found = mSamples.find(sample);
  if (found == mSamples.end() || found->second->channels >= found->second->max) return 0;
  auto channel = std::make_unique<Channel>();
  channel->sampleHandle = sample;
  channel->sample = found->second;
  ++found->second->channels;
  const HCHANNEL handle = NewHandle();
  mChannels.emplace(handle, std::move(channel));
  return handle;
}

HSTREAM Mixer::StreamCreateFileUser(DWORD, DWORD, const BASS_FILEPROCS* procs, void* user) {
  if (!procs || !procs->close || !procs->length || !procs->read || !procs->seek) return 0;
  {
    std::lock_guard<std::mutex> lock(mLock);
    if (!mInit) return 0;
  }
  // The procedures run on this thread until the stream is entered; then only under the lock.
  std::unique_ptr<StreamDecoder> decoder = StreamDecoder::Open(*procs, user);
  if (!decoder) return 0;
  auto channel = std::make_unique<Channel>();
  channel->decoder = std::move(decoder);
  std::lock_guard<std::mutex> lock(mLock);
  if (!mInit) return 0;  // the decoder closes its file
  const HSTREAM handle = NewHandle();
  mChannels.emplace(handle, std::move(channel));
  return handle;
}

BOOL Mixer::StreamFree(HSTREAM stream) {
  std::unique_ptr<Channel> freed;
  {
    std::lock_guard<std::mutex> lock(mLock);
    const auto found = mChannels.find(stream);
    if (found == mChannels.end() || !found->second->decoder) return FALSE;
    // The procedures are only called under the lock: none runs from here on.
    freed = std::move(found->second);
    mChannels.erase(found);
    DropFirings(stream);
  }
  freed.reset();  // runs the close procedure
  return TRUE;
}

BOOL Mixer::ChannelPlay(DWORD handle, BOOL restart) {
  std::lock_guard<std::mutex> lock(mLock);
  Channel* channel = FindChannel(handle);
  if (!channel) return FALSE;
  if (restart || channel->atEnd) {
    if (channel->decoder && !channel->decoder->Rewind()) return FALSE;
    channel->position = 0;
    channel->atEnd = false;
  }
  channel->playing = true;
  return TRUE;
}

BOOL Mixer::ChannelStop(DWORD handle) {
  std::lock_guard<std::mutex> lock(mLock);
  Channel* channel = FindChannel(handle);
  if (!channel) return FALSE;
  channel->playing = false;
  return TRUE;
}

DWORD Mixer::ChannelIsActive(DWORD handle) {
  std::lock_guard<std::mutex> lock(mLock);
  Channel* channel = FindChannel(handle);
  return channel && channel->playing ? BASS_ACTIVE_PLAYING : BASS_ACTIVE_STOPPED;
}

BOOL Mixer::ChannelSetAttribute(DWORD handle, DWORD attribute, float value) {
  std::lock_guard<std::mutex> lock(mLock);
  Channel* channel = FindChannel(handle);
  if (!channel || attribute != BASS_ATTRIB_VOL) return FALSE;
  channel->volume = MixerClampVolume(value);
  if (channel->slide.active) {
    // A slide cut short has ended too: whoever waits for its end must not wait for ever.
    channel->slide.active = false;
    Fire(handle, *channel, BASS_SYNC_SLIDE);
  }
  return TRUE;
}

BOOL Mixer::ChannelGetAttribute(DWORD handle, DWORD attribute, float* value) {
  std::lock_guard<std::mutex> lock(mLock);
  Channel* channel = FindChannel(handle);
  if (!channel || attribute != BASS_ATTRIB_VOL || !value) return FALSE;
  *value = channel->volume;
  return TRUE;
}

BOOL Mixer::ChannelSlideAttribute(DWORD handle, DWORD attribute, float value, DWORD time) {
  std::lock_guard<std::mutex> lock(mLock);
  Channel* channel = FindChannel(handle);
  if (!channel || attribute != BASS_ATTRIB_VOL) return FALSE;
  Slide& slide = channel->slide;
  slide.from = channel->volume;
  slide.to = MixerClampVolume(value);
  slide.total = std::uint64_t(time) * kMixRate / 1000;
  slide.done = 0;
  slide.active = slide.total > 0;
  if (!slide.active) {
    channel->volume = slide.to;
    Fire(handle, *channel, BASS_SYNC_SLIDE);
  }
  return TRUE;
}

HSYNC Mixer::ChannelSetSync(DWORD handle, DWORD type, QWORD, SYNCPROC* proc, void* user) {
  const DWORD kind = type & kMixerSyncTypeMask;
  if (!proc || (kind != BASS_SYNC_END && kind != BASS_SYNC_SLIDE)) return 0;
  std::lock_guard<std::mutex> lock(mLock);
  Channel* channel = FindChannel(handle);
  if (!channel) return 0;
  const HSYNC sync = NewHandle();
  channel->syncs.push_back({sync, type, proc, user});
  return sync;
}

BOOL Mixer::ChannelRemoveSync(DWORD handle, HSYNC sync) {
  std::unique_lock<std::mutex> lock(mLock);
  Channel* channel = FindChannel(handle);
  if (!channel) return FALSE;
  const auto found = std::find_if(channel->syncs.begin(), channel->syncs.end(), [sync](const Sync& s) { return s.handle == sync; });
  const bool removed = found != channel->syncs.end();
  if (removed) channel->syncs.erase(found);
  mFirings.erase(std::remove_if(mFirings.begin(), mFirings.end(), [sync](const Firing& f) { return f.sync == sync; }), mFirings.end());
  // The caller may free what the procedure uses as soon as this returns.
  if (std::this_thread::get_id() != mSyncThread.get_id())
    mSyncChanged.wait(lock, [this, sync] { return mRunningSync != sync; });
  return removed ? TRUE : FALSE;
}

void Mixer::Fire(DWORD handle, Channel& channel, DWORD type) {
  bool queued = false;
  for (auto it = channel.syncs.begin(); it != channel.syncs.end();) {
    if ((it->type & kMixerSyncTypeMask) != type) {
      ++it;
      continue;
    }
    mFirings.push_back({it->handle, handle, it->proc, it->user});
    queued = true;
    if (it->type & BASS_SYNC_ONETIME)
      it = channel.syncs.erase(it);
    else
      ++it;
  }
  if (queued) mSyncChanged.notify_all();
}

void Mixer::DropFirings(DWORD channel) {
  mFirings.erase(std::remove_if(mFirings.begin(), mFirings.end(), [channel](const Firing& f) { return channel == 0 || f.channel == channel; }),
                 mFirings.end());
}

void Mixer::RunSyncs() {
  std::unique_lock<std::mutex> lock(mLock);
  for (;;) {
    mSyncChanged.wait(lock, [this] { return mStopSyncs || !mFirings.empty(); });
    if (mStopSyncs) break;
    const Firing firing = mFirings.front();
    mFirings.pop_front();
    mRunningSync = firing.sync;
    lock.unlock();
    firing.proc(firing.sync, firing.channel, 0, firing.user);
    lock.lock();
    mRunningSync = 0;
    mSyncChanged.notify_all();
  }
  mRunningSync = 0;
  mSyncChanged.notify_all();
}

void Mixer::WaitForSyncs() {
  std::unique_lock<std::mutex> lock(mLock);
  mSyncChanged.wait(lock, [this] { return !mInit || (mFirings.empty() && mRunningSync == 0); });
}

void Mixer::DeviceCallback(void* self, std::uint8_t* stream, int bytes) {
  static_cast<Mixer*>(self)->Mix(reinterpret_cast<float*>(stream), unsigned(bytes) / (kMixChannels * sizeof(float)));
}

void Mixer::Mix(float* out, unsigned frames) {
  std::memset(out, 0, std::size_t(frames) * kMixChannels * sizeof(float));
  std::lock_guard<std::mutex> lock(mLock);
  if (!mInit || mPaused) return;
  if (mScratch.size() < std::size_t(frames) * kMixChannels) mScratch.resize(std::size_t(frames) * kMixChannels);
  for (auto& [handle, channel] : mChannels) MixChannel(handle, *channel, out, frames);
  mLimiter.Process(out, frames);
}

void Mixer::MixChannel(DWORD handle, Channel& channel, float* out, unsigned frames) {
  unsigned got = 0;
  const float* source = nullptr;
  if (channel.playing) {
    if (channel.decoder) {
      got = channel.decoder->Read(mScratch.data(), frames);
      source = mScratch.data();
    } else {
      const std::size_t total = channel.sample->frames.size() / kMixChannels;
      got = unsigned(std::min<std::size_t>(frames, total - channel.position));
      source = channel.sample->frames.data() + channel.position * kMixChannels;
      channel.position += got;
    }
  }
  Slide& slide = channel.slide;
  if (slide.active) {
    // The slide follows the output clock, also while the channel is stopped.
    const std::uint64_t left = slide.total - slide.done;
    const unsigned ramp = unsigned(std::min<std::uint64_t>(left, frames));
    const float step = (slide.to - slide.from) / float(slide.total);
    for (unsigned i = 0; i < got; ++i) {
      const float volume = i < ramp ? slide.from + step * float(slide.done + i) : slide.to;
      out[2 * i] += source[2 * i] * volume;
      out[2 * i + 1] += source[2 * i + 1] * volume;
    }
    slide.done += ramp;
    channel.volume = slide.from + step * float(slide.done);
    if (slide.done >= slide.total) {
      slide.active = false;
      channel.volume = slide.to;
      Fire(handle, channel, BASS_SYNC_SLIDE);
    }
  } else {
    const float volume = channel.volume;
    for (unsigned i = 0; i < 2 * got; ++i) out[i] += source[i] * volume;
  }
  if (channel.playing && got < frames) {
    channel.playing = false;
    channel.atEnd = true;
    Fire(handle, channel, BASS_SYNC_END);
  }
}

}  // namespace bass
