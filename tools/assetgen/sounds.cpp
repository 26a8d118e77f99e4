// The sound effects: menu blips, the animals' cheers, shovel, steps, bump, decoy, jingles, fire.
#include <functional>
#include <string>
#include <vector>

#include "assetgen.h"
#include "sound_tones.h"
#include "synth_voice.h"

namespace assetgen {

namespace {

Bytes Cursor() {
  Audio a = Silence(0.07);
  Tone t{Wave::Square, 0.002, 0.02, 0.01, 5000, 1.06};
  AddNote(a, 0.0, 0.07, 1046.5, 1.0, t);
  return FinishEffect(a);
}

Bytes Confirm() {
  Audio a = Silence(0.32);
  Tone t{Wave::Bell, 0.002, 0.09, 0.02, 9000};
  AddNote(a, 0.0, 0.1, 880.0, 0.8, t);
  t.decay = 0.12;
  AddNote(a, 0.07, 0.25, 1318.5, 1.0, t);
  return FinishEffect(a);
}

Bytes Cancel() {
  Audio a = Silence(0.26);
  Tone t{Wave::Square, 0.002, 0.06, 0.02, 2500};
  AddNote(a, 0.0, 0.1, 659.3, 0.9, t);
  t.decay = 0.09;
  t.glide = 0.94;
  AddNote(a, 0.08, 0.18, 440.0, 1.0, t);
  return FinishEffect(a);
}

// Snow being scooped: a crunchy scrape that brightens as the blade digs in.
Bytes Scoop() {
  Audio a = Silence(0.34);
  AddNoise(a, 0.0, 0.34, 1.0, Noise{1400, 2600, 1.2, 0.02, 0.12, 260, 11});
  AddNoise(a, 0.0, 0.3, 0.35, Noise{3500, 5000, 0.8, 0.03, 0.08, 0, 12});
  return FinishEffect(a);
}

// One step in snow: a soft thud under a short crunch.
Bytes Step() {
  Audio a = Silence(0.16);
  AddNoise(a, 0.0, 0.16, 1.0, Noise{1100, 700, 0.9, 0.004, 0.045, 400, 21});
  Tone thud{Wave::Sine, 0.003, 0.03, 0.01, 8000, 0.7};
  AddNote(a, 0.0, 0.1, 95.0, 0.6, thud);
  return FinishEffect(a);
}

// Two players bump: a round "bonk" with a low body.
Bytes Bump() {
  Audio a = Silence(0.36);
  Tone body{Wave::Sine, 0.002, 0.09, 0.02, 8000, 0.35};
  AddNote(a, 0.0, 0.36, 170.0, 1.0, body);
  Tone knock{Wave::Square, 0.001, 0.05, 0.02, 1800, 0.75};
  AddNote(a, 0.0, 0.2, 420.0, 0.45, knock);
  AddNoise(a, 0.0, 0.05, 0.8, Noise{2500, 800, 0.7, 0.0005, 0.008, 0, 31});
  return FinishEffect(a);
}

// The decoy: a rubber squeak.
Bytes Squeak() {
  VoiceRecipe v;
  v.seconds = 0.3;
  v.pitchHz = 950;
  v.pitchStart = 0.85;
  v.pitchTop = 1.3;
  v.pitchEnd = 1.05;
  v.topAt = 0.35;
  v.tractScale = 1.9;
  v.darkness = 1.6;
  v.vibratoHz = 24;
  v.vibratoSemitones = 0.9;
  v.breath = 0.01;
  v.seed = 41;
  return FinishEffect(SingYeah(v));
}

// Brass-like tone for the jingles: a saw whose brightness opens with the attack.
void Brass(Audio& a, double start, double seconds, double hz, double amp) {
  Tone t{Wave::Saw, 0.025, 0.0, 0.06, 2600};
  t.vibratoHz = 5.5;
  t.vibratoSemitones = 0.12;
  AddNote(a, start, seconds, hz, amp, t);
  Tone edge{Wave::Saw, 0.01, 0.05, 0.02, 5000};
  AddNote(a, start, std::min(seconds, 0.12), hz, amp * 0.4, edge);
}

// The clock is running out: two quick rising arpeggios, the second a step higher.
Bytes Hurry() {
  Audio a = Silence(1.3);
  Tone t{Wave::Square, 0.004, 0.0, 0.03, 4000};
  const double notes[2][4] = {{783.99, 1046.5, 1318.5, 1568.0}, {880.0, 1174.7, 1480.0, 1760.0}};
  for (int phrase = 0; phrase < 2; ++phrase) {
    const double at = phrase * 0.56;
    for (int n = 0; n < 4; ++n) {
      const double len = n == 3 ? (phrase ? 0.5 : 0.24) : 0.08;
      AddNote(a, at + n * 0.085, len, notes[phrase][n], 0.8, t);
      AddNote(a, at + n * 0.085, len, notes[phrase][n] / 2, 0.35, Tone{Wave::Sine, 0.004, 0.0, 0.03});
    }
  }
  return FinishEffect(a);
}

// A winner: "da-da-da-daa, da-DAAA" over a held major chord, a cymbal and a drum.
Bytes Win() {
  Audio a = Silence(2.6);
  const double g4 = 392.0, c5 = 523.25, e5 = 659.26, g5 = 783.99, c6 = 1046.5;
  Brass(a, 0.00, 0.12, g4, 0.7);
  Brass(a, 0.13, 0.12, c5, 0.7);
  Brass(a, 0.26, 0.12, e5, 0.7);
  Brass(a, 0.39, 0.33, g5, 0.8);
  Brass(a, 0.76, 0.12, e5, 0.7);
  Brass(a, 0.89, 1.55, c6, 0.8);
  for (double hz : {261.63, 329.63, 392.0, 523.25}) Brass(a, 0.89, 1.55, hz, 0.35);
  AddNoise(a, 0.89, 1.7, 0.5, Noise{6000, 4000, 0.5, 0.002, 0.6, 0, 51});
  Tone drum{Wave::Sine, 0.002, 0.25, 0.05, 8000, 0.8};
  AddNote(a, 0.89, 0.8, 98.0, 0.9, drum);
  return FinishEffect(a);
}

// Fire bursts out: a swelling whoosh with a rumble underneath and crackles on top.
Bytes Fire() {
  Audio a = Silence(1.3);
  AddNoise(a, 0.0, 0.45, 1.0, Noise{300, 2400, 0.7, 0.18, 0.5, 0, 61});
  AddNoise(a, 0.3, 1.0, 0.9, Noise{2400, 500, 0.7, 0.05, 0.35, 0, 62});
  AddNoise(a, 0.0, 1.3, 0.8, Noise{120, 90, 0.8, 0.12, 0.45, 0, 63});
  AddNoise(a, 0.1, 1.15, 0.6, Noise{3000, 2000, 1.5, 0.02, 0.5, 35, 64});
  return FinishEffect(a);
}

struct Animal {
  const char* file;
  VoiceRecipe voice;
};

VoiceRecipe Voice(double seconds, double pitch, double tract, double darkness, uint64_t seed) {
  VoiceRecipe v;
  v.seconds = seconds;
  v.pitchHz = pitch;
  v.tractScale = tract;
  v.darkness = darkness;
  v.seed = seed;
  return v;
}

std::vector<Animal> Animals() {
  std::vector<Animal> all;
  VoiceRecipe bear = Voice(0.55, 105, 0.8, 1.1, 101);  // big and warm, a little growl
  bear.roughHz = 27;
  bear.roughDepth = 0.25;
  all.push_back({"bearyeah.wav", bear});
  VoiceRecipe zo = Voice(0.62, 95, 0.74, 0.75, 102);  // low, trumpeting rise
  zo.pitchStart = 0.9;
  zo.pitchTop = 1.7;
  zo.pitchEnd = 1.0;
  zo.topAt = 0.4;
  all.push_back({"zoyeah.wav", zo});
  VoiceRecipe pig = Voice(0.45, 165, 0.92, 1.0, 103);  // grunty
  pig.roughHz = 33;
  pig.roughDepth = 0.5;
  all.push_back({"pigyeah.wav", pig});
  VoiceRecipe fish = Voice(0.45, 280, 1.12, 1.0, 104);  // bubbly warble
  fish.vibratoHz = 11;
  fish.vibratoSemitones = 0.8;
  all.push_back({"fishyeah.wav", fish});
  VoiceRecipe fox = Voice(0.4, 360, 1.22, 0.9, 105);  // high and sharp
  fox.pitchTop = 1.35;
  all.push_back({"foxyeah.wav", fox});
  VoiceRecipe spider = Voice(0.45, 235, 1.15, 1.0, 106);  // raspy
  spider.jitter = 0.05;
  spider.breath = 0.2;
  all.push_back({"spiyeah.wav", spider});
  VoiceRecipe mouse = Voice(0.34, 560, 1.45, 1.0, 107);  // tiny and squeaky
  mouse.pitchTop = 1.35;
  all.push_back({"mouseyeah.wav", mouse});
  VoiceRecipe momonga = Voice(0.42, 420, 1.3, 0.95, 108);  // light, gliding up
  momonga.pitchTop = 1.4;
  momonga.topAt = 0.45;
  momonga.vibratoHz = 6.5;
  momonga.vibratoSemitones = 0.3;
  all.push_back({"momongayeah.wav", momonga});
  VoiceRecipe mogu = Voice(0.48, 180, 0.95, 1.25, 109);  // muffled, from under the ground
  all.push_back({"moguyeah.wav", mogu});
  return all;
}

}  // namespace

void GenerateSounds(const std::filesystem::path& out) {
  const std::filesystem::path dir = out / "sound";
  const std::vector<std::pair<const char*, std::function<Bytes()>>> effects = {
      {"cur.wav", Cursor},   {"ok.wav", Confirm}, {"cancel.wav", Cancel}, {"skorp.wav", Scoop},
      {"step.wav", Step},    {"atack.wav", Bump}, {"fishyeah2.wav", Squeak}, {"hurry.wav", Hurry},
      {"win.wav", Win},      {"fire.wav", Fire},
  };
  for (const auto& [file, make] : effects) WriteFile(dir / file, make());
  for (const Animal& animal : Animals()) WriteFile(dir / animal.file, FinishEffect(SingYeah(animal.voice)));
}

}  // namespace assetgen
