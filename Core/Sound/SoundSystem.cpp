#include "Core/Sound/SoundSystem.h"

#include <algorithm>
#include <climits>
#include <memory>

#include "Core/Base/LogMessage.h"
#include "Core/Base/Stream.h"
#include "Core/Base/StringEncoding.h"
#include "Core/File/FileInfo.h"
#include "Core/File/FileManager.h"
#include "Core/Resource/ResourceManager.h"

namespace {

constexpr bass::DWORD kMusicFadeMs = 1000;
constexpr bass::DWORD kMusicConfigValue = 4;

// The music stream reads the reader it was created with. These run on the audio layer's threads,
// never at the same time as the reader is deleted (freeing the stream waits for them).
void MusicFileClose(void*) {}

bass::QWORD MusicFileLength(void* user) {
  base::Stream* reader = static_cast<base::Stream*>(user);
  return reader ? reader->GetSize() : 0;
}

bass::DWORD MusicFileRead(void* buffer, bass::DWORD length, void* user) {
  base::Stream* reader = static_cast<base::Stream*>(user);
  return reader ? reader->Read(buffer, length) : 0;
}

bass::BOOL MusicFileSeek(bass::QWORD offset, void* user) {
  base::Stream* reader = static_cast<base::Stream*>(user);
  if (!reader || offset > bass::QWORD(INT_MAX)) return bass::FALSE;
  // Seek answers the new position: it stays put or clamps when it cannot go there.
  return reader->Seek(int(offset), base::Stream::kBegin) == offset ? bass::TRUE : bass::FALSE;
}

const bass::BASS_FILEPROCS kMusicFileProcs = {MusicFileClose, MusicFileLength, MusicFileRead, MusicFileSeek};

}  // namespace

SoundSystem::SoundSystem() {
  mInitialised = bass::BASS_Init(bass::BASS_DEVICE_DEFAULT, 44100, 0, nullptr, nullptr) != bass::FALSE;
  // Without an output device the layer runs without output: the sound files are still loaded, so
  // only a file that does not decode is reported, and nothing is heard. When the layer was already
  // initialised by someone else, this fails as well and there is nothing to report.
  if (!mInitialised && bass::BASS_Init(bass::BASS_DEVICE_NOSOUND, 44100, 0, nullptr, nullptr) != bass::FALSE) {
    mInitialised = true;
    base::LogBlock(u"no audio device; sound is off\n");
  }
  bass::BASS_SetConfig(bass::BASS_CONFIG_UPDATETHREADS, kMusicConfigValue);
}

SoundSystem::~SoundSystem() {
  bass::HSTREAM stream = 0;
  std::vector<bass::HSYNC> syncs;
  {
    std::lock_guard<std::mutex> lock(mMusicLock);
    mClosing = true;  // a sync that gets the lock from now on does nothing
    stream = mMusicStream;
    syncs.swap(mMusicSyncs);
  }
  // Without the lock: removing waits for a sync procedure that is running, which takes the lock.
  for (bass::HSYNC sync : syncs) bass::BASS_ChannelRemoveSync(stream, sync);
  {
    std::lock_guard<std::mutex> lock(mMusicLock);
    if (mMusicStream) FreeMusicStream();
  }
  for (Sound* sound : mSounds) delete sound;
  mSounds.clear();
  if (mInitialised) bass::BASS_Free();
}

std::vector<base::SingletoneBase*> SoundSystem::GetDependencies() {
  return {resource::ResourceManager::Instance()};
}

Sound* SoundSystem::CreateSound(const std::string& name) {
  std::string folder;
  {
    std::lock_guard<std::mutex> lock(mMusicLock);
    folder = mFolder;
  }
  const std::u16string path = base::ToWide(folder + name, base::kEncodingUtf8);
  resource::ResourceManager* manager = resource::ResourceManager::Instance();
  resource::ResourcePtr<resource::ResourceSound> handle;
  if (manager) handle = manager->Get<resource::ResourceSound>(path);
  if (handle && !handle->IsLoaded()) handle->Load();
  return new Sound(handle);
}

void SoundSystem::PlayMusic(const std::string& name) {
  std::lock_guard<std::mutex> lock(mMusicLock);
  mPlaylist.clear();
  StartTrackLocked(name);
}

void SoundSystem::PlayPlaylist(const std::vector<std::string>& list) {
  std::lock_guard<std::mutex> lock(mMusicLock);
  mPlaylist = list;
  if (!mPlaylist.empty()) StartTrackLocked(mPlaylist.front());
}

void SoundSystem::StartTrack(const std::string& name) {
  std::lock_guard<std::mutex> lock(mMusicLock);
  StartTrackLocked(name);
}

void SoundSystem::FreeMusicStream() {
  bass::BASS_ChannelStop(mMusicStream);
  // Returns once the stream's file procedures are done with the reader; drops its syncs.
  bass::BASS_StreamFree(mMusicStream);
  mMusicStream = 0;
  mMusicSyncs.clear();
  delete mMusicReader;
  mMusicReader = nullptr;
}

