// Sound effects and music, synthesised from oscillators, noise and envelopes: 16-bit mono WAV and
// Ogg Vorbis (mono effects, stereo music loops).
#include "AssetGen.h"

#include <vorbis/vorbisenc.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace AssetGen {
namespace {

const int kRate = 44100;
const double kPeak = 0.85;  // about -1.4 dBFS, leaving room for the lossy codec's overshoot

// ---------------------------------------------------------------- synthesis primitives

struct Buffer {
  int channels = 1;
  std::vector<float> samples;  // interleaved
  bool wrap = false;           // mixing past the end continues at the start (seamless loops)
  Buffer(double seconds, int channelCount, bool loop = false)
      : channels(channelCount), samples(static_cast<size_t>(seconds * kRate) * static_cast<size_t>(channelCount)),
        wrap(loop) {}
  size_t Frames() const { return samples.size() / static_cast<size_t>(channels); }
  void Add(long frame, double value, double pan = 0.0) {
    long n = static_cast<long>(Frames());
    if (wrap) frame = ((frame % n) + n) % n;
    if (frame < 0 || frame >= n) return;
    if (channels == 1) {
      samples[static_cast<size_t>(frame)] += static_cast<float>(value);
    } else {
      double left = std::cos((pan + 1) * M_PI / 4), right = std::sin((pan + 1) * M_PI / 4);
      samples[static_cast<size_t>(frame) * 2] += static_cast<float>(value * left * M_SQRT2);
      samples[static_cast<size_t>(frame) * 2 + 1] += static_cast<float>(value * right * M_SQRT2);
    }
  }
};

double Osc(int shape, double phase) {  // phase in cycles
  double p = phase - std::floor(phase);
  switch (shape) {
    case 0: return std::sin(2 * M_PI * p);
    case 1: return 2 * p - 1;                                    // saw
    case 2: return p < 0.5 ? 1 : -1;                             // square
    case 3: return p < 0.5 ? 4 * p - 1 : 3 - 4 * p;              // triangle
    default: return std::sin(2 * M_PI * p) + 0.5 * std::sin(4 * M_PI * p);  // soft organ
  }
}

// Attack-decay-sustain-release envelope over a note of the given length.
double Envelope(double t, double length, double attack, double decay, double sustain, double release) {
  if (t < 0) return 0;
  double level;
  if (t < attack) level = t / attack;
  else if (t < attack + decay) level = 1 - (1 - sustain) * (t - attack) / decay;
  else level = sustain;
  if (t > length) level *= std::max(0.0, 1 - (t - length) / release);
  return level;
}

// One-pole low-pass filter with a cutoff that may change per sample.
struct LowPass {
  double y = 0;
  double Step(double x, double cutoff) {
    double a = 1 - std::exp(-2 * M_PI * std::min(cutoff, kRate * 0.45) / kRate);
    y += a * (x - y);
    return y;
  }
};

double Midi(double note) { return 440.0 * std::pow(2.0, (note - 69) / 12.0); }

struct Note {
  double start, length, freq, gain, pan;
  int shape;
  double attack, decay, sustain, release, cutoff, detune;
};

void Play(Buffer& b, const Note& n) {
  LowPass lp;
  double total = n.length + n.release;
  long first = std::lround(n.start * kRate), count = std::lround(total * kRate);
  double ph1 = 0, ph2 = 0.37;
  for (long i = 0; i < count; ++i) {
    double t = static_cast<double>(i) / kRate;
    double env = Envelope(t, n.length, n.attack, n.decay, n.sustain, n.release);
    ph1 += n.freq / kRate;
    ph2 += n.freq * (1 + n.detune) / kRate;
    double v = Osc(n.shape, ph1);
    if (n.detune != 0) v = 0.5 * (v + Osc(n.shape, ph2));
    if (n.cutoff > 0) v = lp.Step(v, n.cutoff * (0.4 + 0.6 * env));
    b.Add(first + i, v * env * n.gain, n.pan);
  }
}

void Kick(Buffer& b, double start, double gain, double pan = 0) {
  double phase = 0;
  long first = std::lround(start * kRate);
  for (long i = 0; i < kRate * 0.35; ++i) {
    double t = static_cast<double>(i) / kRate;
    double f = 45 + 110 * std::exp(-t * 30);
    phase += f / kRate;
    double env = std::exp(-t * 9) * std::min(1.0, t * 2000);
    b.Add(first + i, std::sin(2 * M_PI * phase) * env * gain, pan);
  }
}

void NoiseHit(Buffer& b, Random& rnd, double start, double length, double decay, double cutoff, double highPass,
              double gain, double pan = 0) {
  LowPass lp, hp;
  long first = std::lround(start * kRate);
  for (long i = 0; i < std::lround(length * kRate); ++i) {
    double t = static_cast<double>(i) / kRate;
    double x = rnd.Uniform() * 2 - 1;
    double v = lp.Step(x, cutoff);
    if (highPass > 0) v -= hp.Step(v, highPass);
    double env = std::exp(-t * decay) * std::min(1.0, t * 1500);
    b.Add(first + i, v * env * gain, pan);
  }
}

// Scales to the peak level and fades the ends so that nothing clicks.
void Finish(Buffer& b, double fadeSeconds) {
  float peak = 0;
  for (float s : b.samples) peak = std::max(peak, std::fabs(s));
  double scale = peak > 0 ? kPeak / peak : 1;
  size_t frames = b.Frames(), fade = static_cast<size_t>(fadeSeconds * kRate);
  for (size_t f = 0; f < frames; ++f) {
    double g = scale;
    if (fade > 0 && f < fade) g *= static_cast<double>(f) / fade;
    if (fade > 0 && frames - 1 - f < fade) g *= static_cast<double>(frames - 1 - f) / fade;
    for (int c = 0; c < b.channels; ++c) b.samples[f * static_cast<size_t>(b.channels) + static_cast<size_t>(c)] *= static_cast<float>(g);
  }
}

// ---------------------------------------------------------------- encoders

std::string EncodeWav(const Buffer& b) {
  std::string out;
  auto u32 = [&](uint32_t v) { for (int i = 0; i < 4; ++i) out.push_back(static_cast<char>((v >> (8 * i)) & 255)); };
  auto u16 = [&](uint16_t v) { out.push_back(static_cast<char>(v & 255)); out.push_back(static_cast<char>(v >> 8)); };
  uint32_t dataBytes = static_cast<uint32_t>(b.samples.size() * 2);
  out += "RIFF";
  u32(36 + dataBytes);
  out += "WAVEfmt ";
  u32(16);
  u16(1);  // PCM
  u16(static_cast<uint16_t>(b.channels));
  u32(kRate);
  u32(static_cast<uint32_t>(kRate * b.channels * 2));
  u16(static_cast<uint16_t>(b.channels * 2));
  u16(16);
  out += "data";
  u32(dataBytes);
  for (float s : b.samples) {
    long v = std::lround(std::max(-1.0f, std::min(1.0f, s)) * 32767.0);
    u16(static_cast<uint16_t>(static_cast<int16_t>(v)));
  }
  return out;
}

std::string EncodeOgg(const Buffer& b, float quality, int serial) {
  std::string out;
  vorbis_info vi;
  vorbis_info_init(&vi);
  if (vorbis_encode_init_vbr(&vi, b.channels, kRate, quality) != 0) {
    std::fprintf(stderr, "velkor_assetgen: the Vorbis encoder refused its settings\n");
    std::exit(1);
  }
  vorbis_comment vc;
  vorbis_comment_init(&vc);
  vorbis_dsp_state vd;
  vorbis_block vb;
  vorbis_analysis_init(&vd, &vi);
  vorbis_block_init(&vd, &vb);
  ogg_stream_state os;
  ogg_stream_init(&os, serial);  // a fixed serial number keeps the bytes identical between builds
  ogg_packet header, comments, codebooks;
  vorbis_analysis_headerout(&vd, &vc, &header, &comments, &codebooks);
  ogg_stream_packetin(&os, &header);
  ogg_stream_packetin(&os, &comments);
  ogg_stream_packetin(&os, &codebooks);
  ogg_page page;
  auto emit = [&](const ogg_page& p) {
    out.append(reinterpret_cast<const char*>(p.header), static_cast<size_t>(p.header_len));
    out.append(reinterpret_cast<const char*>(p.body), static_cast<size_t>(p.body_len));
  };
  while (ogg_stream_flush(&os, &page) != 0) emit(page);

  const size_t frames = b.Frames(), chunk = 4096;
  size_t done = 0;
  bool ended = false;
  while (!ended) {
    size_t n = std::min(chunk, frames - done);
    if (n == 0) {
      vorbis_analysis_wrote(&vd, 0);
    } else {
      float** buffer = vorbis_analysis_buffer(&vd, static_cast<int>(n));
      for (size_t f = 0; f < n; ++f)
        for (int c = 0; c < b.channels; ++c)
          buffer[c][f] = b.samples[(done + f) * static_cast<size_t>(b.channels) + static_cast<size_t>(c)];
      vorbis_analysis_wrote(&vd, static_cast<int>(n));
      done += n;
    }
    while (vorbis_analysis_blockout(&vd, &vb) == 1) {
      vorbis_analysis(&vb, nullptr);
      vorbis_bitrate_addblock(&vb);
      ogg_packet packet;
      while (vorbis_bitrate_flushpacket(&vd, &packet) != 0) {
        ogg_stream_packetin(&os, &packet);
        while (ogg_stream_pageout(&os, &page) != 0) {
          emit(page);
          if (ogg_page_eos(&page)) ended = true;
        }
      }
    }
    if (n == 0 && !ended) {
      while (ogg_stream_flush(&os, &page) != 0) emit(page);
      ended = true;
    }
  }
  ogg_stream_clear(&os);
  vorbis_block_clear(&vb);
  vorbis_dsp_clear(&vd);
  vorbis_comment_clear(&vc);
  vorbis_info_clear(&vi);
  return out;
}

// ---------------------------------------------------------------- effects

Buffer Explosion(double seconds, uint32_t seed, double rumbleHz, bool debris) {
  Buffer b(seconds, 1);
  Random rnd(seed);
  LowPass lp1, lp2;
  double phase = 0;
  for (size_t i = 0; i < b.Frames(); ++i) {
    double t = static_cast<double>(i) / kRate;
    double noise = rnd.Uniform() * 2 - 1;
    double body = lp2.Step(lp1.Step(noise, 2400 * std::exp(-t * 2.5) + 180), 1800 * std::exp(-t * 1.8) + 120);
    double env = std::exp(-t * 3.2) * std::min(1.0, t * 400);
    phase += (rumbleHz + 70 * std::exp(-t * 8)) / kRate;
    double thump = std::sin(2 * M_PI * phase) * std::exp(-t * 4.5) * std::min(1.0, t * 800);
    b.samples[i] = static_cast<float>(body * env * 2.2 + thump * 0.9);
  }
  if (debris) {  // scattered clinks of falling parts
    for (int k = 0; k < 14; ++k) {
      double start = rnd.Range(0.35, seconds - 0.2);
      NoiseHit(b, rnd, start, 0.08, 60, rnd.Range(3000, 7000), 1500, 0.25 * (1 - start / seconds));
    }
  }
  Finish(b, 0.01);
  return b;
}

Buffer TwoToneAlarm() {
  Buffer b(0.8, 1);
  for (int k = 0; k < 4; ++k)
    Play(b, {k * 0.2, 0.16, k % 2 ? 660.0 : 880.0, 0.5, 0, 3, 0.005, 0.02, 0.8, 0.02, 4000, 0.003});
  Finish(b, 0.005);
  return b;
}

Buffer RisingChime() {
  Buffer b(0.5, 1);
  const double notes[] = {72, 76, 79, 84};
  for (int k = 0; k < 4; ++k) {
    Play(b, {k * 0.07, 0.08, Midi(notes[k]), 0.5, 0, 0, 0.004, 0.2, 0.2, 0.2, 0, 0});
    Play(b, {k * 0.07, 0.08, Midi(notes[k] + 12), 0.15, 0, 0, 0.004, 0.1, 0.1, 0.15, 0, 0});
  }
  Finish(b, 0.005);
  return b;
}

Buffer Zap() {
  Buffer b(0.1, 1);
  double phase = 0;
  LowPass lp;
  for (size_t i = 0; i < b.Frames(); ++i) {
    double t = static_cast<double>(i) / kRate;
    phase += (1900 * std::exp(-t * 22) + 350) / kRate;
    double v = lp.Step(Osc(2, phase), 6000);
    b.samples[i] = static_cast<float>(v * std::exp(-t * 30));
  }
  Finish(b, 0.003);
  return b;
}

Buffer Siren() {
  Buffer b(2.0, 1);
  double phase = 0;
  LowPass lp;
  for (size_t i = 0; i < b.Frames(); ++i) {
    double t = static_cast<double>(i) / kRate;
    double sweep = 0.5 - 0.5 * std::cos(2 * M_PI * t / 1.0);  // two rises and falls
    phase += (480 + 420 * sweep) / kRate;
    double v = lp.Step(0.7 * Osc(3, phase) + 0.3 * Osc(1, phase), 3000);
    b.samples[i] = static_cast<float>(v);
  }
  Finish(b, 0.03);
  return b;
}

Buffer EnergyBurst() {
  Buffer b(1.0, 1);
  Random rnd(501);
  double phase = 0;
  for (size_t i = 0; i < b.Frames(); ++i) {
    double t = static_cast<double>(i) / kRate;
    double charge = t < 0.45 ? t / 0.45 : 1;
    phase += (200 + 1100 * charge * charge) / kRate;
    double env = t < 0.45 ? charge * 0.6 : std::exp(-(t - 0.45) * 6);
    b.samples[i] = static_cast<float>((Osc(0, phase) + 0.3 * Osc(0, phase * 2.01)) * env * 0.6);
  }
  NoiseHit(b, rnd, 0.45, 0.55, 7, 5000, 0, 0.9);
  Play(b, {0.45, 0.05, 1320, 0.35, 0, 0, 0.002, 0.3, 0.1, 0.4, 0, 0});
  Finish(b, 0.005);
  return b;
}

Buffer Hum(double seconds, double base, double pulseHz, double cutoff, uint32_t seed) {
  Buffer b(seconds, 1);
  Random rnd(seed);
  LowPass lp;
  double p1 = 0, p2 = 0, p3 = 0;
  for (size_t i = 0; i < b.Frames(); ++i) {
    double t = static_cast<double>(i) / kRate;
    p1 += base / kRate;
    p2 += base * 1.006 / kRate;
    p3 += base * 2.003 / kRate;
    double v = Osc(1, p1) + Osc(1, p2) + 0.4 * Osc(0, p3) + 0.15 * (rnd.Uniform() * 2 - 1);
    double pulse = 0.75 + 0.25 * std::sin(2 * M_PI * pulseHz * t);
    double env = std::min(1.0, t / 0.08) * std::min(1.0, (seconds - t) / 0.25);
    b.samples[i] = static_cast<float>(lp.Step(v, cutoff * pulse) * pulse * env);
  }
  Finish(b, 0.01);
  return b;
}

Buffer Whoosh() {
  Buffer b(0.8, 1);
  Random rnd(601);
  LowPass lp, hp;
  for (size_t i = 0; i < b.Frames(); ++i) {
    double t = static_cast<double>(i) / kRate;
    double cutoff = 400 + 5000 * (t / 0.8);
    double v = lp.Step(rnd.Uniform() * 2 - 1, cutoff);
    v -= hp.Step(v, cutoff * 0.3);
    double env = std::sin(M_PI * std::min(1.0, t / 0.8)) * (t < 0.1 ? t / 0.1 : 1);
    b.samples[i] = static_cast<float>(v * env);
  }
  Finish(b, 0.01);
  return b;
}

Buffer Click() {
  Buffer b(0.05, 1);
  Random rnd(701);
  NoiseHit(b, rnd, 0, 0.05, 160, 6000, 800, 0.6);
  Play(b, {0.0, 0.01, 2200, 0.5, 0, 0, 0.001, 0.01, 0.2, 0.02, 0, 0});
  Finish(b, 0.002);
  return b;
}

// ---------------------------------------------------------------- music

// A driving loop in A minor: kick, clap, hats, an eighth-note bass, an arpeggio and a lead melody.
Buffer DrivingLoop() {
  const double bpm = 128, beat = 60 / bpm, bar = 4 * beat;
  const int bars = 36;
  Buffer b(bars * bar, 2, true);
  Random rnd(801);
  // Chords as MIDI roots with minor/major thirds: Am F C G.
  const double roots[4] = {57, 53, 60, 55};
  const double thirds[4] = {3, 4, 4, 4};
  const double melody[16] = {76, 74, 72, 74, 76, 79, 76, 72, 74, 72, 71, 72, 74, 76, 74, 71};
  for (int m = 0; m < bars; ++m) {
    double t0 = m * bar;
    int c = m % 4;
    bool full = m >= 4;
    for (int k = 0; k < 4; ++k) Kick(b, t0 + k * beat, 0.9);
    if (full) {
      NoiseHit(b, rnd, t0 + beat, 0.2, 18, 5000, 900, 0.35, -0.1);
      NoiseHit(b, rnd, t0 + 3 * beat, 0.2, 18, 5000, 900, 0.35, -0.1);
    }
    for (int k = 0; k < 8; ++k)
      NoiseHit(b, rnd, t0 + k * beat / 2 + beat / 4, 0.05, 70, 12000, 6000, k % 2 ? 0.12 : 0.08, 0.35);
    for (int k = 0; k < 8; ++k) {
      double note = roots[c] - 12 + (k % 4 == 3 ? 12 : 0);
      Play(b, {t0 + k * beat / 2, beat / 2 * 0.8, Midi(note), 0.32, 0, 1, 0.005, 0.1, 0.6, 0.05, 900, 0.004});
    }
    if (m >= 8) {
      const double arp[4] = {0, thirds[c], 7, 12};
      for (int k = 0; k < 16; ++k)
        Play(b, {t0 + k * beat / 4, beat / 4 * 0.6, Midi(roots[c] + 12 + arp[k % 4]), 0.07, (k % 2) ? 0.5 : -0.5, 2,
                 0.003, 0.05, 0.4, 0.04, 3500, 0});
    }
    if (m >= 16 && m < 32) {
      int phrase = (m - 16) % 8;
      for (int k = 0; k < 2; ++k) {
        double note = melody[(phrase * 2 + k) % 16];
        Play(b, {t0 + k * 2 * beat, 1.8 * beat, Midi(note), 0.16, 0.15, 1, 0.02, 0.2, 0.7, 0.2, 2600, 0.006});
      }
    }
    // Pad under everything.
    for (double iv : {0.0, thirds[c], 7.0})
      Play(b, {t0, bar, Midi(roots[c] + iv), 0.05, iv == 0 ? -0.3 : 0.3, 4, 0.3, 0.5, 0.8, 0.4, 1500, 0.005});
  }
  Finish(b, 0);
  return b;
}

// A calm loop: soft pads, an electric-piano arpeggio and a light hat.
Buffer CalmLoop() {
  const double bpm = 90, beat = 60 / bpm, bar = 4 * beat;
  const int bars = 20;
  Buffer b(bars * bar, 2, true);
  Random rnd(901);
  // Cmaj7 Am7 Fmaj7 G6 as chord tones.
  const double chords[4][4] = {{60, 64, 67, 71}, {57, 60, 64, 67}, {53, 57, 60, 64}, {55, 59, 62, 64}};
  for (int m = 0; m < bars; ++m) {
    double t0 = m * bar;
    const double* ch = chords[m % 4];
    for (int i = 0; i < 4; ++i)
      Play(b, {t0, bar * 0.95, Midi(ch[i]), 0.06, -0.6 + 0.4 * i, 3, 0.6, 0.5, 0.8, 0.8, 1200, 0.004});
    Play(b, {t0, bar * 0.9, Midi(ch[0] - 24), 0.22, 0, 0, 0.05, 0.4, 0.7, 0.4, 0, 0});
    const int order[8] = {0, 1, 2, 3, 2, 1, 2, 3};
    for (int k = 0; k < 8; ++k)
      Play(b, {t0 + k * beat / 2, beat / 2, Midi(ch[order[k]] + 12), 0.12, (k % 2) ? 0.4 : -0.4, 0, 0.005, 0.35,
               0.15, 0.3, 0, 0});
    for (int k = 0; k < 4; ++k) NoiseHit(b, rnd, t0 + k * beat + beat / 2, 0.05, 80, 10000, 6000, 0.05, 0.3);
  }
  Finish(b, 0);
  return b;
}

struct SoundJob {
  const char* path;  // under Resources
  bool ogg;
  std::function<Buffer()> make;
  float quality;
};

}  // namespace

