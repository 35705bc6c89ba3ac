// Synthesises the sample data's sounds: short music loops (Ogg Vorbis at a low bit rate) and a few
// effects (Ogg Vorbis and 16-bit WAV). Deterministic, so re-running it changes nothing.
//   soundgen <data root>
#include <vorbis/vorbisenc.h>

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <vector>

namespace {

constexpr int kRate = 22050;
constexpr double kTwoPi = 6.283185307179586;

// Levels of the written files: the loudest music and the two loudest effects at once still peak
// under the mixer's limiter ceiling, so only a crowd of effects at once is limited.
constexpr double kMusicLevel = 0.6;
constexpr double kEffectLevel = 0.4;

void Scale(std::vector<float>& samples, double level) {
  for (float& sample : samples) sample = float(sample * level);
}

double NoteHz(int semitonesFromA4) { return 440.0 * std::pow(2.0, semitonesFromA4 / 12.0); }

// A plucked note: a few harmonics under an exponential decay, added into out at start.
void AddNote(std::vector<float>& out, double start, double seconds, double hz, double gain, double brightness) {
  const std::size_t first = std::size_t(start * kRate);
  const std::size_t count = std::size_t(seconds * kRate);
  for (std::size_t i = 0; i < count && first + i < out.size(); ++i) {
    const double t = double(i) / kRate;
    const double attack = std::min(1.0, t / 0.01);
    const double envelope = attack * std::exp(-3.0 * t / seconds);
    double value = std::sin(kTwoPi * hz * t) + brightness * 0.5 * std::sin(2 * kTwoPi * hz * t) +
                   brightness * 0.25 * std::sin(3 * kTwoPi * hz * t);
    // Fade the last 5 ms so that nothing clicks.
    const double tail = std::min(1.0, double(count - i) / (0.005 * kRate));
    out[first + i] += float(gain * envelope * tail * value);
  }
}

// One loop: a bass line and an arpeggio over a four-chord progression, tempo and key per track.
std::vector<float> MakeLoop(int track) {
  static const int kProgressions[4][4] = {{0, 5, 7, 5}, {0, -4, 3, -2}, {0, 3, 5, 7}, {0, 7, 5, -5}};
  const int key = -12 + (track * 5) % 12;
  const double beat = 60.0 / (96.0 + 12.0 * (track % 4));
  const int* chords = kProgressions[track % 4];
  const double length = 16 * beat;  // four bars of four beats
  std::vector<float> out(std::size_t(length * kRate), 0.0f);
  const bool minor = track % 2 == 1;
  for (int bar = 0; bar < 4; ++bar) {
    const int root = key + chords[bar];
    const int third = minor ? 3 : 4;
    const int arpeggio[4] = {0, third, 7, 12};
    AddNote(out, bar * 4 * beat, 4 * beat, NoteHz(root - 24), 0.28, 0.3);
    for (int step = 0; step < 8; ++step) {
      const double at = bar * 4 * beat + step * beat / 2;
      const int note = root + arpeggio[(step + track) % 4] + (step >= 4 ? 12 : 0);
      AddNote(out, at, beat * 0.9, NoteHz(note), 0.14, 0.6);
    }
  }
  // The main menu and every game track fade neither in nor out: they loop.
  Scale(out, kMusicLevel);
  return out;
}

std::vector<float> MakeEffect(const std::string& name) {
  std::mt19937 random(1234);
  std::uniform_real_distribution<double> noise(-1.0, 1.0);
  std::vector<float> out;
  auto resize = [&out](double seconds) { out.assign(std::size_t(seconds * kRate), 0.0f); };
  if (name == "click") {
    resize(0.05);
    AddNote(out, 0.0, 0.05, 1800.0, 0.5, 0.2);
  } else if (name == "coin") {
    resize(0.3);
    AddNote(out, 0.0, 0.1, NoteHz(14), 0.4, 0.3);
    AddNote(out, 0.08, 0.22, NoteHz(19), 0.4, 0.3);
  } else if (name == "build") {
    resize(0.4);
    double phase = 0.0;
    for (std::size_t i = 0; i < out.size(); ++i) {
      const double t = double(i) / kRate;
      phase += kTwoPi * (200.0 + 900.0 * t / 0.4) / kRate;
      out[i] = float(0.4 * std::sin(phase) * std::exp(-2.0 * t) * std::min(1.0, (0.4 - t) / 0.01));
    }
  } else if (name == "win") {  // a rising major arpeggio
    resize(0.9);
    const int notes[4] = {3, 7, 10, 15};
    for (int i = 0; i < 4; ++i) AddNote(out, i * 0.15, 0.9 - i * 0.15, NoteHz(notes[i]), 0.3, 0.4);
  } else if (name == "lose") {  // three falling minor steps
    resize(0.9);
    const int notes[3] = {0, -4, -9};
    for (int i = 0; i < 3; ++i) AddNote(out, i * 0.25, 0.9 - i * 0.25, NoteHz(notes[i]), 0.35, 0.2);
  } else if (name == "hit") {  // a short low thud
    resize(0.12);
    AddNote(out, 0.0, 0.12, 110.0, 0.6, 0.8);
  } else {  // shot: a noise burst with a falling tone
    resize(0.25);
    double phase = 0.0;
    for (std::size_t i = 0; i < out.size(); ++i) {
      const double t = double(i) / kRate;
      phase += kTwoPi * (400.0 - 1000.0 * t) / kRate;
      const double envelope = std::exp(-18.0 * t) * std::min(1.0, (0.25 - t) / 0.01);
      out[i] = float(envelope * (0.4 * noise(random) + 0.3 * std::sin(phase)));
    }
  }
  Scale(out, kEffectLevel);
  return out;
}

bool WriteOgg(const std::filesystem::path& path, const std::vector<float>& samples, int serial) {
  std::ofstream file(path, std::ios::binary);
  if (!file) return false;
  vorbis_info info;
  vorbis_info_init(&info);
  if (vorbis_encode_init_vbr(&info, 1, kRate, -0.1f) != 0) return false;
  vorbis_comment comment;
  vorbis_comment_init(&comment);
  vorbis_comment_add_tag(&comment, "ENCODER", "soundgen");
  vorbis_dsp_state dsp;
  vorbis_analysis_init(&dsp, &info);
  vorbis_block block;
  vorbis_block_init(&dsp, &block);
  ogg_stream_state stream;
  ogg_stream_init(&stream, serial);
  ogg_packet header, headerComment, headerCode;
  vorbis_analysis_headerout(&dsp, &comment, &header, &headerComment, &headerCode);
  ogg_stream_packetin(&stream, &header);
  ogg_stream_packetin(&stream, &headerComment);
  ogg_stream_packetin(&stream, &headerCode);
  ogg_page page;
  auto writePage = [&file, &page] {
    file.write(reinterpret_cast<const char*>(page.header), page.header_len);
    file.write(reinterpret_cast<const char*>(page.body), page.body_len);
  };
  while (ogg_stream_flush(&stream, &page)) writePage();

  auto drain = [&] {
    ogg_packet packet;
    while (vorbis_analysis_blockout(&dsp, &block) == 1) {
      vorbis_analysis(&block, nullptr);
      vorbis_bitrate_addblock(&block);
      while (vorbis_bitrate_flushpacket(&dsp, &packet)) {
        ogg_stream_packetin(&stream, &packet);
        while (ogg_stream_pageout(&stream, &page)) writePage();
      }
    }
  };
  const std::size_t chunk = 4096;
  for (std::size_t done = 0; done < samples.size(); done += chunk) {
    const std::size_t count = std::min(chunk, samples.size() - done);
    float** buffer = vorbis_analysis_buffer(&dsp, int(count));
    std::copy(samples.begin() + long(done), samples.begin() + long(done + count), buffer[0]);
    vorbis_analysis_wrote(&dsp, int(count));
    drain();
  }
  vorbis_analysis_wrote(&dsp, 0);
  drain();
  while (ogg_stream_flush(&stream, &page)) writePage();

  ogg_stream_clear(&stream);
  vorbis_block_clear(&block);
  vorbis_dsp_clear(&dsp);
  vorbis_comment_clear(&comment);
  vorbis_info_clear(&info);
  return bool(file);
}

bool WriteWav(const std::filesystem::path& path, const std::vector<float>& samples) {
  std::ofstream file(path, std::ios::binary);
  auto put32 = [&file](std::uint32_t value) { file.write(reinterpret_cast<const char*>(&value), 4); };
  auto put16 = [&file](std::uint16_t value) { file.write(reinterpret_cast<const char*>(&value), 2); };
  const std::uint32_t dataSize = std::uint32_t(samples.size() * 2);
  file << "RIFF";
  put32(36 + dataSize);
  file << "WAVEfmt ";
  put32(16);
  put16(1);  // PCM
  put16(1);
  put32(kRate);
  put32(kRate * 2);
  put16(2);
  put16(16);
  file << "data";
  put32(dataSize);
  for (float sample : samples) put16(std::uint16_t(std::int16_t(std::lround(std::max(-1.0f, std::min(1.0f, sample)) * 32767.0f))));
  return bool(file);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: soundgen <data root>\n");
    return 2;
  }
  const std::filesystem::path root = argv[1];
  const std::filesystem::path music = root / "ruv/data/music";
  const std::filesystem::path sound = root / "ruv/data/sound";
  std::filesystem::create_directories(music);
  std::filesystem::create_directories(sound);
  bool ok = WriteOgg(music / "main_menu.ogg", MakeLoop(0), 100);
  for (int track = 1; track <= 7; ++track)
    ok = WriteOgg(music / ("ingame" + std::to_string(track) + ".ogg"), MakeLoop(track), 100 + track) && ok;
  ok = WriteWav(sound / "click.wav", MakeEffect("click")) && ok;
  ok = WriteWav(sound / "coin.wav", MakeEffect("coin")) && ok;
  ok = WriteOgg(sound / "build.ogg", MakeEffect("build"), 200) && ok;
  ok = WriteOgg(sound / "shot.ogg", MakeEffect("shot"), 201) && ok;
  ok = WriteOgg(sound / "win.ogg", MakeEffect("win"), 202) && ok;
  ok = WriteOgg(sound / "lose.ogg", MakeEffect("lose"), 203) && ok;
  ok = WriteWav(sound / "hit.wav", MakeEffect("hit")) && ok;
  if (!ok) std::fprintf(stderr, "soundgen: could not write every file under %s\n", root.c_str());
  return ok ? 0 : 1;
}
