#include "Platform/Bass/Decode.h"

#include <SDL.h>
#include <vorbis/vorbisfile.h>

#include <algorithm>
#include <cstdio>
#include <cstring>

namespace bass {

namespace {

// Converts float frames of any rate and channel count to the mixer's format.
class MixConverter {
 public:
  MixConverter(int channels, int rate)
      : mStream(SDL_NewAudioStream(AUDIO_F32SYS, std::uint8_t(channels), rate, AUDIO_F32SYS, kMixChannels, kMixRate)) {}
  ~MixConverter() {
    if (mStream) SDL_FreeAudioStream(mStream);
  }
  MixConverter(const MixConverter&) = delete;
  MixConverter& operator=(const MixConverter&) = delete;

  bool IsValid() const { return mStream != nullptr; }
  bool Put(const float* samples, std::size_t count) {
    return SDL_AudioStreamPut(mStream, samples, int(count * sizeof(float))) == 0;
  }
  // After the last Put: the frames held back for resampling become available.
  void Finish() { SDL_AudioStreamFlush(mStream); }
  void Clear() { SDL_AudioStreamClear(mStream); }
  unsigned Available() const { return unsigned(SDL_AudioStreamAvailable(mStream)) / (kMixChannels * sizeof(float)); }
  unsigned Get(float* out, unsigned frames) {
    const int got = SDL_AudioStreamGet(mStream, out, int(frames * kMixChannels * sizeof(float)));
    return got > 0 ? unsigned(got) / (kMixChannels * sizeof(float)) : 0;
  }
  void GetAll(std::vector<float>& frames) {
    const unsigned count = Available();
    const std::size_t start = frames.size();
    frames.resize(start + std::size_t(count) * kMixChannels);
    frames.resize(start + std::size_t(Get(frames.data() + start, count)) * kMixChannels);
  }

 private:
  SDL_AudioStream* mStream;
};

// Planar floats from ov_read_float, interleaved.
void InterleaveVorbis(float** planes, int channels, long frames, std::vector<float>& out) {
  out.resize(std::size_t(frames) * std::size_t(channels));
  for (long i = 0; i < frames; ++i)
    for (int c = 0; c < channels; ++c) out[std::size_t(i) * std::size_t(channels) + std::size_t(c)] = planes[c][i];
}

struct DecodeMemoryFile {
  const unsigned char* data;
  std::size_t size;
  std::size_t position;
};

std::size_t MemoryVorbisRead(void* buffer, std::size_t size, std::size_t count, void* source) {
  DecodeMemoryFile* file = static_cast<DecodeMemoryFile*>(source);
  if (size == 0) return 0;
  const std::size_t items = std::min(count, (file->size - file->position) / size);
  std::memcpy(buffer, file->data + file->position, items * size);
  file->position += items * size;
  return items;
}

int MemoryVorbisSeek(void* source, ogg_int64_t offset, int whence) {
  DecodeMemoryFile* file = static_cast<DecodeMemoryFile*>(source);
  const ogg_int64_t base = whence == SEEK_CUR ? ogg_int64_t(file->position) : whence == SEEK_END ? ogg_int64_t(file->size) : 0;
  const ogg_int64_t target = base + offset;
  if (target < 0 || target > ogg_int64_t(file->size)) return -1;
  file->position = std::size_t(target);
  return 0;
}

long MemoryVorbisTell(void* source) { return long(static_cast<DecodeMemoryFile*>(source)->position); }

bool DecodeVorbisMemory(const void* data, std::size_t size, std::vector<float>& frames) {
  DecodeMemoryFile file{static_cast<const unsigned char*>(data), size, 0};
  const ov_callbacks callbacks{MemoryVorbisRead, MemoryVorbisSeek, nullptr, MemoryVorbisTell};
  OggVorbis_File vorbis;
  if (ov_open_callbacks(&file, &vorbis, nullptr, 0, callbacks) != 0) return false;
  const vorbis_info* info = ov_info(&vorbis, -1);
  MixConverter converter(info->channels, int(info->rate));
  bool ok = converter.IsValid();
  std::vector<float> chunk;
  int section = 0;
  while (ok) {
    float** planes = nullptr;
    const long got = ov_read_float(&vorbis, &planes, 4096, &section);
    if (got == OV_HOLE) continue;  // a gap in the data: decoding goes on after it
    if (got < 0) ok = false;
    if (got <= 0) break;
    // Chained files may change format between links; ours are single links, so keep the first.
    const vorbis_info* now = ov_info(&vorbis, section);
    if (now->channels != info->channels || now->rate != info->rate) break;
    InterleaveVorbis(planes, info->channels, got, chunk);
    ok = converter.Put(chunk.data(), chunk.size());
    converter.GetAll(frames);
  }
  ov_clear(&vorbis);
  if (!ok) return false;
  converter.Finish();
  converter.GetAll(frames);
  return true;
}

bool DecodeWavMemory(const void* data, std::size_t size, std::vector<float>& frames) {
  if (size > std::size_t(INT32_MAX)) return false;
  SDL_RWops* file = SDL_RWFromConstMem(data, int(size));
  if (!file) return false;
  SDL_AudioSpec spec;
  Uint8* buffer = nullptr;
  Uint32 bytes = 0;
  if (!SDL_LoadWAV_RW(file, 1, &spec, &buffer, &bytes)) return false;
  SDL_AudioStream* stream = SDL_NewAudioStream(spec.format, spec.channels, spec.freq, AUDIO_F32SYS, kMixChannels, kMixRate);
  bool ok = stream && SDL_AudioStreamPut(stream, buffer, int(bytes)) == 0 && SDL_AudioStreamFlush(stream) == 0;
  if (ok) {
    const int available = SDL_AudioStreamAvailable(stream);
    frames.resize(std::size_t(available) / sizeof(float));
    const int got = SDL_AudioStreamGet(stream, frames.data(), available);
    frames.resize(got > 0 ? std::size_t(got) / sizeof(float) : 0);
  }
  if (stream) SDL_FreeAudioStream(stream);
  SDL_FreeWAV(buffer);
  return ok;
}

bool DecodeStartsWith(const void* data, std::size_t size, const char* magic) {
  const std::size_t length = std::strlen(magic);
  return size >= length && std::memcmp(data, magic, length) == 0;
}

// Vorbis through the stream's procedures; the position is kept here because the procedures only
// seek from the start.
class VorbisStreamDecoder : public StreamDecoder {
 public:
  VorbisStreamDecoder(const BASS_FILEPROCS& procs, void* user) : mProcs(procs), mUser(user) {}
  // ov_clear runs the close procedure; a failed ov_open_callbacks has not taken the file.
  ~VorbisStreamDecoder() override {
    if (mOpen) ov_clear(&mVorbis);
  }