void AddSoundJobs(std::vector<Job>& jobs) {
  static const std::vector<SoundJob> sounds = {
      {"Sounds/playerDie.wav", false, [] { return Explosion(1.5, 11, 38, true); }, 0},
      {"Sounds/playerDying.wav", false, TwoToneAlarm, 0},
      {"Sounds/playerHeal.wav", false, RisingChime, 0},
      {"Sounds/playerShoot.wav", false, Zap, 0},
      {"Sounds/ufoComing.wav", false, Siren, 0},
      {"Sounds/ufoDie.wav", false, [] { return Explosion(1.5, 12, 30, false); }, 0},
      {"Sounds/aiFriendAttack.ogg", true, EnergyBurst, 0.4f},
      {"Sounds/playerLaser.ogg", true, [] { return Hum(2.9, 110, 7, 2200, 13); }, 0.4f},
      {"Sounds/rocketExplode.ogg", true, [] { return Explosion(1.2, 14, 42, false); }, 0.4f},
      {"Sounds/rocketLaunch.ogg", true, Whoosh, 0.4f},
      {"Sounds/ufoLaser.ogg", true, [] { return Hum(2.9, 55, 5, 900, 15); }, 0.4f},
      {"Sounds/MouseClick.ogg", true, Click, 0.4f},
      {"MyJukeBoxes/GameBgm/gamBgm.ogg", true, DrivingLoop, 0.3f},
      {"MyJukeBoxes/GarageBgm/garBgm.ogg", true, CalmLoop, 0.3f},
  };
  int serial = 0x5E1C0000;
  for (const SoundJob& s : sounds) {
    int mySerial = serial++;
    jobs.push_back({s.path, [&s, mySerial](const std::string& root, std::vector<Thumbnail>&) {
                      Buffer b = s.make();
                      WriteFile(root + "/" + s.path, s.ogg ? EncodeOgg(b, s.quality, mySerial) : EncodeWav(b));
                    }});
  }
}

}  // namespace AssetGen