void SoundSystem::StartTrackLocked(const std::string& name) {
  if (name == mCurrentTrack) {
    if (mMusicStream && bass::BASS_ChannelIsActive(mMusicStream) != bass::BASS_ACTIVE_STOPPED) return;
    if (!name.empty()) bass::BASS_ChannelPlay(mMusicStream, bass::TRUE);
    return;
  }
  if (mMusicStream) {
    if (bass::BASS_ChannelIsActive(mMusicStream) != bass::BASS_ACTIVE_STOPPED && !name.empty()) {
      // Cross-fade: the new track starts when the old one has slid to silence.
      bass::BASS_ChannelSlideAttribute(mMusicStream, bass::BASS_ATTRIB_VOL, 0.0f, kMusicFadeMs);
      const bass::HSYNC sync = bass::BASS_ChannelSetSync(mMusicStream, bass::BASS_SYNC_MIXTIME | bass::BASS_SYNC_SLIDE, 0, OnMusicSync, this);
      if (sync) mMusicSyncs.push_back(sync);
      mNextTrack = name;
      return;
    }
    FreeMusicStream();
  }
  if (name.empty()) {
    mCurrentTrack.clear();
    return;
  }
  file::FileManager* files = file::FileManager::Instance();
  std::unique_ptr<file::FileInfo> file(files ? files->Open(base::ToWide(mFolder + name, base::kEncodingUtf8), nullptr, 0, nullptr) : nullptr);
  if (!file) return;
  mMusicReader = file->Open();
  mMusicStream = bass::BASS_StreamCreateFileUser(bass::STREAMFILE_BUFFER, 0, &kMusicFileProcs, mMusicReader);
  if (!mMusicStream) {
    delete mMusicReader;  // nothing reads it
    mMusicReader = nullptr;
  }
  bass::BASS_ChannelPlay(mMusicStream, bass::TRUE);
  if (mMusicStream) bass::BASS_ChannelSetAttribute(mMusicStream, bass::BASS_ATTRIB_VOL, mMusicVolume);
  if (!mPlaylist.empty()) {
    const bass::HSYNC sync = bass::BASS_ChannelSetSync(mMusicStream, bass::BASS_SYNC_END, 0, OnMusicSync, this);
    if (sync) mMusicSyncs.push_back(sync);
    const auto found = std::find(mPlaylist.begin(), mPlaylist.end(), name);
    mNextTrack = found == mPlaylist.end() || found + 1 == mPlaylist.end() ? mPlaylist.front() : *(found + 1);
  }
  mCurrentTrack = name;
}

void SoundSystem::OnMusicSync(bass::HSYNC, bass::DWORD channel, bass::DWORD, void* user) {
  SoundSystem* self = static_cast<SoundSystem*>(user);
  std::lock_guard<std::mutex> lock(self->mMusicLock);
  // A sync of a stream that the main thread freed or replaced while this one waited is stale.
  if (self->mClosing || channel != self->mMusicStream) return;
  self->StartTrackLocked("");
  const std::string next = self->mNextTrack;
  self->StartTrackLocked(next);
}

std::string SoundSystem::GetNextTrack() {
  std::lock_guard<std::mutex> lock(mMusicLock);
  return mNextTrack;
}

std::string SoundSystem::GetCurrentTrack() {
  std::lock_guard<std::mutex> lock(mMusicLock);
  return mCurrentTrack;
}

void SoundSystem::SetMusicVolume(float volume) {
  std::lock_guard<std::mutex> lock(mMusicLock);
  mMusicVolume = volume;
  if (mMusicStream) bass::BASS_ChannelSetAttribute(mMusicStream, bass::BASS_ATTRIB_VOL, volume);
}

void SoundSystem::SetSoundVolume(float volume) {
  std::lock_guard<std::mutex> lock(mMusicLock);
  mSoundVolume = volume;
  for (Sound* sound : mSounds) bass::BASS_ChannelSetAttribute(sound->GetChannel(), bass::BASS_ATTRIB_VOL, volume);
}

float SoundSystem::GetMusicVolume() {
  std::lock_guard<std::mutex> lock(mMusicLock);
  return mMusicVolume;
}

float SoundSystem::GetSoundVolume() {
  std::lock_guard<std::mutex> lock(mMusicLock);
  return mSoundVolume;
}

void SoundSystem::Pause() { bass::BASS_Pause(); }

void SoundSystem::Resume() { bass::BASS_Start(); }

void SoundSystem::SetFolder(const std::string& folder) {
  std::lock_guard<std::mutex> lock(mMusicLock);
  mFolder = folder;
}

void SoundSystem::DestroySound(Sound* sound) {
  const auto found = std::find(mSounds.begin(), mSounds.end(), sound);
  if (found == mSounds.end()) return;
  mSounds.erase(found);
  delete sound;
}