  // False when the file is not Ogg Vorbis; then it is still open.
  bool Open() {
    mLength = mProcs.length(mUser);
    const ov_callbacks callbacks{ProcRead, ProcSeek, ProcClose, ProcTell};
    if (ov_open_callbacks(this, &mVorbis, nullptr, 0, callbacks) != 0) return false;
    mOpen = true;
    const vorbis_info* info = ov_info(&mVorbis, -1);
    mChannels = info->channels;
    mRate = int(info->rate);
    mConverter = std::make_unique<MixConverter>(mChannels, mRate);
    return true;
  }
  bool CanConvert() const { return mConverter->IsValid(); }

  unsigned Read(float* out, unsigned frames) override {
    unsigned done = 0;
    while (done < frames) {
      done += mConverter->Get(out + std::size_t(done) * kMixChannels, frames - done);
      if (done == frames || mEnded) break;
      Decode();
    }
    return done;
  }

  bool Rewind() override {
    if (ov_pcm_seek(&mVorbis, 0) != 0) return false;
    mConverter->Clear();
    mEnded = false;
    return true;
  }

 private:
  void Decode() {
    float** planes = nullptr;
    int section = 0;
    long got = ov_read_float(&mVorbis, &planes, 4096, &section);
    while (got == OV_HOLE) got = ov_read_float(&mVorbis, &planes, 4096, &section);
    const vorbis_info* now = got > 0 ? ov_info(&mVorbis, section) : nullptr;
    if (got <= 0 || now->channels != mChannels || now->rate != mRate) {
      mEnded = true;
      mConverter->Finish();
      return;
    }
    InterleaveVorbis(planes, mChannels, got, mChunk);
    if (!mConverter->Put(mChunk.data(), mChunk.size())) {
      mEnded = true;
      mConverter->Finish();
    }
  }

