#include "Core/Sound/Sound.h"

Sound::Sound(const resource::ResourcePtr<resource::ResourceSound>& resource)
    : mResource(resource), mChannel(bass::BASS_SampleGetChannel(resource ? resource->GetSample() : 0, bass::TRUE)) {}

Sound::~Sound() {
  bass::BASS_ChannelStop(mChannel);
  for (bass::HSYNC sync : mSyncs)
    if (sync) bass::BASS_ChannelRemoveSync(mChannel, sync);
}

void Sound::Play() { bass::BASS_ChannelPlay(mChannel, bass::TRUE); }

bool Sound::IsPlaying() { return bass::BASS_ChannelIsActive(mChannel) == bass::BASS_ACTIVE_PLAYING; }

void Sound::SetVolume(float volume, float seconds) {
  if (seconds > 0.0f)
    bass::BASS_ChannelSlideAttribute(mChannel, bass::BASS_ATTRIB_VOL, volume, bass::DWORD(seconds * 1000.0f));
  else
    bass::BASS_ChannelSetAttribute(mChannel, bass::BASS_ATTRIB_VOL, volume);
}
