// Mixer CPU per voice: 10 s of audio pulled from our mixer with N voices (one sliding), next to
// SDL_MixAudioFormat mixing the same float buffers at the same volumes; and the Vorbis decode time
// of one music track per second of audio.
#include <SDL.h>
#include <benchmark/benchmark.h>
#include <vorbis/vorbisfile.h>

#include <cstring>
#include <fstream>
#include <iterator>
#include <random>
#include <string>
#include <vector>

#include "Platform/Bass/Bass.h"
#include "Platform/Bass/Mixer.h"
#include "tests/Sound/SoundBytes.h"

namespace {

constexpr unsigned kSoundBenchBlock = 1024;  // frames per pull, the device's block
constexpr unsigned kSoundBenchSeconds = 10;
constexpr unsigned kSoundBenchFrames = kSoundBenchSeconds * 44100;

// 10 s of stereo noise at a quarter of full scale, as a float WAV file in memory.
std::string SoundBenchNoiseWav(std::vector<float>& samples) {
  std::mt19937 random(7);
  std::uniform_real_distribution<float> noise(-0.25f, 0.25f);
  samples.resize(std::size_t(kSoundBenchFrames) * 2);
  for (float& sample : samples) sample = noise(random);
  return soundtest::MakeFloatWav(samples, 2, 44100);
}

float SoundBenchVolume(int voice) { return 0.2f + 0.1f * float(voice % 8); }

void BM_MixerPull(benchmark::State& state) {
  const int voices = int(state.range(0));
  if (!bass::BASS_Init(bass::BASS_DEVICE_NOSOUND, 44100, 0, nullptr, nullptr)) {
    state.SkipWithError("BASS_Init");
    return;
  }
  std::vector<float> samples;
  const std::string wav = SoundBenchNoiseWav(samples);
  const bass::HSAMPLE sample = bass::BASS_SampleLoad(bass::TRUE, wav.data(), 0, bass::DWORD(wav.size()), 65535, 0);
  std::vector<float> out(std::size_t(kSoundBenchBlock) * 2);
  std::vector<bass::HCHANNEL> channels;
  for (int voice = 0; voice < voices; ++voice) channels.push_back(bass::BASS_SampleGetChannel(sample, bass::TRUE));
  for (auto _ : state) {
    state.PauseTiming();
    for (int voice = 0; voice < voices; ++voice) {
      bass::BASS_ChannelSetAttribute(channels[std::size_t(voice)], bass::BASS_ATTRIB_VOL, SoundBenchVolume(voice));
      bass::BASS_ChannelPlay(channels[std::size_t(voice)], bass::TRUE);
    }
    // One voice slides through the whole run.
    bass::BASS_ChannelSlideAttribute(channels[0], bass::BASS_ATTRIB_VOL, 0.0f, kSoundBenchSeconds * 1000);
    state.ResumeTiming();
    for (unsigned done = 0; done < kSoundBenchFrames; done += kSoundBenchBlock) bass::MixerPull(out.data(), kSoundBenchBlock);
    benchmark::DoNotOptimize(out.data());
  }
  state.counters["voices"] = voices;
  state.counters["audio_s"] = kSoundBenchSeconds;
  bass::BASS_Free();
}
BENCHMARK(BM_MixerPull)->Arg(1)->Arg(8)->Arg(32)->Unit(benchmark::kMillisecond);

// The same buffers through SDL's mixer; SDL has no slides, so the sliding voice steps once a block.
void BM_SdlMixAudioFormat(benchmark::State& state) {
  const int voices = int(state.range(0));
  std::vector<float> samples;
  SoundBenchNoiseWav(samples);
  std::vector<float> out(std::size_t(kSoundBenchBlock) * 2);
  const Uint32 bytes = kSoundBenchBlock * 2 * sizeof(float);
  for (auto _ : state) {
    for (unsigned done = 0; done < kSoundBenchFrames; done += kSoundBenchBlock) {
      std::memset(out.data(), 0, bytes);
      const std::size_t block = std::min<std::size_t>(kSoundBenchBlock, kSoundBenchFrames - done);
      const Uint8* source = reinterpret_cast<const Uint8*>(samples.data() + std::size_t(done) * 2);
      for (int voice = 0; voice < voices; ++voice) {
        float volume = SoundBenchVolume(voice);
        if (voice == 0) volume *= 1.0f - float(done) / float(kSoundBenchFrames);
        SDL_MixAudioFormat(reinterpret_cast<Uint8*>(out.data()), source, AUDIO_F32SYS, Uint32(block * 2 * sizeof(float)),
                           int(volume * SDL_MIX_MAXVOLUME));
      }
      benchmark::DoNotOptimize(out.data());
    }
  }
  state.counters["voices"] = voices;
  state.counters["audio_s"] = kSoundBenchSeconds;
}
BENCHMARK(BM_SdlMixAudioFormat)->Arg(1)->Arg(8)->Arg(32)->Unit(benchmark::kMillisecond);

struct SoundBenchMemory {
  const std::string* bytes;
  std::size_t position;
};

std::size_t SoundBenchRead(void* buffer, std::size_t size, std::size_t count, void* source) {
  SoundBenchMemory* file = static_cast<SoundBenchMemory*>(source);
  const std::size_t items = size ? std::min(count, (file->bytes->size() - file->position) / size) : 0;
  std::memcpy(buffer, file->bytes->data() + file->position, items * size);
  file->position += items * size;
  return items;
}

// libvorbisfile's decode of the main menu track, in time per second of audio.
void BM_VorbisDecodeTrack(benchmark::State& state) {
  std::ifstream in(std::string(QM_SOURCE_DIR) + "/data/ruv/data/music/main_menu.ogg", std::ios::binary);
  const std::string bytes((std::istreambuf_iterator<char>(in)), {});
  double seconds = 0.0;
  for (auto _ : state) {
    SoundBenchMemory file{&bytes, 0};
    OggVorbis_File vorbis;
    const ov_callbacks callbacks{SoundBenchRead, nullptr, nullptr, nullptr};
    if (ov_open_callbacks(&file, &vorbis, nullptr, 0, callbacks) != 0) {
      state.SkipWithError("not Ogg Vorbis");
      return;
    }
    long frames = 0;
    float** planes = nullptr;
    int section = 0;
    for (long got; (got = ov_read_float(&vorbis, &planes, 4096, &section)) > 0;) frames += got;
    seconds = double(frames) / double(ov_info(&vorbis, -1)->rate);
    ov_clear(&vorbis);
  }
  state.counters["audio_s"] = seconds;
  // Decode seconds per second of audio.
  state.counters["s_per_audio_s"] =
      benchmark::Counter(double(state.iterations()) * seconds, benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}
BENCHMARK(BM_VorbisDecodeTrack)->Unit(benchmark::kMicrosecond);

}  // namespace