  static std::size_t ProcRead(void* buffer, std::size_t size, std::size_t count, void* source) {
    VorbisStreamDecoder* self = static_cast<VorbisStreamDecoder*>(source);
    if (size == 0 || count == 0) return 0;
    const std::size_t wanted = std::min<std::size_t>(size * count, 0x7FFFFFFF);
    const DWORD got = self->mProcs.read(buffer, DWORD(wanted), self->mUser);
    const std::size_t bytes = std::min<std::size_t>(got, wanted);
    self->mPosition += bytes;
    return bytes / size;
  }
  static int ProcSeek(void* source, ogg_int64_t offset, int whence) {
    VorbisStreamDecoder* self = static_cast<VorbisStreamDecoder*>(source);
    const ogg_int64_t base = whence == SEEK_CUR ? ogg_int64_t(self->mPosition) : whence == SEEK_END ? ogg_int64_t(self->mLength) : 0;
    const ogg_int64_t target = base + offset;
    if (target < 0 || QWORD(target) > self->mLength) return -1;
    if (!self->mProcs.seek(QWORD(target), self->mUser)) return -1;
    self->mPosition = QWORD(target);
    return 0;
  }
  static int ProcClose(void* source) {
    VorbisStreamDecoder* self = static_cast<VorbisStreamDecoder*>(source);
    self->mProcs.close(self->mUser);
    return 0;
  }
  static long ProcTell(void* source) { return long(static_cast<VorbisStreamDecoder*>(source)->mPosition); }

  BASS_FILEPROCS mProcs;
  void* mUser;
  OggVorbis_File mVorbis;
  bool mOpen = false;
  bool mEnded = false;
  QWORD mLength = 0;
  QWORD mPosition = 0;
  int mChannels = 0;
  int mRate = 0;
  std::unique_ptr<MixConverter> mConverter;
  std::vector<float> mChunk;
};

// Any other file is read whole through the procedures and decoded at once.
class MemoryStreamDecoder : public StreamDecoder {
 public:
  MemoryStreamDecoder(const BASS_FILEPROCS& procs, void* user, std::vector<float> frames)
      : mProcs(procs), mUser(user), mFrames(std::move(frames)) {}
  ~MemoryStreamDecoder() override { mProcs.close(mUser); }
  unsigned Read(float* out, unsigned frames) override {
    const std::size_t total = mFrames.size() / kMixChannels;
    const unsigned count = unsigned(std::min<std::size_t>(frames, total - mPosition));
    std::memcpy(out, mFrames.data() + mPosition * kMixChannels, std::size_t(count) * kMixChannels * sizeof(float));
    mPosition += count;
    return count;
  }
  bool Rewind() override {
    mPosition = 0;
    return true;
  }

 private:
  BASS_FILEPROCS mProcs;
  void* mUser;
  std::vector<float> mFrames;
  std::size_t mPosition = 0;
};

// Reads the file from its start through the procedures; empty when it cannot or it is too large.
std::vector<unsigned char> ReadThroughProcs(const BASS_FILEPROCS& procs, void* user) {
  const QWORD length = procs.length(user);
  std::vector<unsigned char> bytes;
  if (length == 0 || length > QWORD(256u << 20) || !procs.seek(0, user)) return bytes;
  bytes.resize(std::size_t(length));
  std::size_t done = 0;
  while (done < bytes.size()) {
    const DWORD got = procs.read(bytes.data() + done, DWORD(bytes.size() - done), user);
    if (got == 0 || got > bytes.size() - done) break;
    done += got;
  }
  bytes.resize(done);
  return bytes;
}

}  // namespace

bool DecodeToMixFormat(const void* data, std::size_t size, std::vector<float>& frames) {
  frames.clear();
  bool ok = false;
  if (data && DecodeStartsWith(data, size, "OggS"))
    ok = DecodeVorbisMemory(data, size, frames);
  else if (data && DecodeStartsWith(data, size, "RIFF"))
    ok = DecodeWavMemory(data, size, frames);
  if (!ok || frames.empty()) {
    frames.clear();
    return false;
  }
  return true;
}

std::unique_ptr<StreamDecoder> StreamDecoder::Open(const BASS_FILEPROCS& procs, void* user) {
  auto vorbis = std::make_unique<VorbisStreamDecoder>(procs, user);
  if (vorbis->Open()) {
    if (vorbis->CanConvert()) return vorbis;
    return nullptr;  // closes the file
  }
  vorbis.reset();
  std::vector<unsigned char> bytes = ReadThroughProcs(procs, user);
  std::vector<float> frames;
  if (!DecodeWavMemory(bytes.data(), bytes.size(), frames) || frames.empty()) {
    procs.close(user);
    return nullptr;
  }
  return std::make_unique<MemoryStreamDecoder>(procs, user, std::move(frames));
}

}  // namespace bass
