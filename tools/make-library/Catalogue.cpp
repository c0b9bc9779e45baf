#include "Catalogue.h"

#include <utility>

namespace makelib {
namespace {

enum Category {
    kVoices,
    kStrings,
    kWinds,
    kBrass,
    kPlucked,
    kMallets,
    kKeys,
    kSynth,
    kNoise,
    kTextures
};

// Fluent construction of an excitation recipe.
struct Src {
    ExcitationRecipe s;
    Src& slope(double db, double even = 1.0) {
        s.slopeDb = db;
        s.evenLevel = even;
        return *this;
    }
    Src& pulse(double width) {
        s.pulseWidth = width;
        return *this;
    }
    Src& partials(std::vector<Partial> p) {
        s.partials = std::move(p);
        return *this;
    }
    Src& tonal(double level) {
        s.tonal = level;
        return *this;
    }
    Src& sinePhase() {
        s.randomPhase = 0.0;
        return *this;
    }
    Src& ensemble(double level) {
        s.ensemble = level;
        return *this;
    }
    Src& noise(double level, double low, double high) {
        s.noiseLevel = level;
        s.noiseLowHz = low;
        s.noiseHighHz = high;
        return *this;
    }
    Src& attack(double seconds) {
        s.attackSeconds = seconds;
        return *this;
    }
    Src& head(double seconds, double sustain = 1.0, double damping = 0.0) {
        s.headSeconds = seconds;
        s.sustain = sustain;
        s.damping = damping;
        return *this;
    }
    Src& burst(double level, double seconds) {
        s.burstLevel = level;
        s.burstSeconds = seconds;
        return *this;
    }
    Src& loop(double seconds) {
        s.loopSeconds = seconds;
        return *this;
    }
    operator ExcitationRecipe() const { return s; }
};

EnvelopeShape shape(std::vector<Resonance> peaks, double tilt, double cutoff) {
    return EnvelopeShape{std::move(peaks), tilt, cutoff};
}

// Five formants of a sung vowel (an adult voice), with the usual fall of the voice spectrum.
EnvelopeShape vowel(char v) {
    struct F {
        double f1, f2, f3;
    };
    F f{730, 1090, 2440};
    switch (v) {
        case 'e':
            f = {530, 1840, 2480};
            break;
        case 'i':
            f = {290, 2250, 3000};
            break;
        case 'o':
            f = {570, 840, 2410};
            break;
        case 'u':
            f = {320, 870, 2240};
            break;
        default:
            break;
    }
    return shape(
        {{f.f1, 90, 24}, {f.f2, 110, 20}, {f.f3, 160, 14}, {3400, 250, 10}, {4200, 300, 6}}, -4.0,
        6000);
}

// A resonant low-pass: the classic brightness sweep.
EnvelopeShape lowpass(double cutoff, double peakDb) {
    return shape({{cutoff * 0.9, cutoff * 0.25, peakDb}}, 0.0, cutoff);
}

EnvelopeShape stringBody(double scale, double cutoff) {
    return scaleFrequencies(
        shape({{280, 60, 12}, {460, 90, 10}, {1100, 300, 4}, {2800, 900, 9}, {4500, 1500, 5}}, -2.0,
              cutoff / scale),
        scale);
}

EnvelopeShape brass(double scale, double cutoff, double peakDb) {
    return scaleFrequencies(
        shape({{1200, 500, peakDb}, {2600, 900, peakDb * 0.6}}, -1.0, cutoff / scale), scale);
}

EnvelopeShape guitarBody(double scale, double cutoff) {
    return scaleFrequencies(
        shape({{105, 30, 12}, {210, 60, 10}, {420, 150, 6}, {2500, 1200, 4}}, -3.0, cutoff / scale),
        scale);
}

std::vector<Partial> bar(std::initializer_list<std::pair<double, double>> ratios, double sustain) {
    std::vector<Partial> out;
    double s = sustain;
    for (const auto& [ratio, amplitude] : ratios) {
        out.push_back({ratio, amplitude, s});
        s *= 0.35;  // higher modes die away faster
    }
    return out;
}

std::vector<Partial> drawbars(std::initializer_list<std::pair<double, double>> ratios) {
    std::vector<Partial> out;
    for (const auto& [ratio, amplitude] : ratios) out.push_back({ratio, amplitude, 1.0});
    return out;
}

Src glottal() {
    return Src().slope(-12).sinePhase().attack(0.06).head(0.12).loop(0.5);
}
Src breath() {
    return Src().tonal(0).noise(1, 400, 9000).attack(0.04).head(0.1).loop(0.4);
}
Src bowed() {
    return Src().slope(-6).noise(0.06, 1500, 9000).attack(0.08).head(0.15).loop(0.4);
}
Src wind() {
    return Src()
        .slope(-12)
        .noise(0.12, 800, 9000)
        .attack(0.05)
        .burst(0.4, 0.02)
        .head(0.12)
        .loop(0.4);
}
Src horn() {
    return Src().slope(-4).attack(0.03).burst(0.15, 0.015).head(0.1).loop(0.3);
}
Src pluck() {
    return Src().slope(-5).attack(0.001).head(0.35, 0.25, 1.0).burst(0.5, 0.006).loop(0.25);
}
Src mallet(std::vector<Partial> p) {
    return Src().partials(std::move(p)).attack(0.001).head(0.4, 0.5).burst(0.3, 0.004).loop(0.4);
}
Src attackNoise(double low, double high) {
    return Src()
        .tonal(0.1)
        .noise(1, low, high)
        .attack(0.002)
        .head(0.15, 0.2)
        .burst(1.0, 0.01)
        .loop(0.15);
}
Src wave() {
    return Src().slope(-6).attack(0.002).head(0.02).loop(0.25);
}
Src pad() {
    return Src().slope(-8).ensemble(0.5).attack(0.4).head(0.5).loop(1.0);
}

// Level offsets from rendering the plain presets through the plug-in: a drum hit or a mallet is
// heard in a decay much louder than its loop; an organ's thin partials and a choir's dense ones
// are heard softer and louder than their loop's RMS says.
void setLevels(std::vector<InstrumentRecipe>& recipes) {
    static const std::pair<const char*, double> kLevels[] = {
        {"Drum Kit", 15.0},   {"Vibraphone", 6.5},    {"Glockenspiel", 6.0}, {"Celesta", 6.0},
        {"Bowed Glass", 3.5}, {"Drawbar Organ", 3.0}, {"Church Organ", 3.5}, {"Pipe Organ", 2.5},
        {"Reed Organ", 2.5},  {"Accordion", 3.5},     {"Church Bell", 2.5},  {"Dark Drone", 4.0},
        {"Metal Drone", 5.0}, {"Choir Ooh", -3.0},    {"Music Box", 8.5},    {"Dulcimer", 9.5},
        {"Harmonica", 6.5},   {"Steel Drum", 6.0},    {"Glass Pad", 3.0}};
    for (InstrumentRecipe& recipe : recipes) {
        for (const auto& [name, levelDb] : kLevels) {
            if (recipe.name == name) recipe.levelDb = levelDb;
        }
    }
}

// The recordings behind the acoustic instruments: General MIDI presets (bank 8 holds variations),
// with level offsets from rendering their plain presets through the plug-in (a bell's long ring,
// an organ's bright drawbars and a solo voice sound louder than their loudest stretch suggests).
void setRecordings(std::vector<InstrumentRecipe>& recipes) {
    static const std::pair<const char*, RecordingSource> kSources[] = {
        {"Choir Aah", {0, 52, -3.5}}, {"Choir Ooh", {0, 53, -2.5}},
        {"Solo Voice", {0, 85, -8.5}}, {"Violin", {0, 40, -3.5}},
        {"Viola", {0, 41, -3.5}}, {"Cello", {0, 42, -3.5}},
        {"Contrabass", {0, 43, 5.0}}, {"String Section", {0, 48, -4.0}},
        {"Tremolo Strings", {0, 44, -2.5}}, {"Fiddle", {0, 110, -2.5}},
        {"Flute", {0, 73, -4.0}}, {"Piccolo", {0, 72, -6.0}},
        {"Clarinet", {0, 71, -6.0}}, {"Oboe", {0, 68, -4.5}},
        {"English Horn", {0, 69, -3.5}}, {"Bassoon", {0, 70, -2.5}},
        {"Alto Sax", {0, 65, -4.5}}, {"Tenor Sax", {0, 66, -3.0}},
        {"Recorder", {0, 74, -7.0}}, {"Pan Flute", {0, 75, -3.5}},
        {"Trumpet", {0, 56, -5.0}}, {"Muted Trumpet", {0, 59, -4.0}},
        {"Trombone", {0, 57, -3.5}}, {"French Horn", {0, 60, -2.5}},
        {"Tuba", {0, 58, -1.0}}, {"Brass Section", {0, 61, -4.5}},
        {"Nylon Guitar", {0, 24, -3.5}}, {"Steel Guitar", {0, 25, -5.5}},
        {"Jazz Guitar", {0, 26, -3.0}}, {"Harp", {0, 46, -1.5}},
        {"Banjo", {0, 105, -2.5}}, {"Koto", {0, 107, -5.0}},
        {"Harpsichord", {0, 6, -6.0}}, {"Acoustic Bass", {0, 32, -4.0}},
        {"Sitar", {0, 104, -4.0}}, {"Vibraphone", {0, 11, -8.0}},
        {"Glockenspiel", {0, 9, -3.0}}, {"Tubular Bell", {0, 14, -15.0}},
        {"Church Bell", {8, 14, -13.0}}, {"Celesta", {0, 8, -7.0}},
        {"Kalimba", {0, 108, -9.5}}, {"Music Box", {0, 10, -5.5}},
        {"Dulcimer", {0, 15, -4.5}}, {"Piano", {0, 0, -4.5}},
        {"Electric Piano", {0, 4, -4.0}}, {"Clavinet", {0, 7, -6.0}},
        {"Drawbar Organ", {0, 16, -10.5}}, {"Pipe Organ", {8, 19, -5.5}},
        {"Church Organ", {0, 19, -3.5}}, {"Reed Organ", {0, 20, -4.0}},
        {"Accordion", {0, 21, -8.0}}, {"Harmonica", {0, 22, -3.5}},
    };
    for (InstrumentRecipe& recipe : recipes) {
        for (const auto& [name, source] : kSources) {
            if (recipe.name == name) recipe.recording = source;
        }
    }
}

std::vector<InstrumentRecipe> build() {
    std::vector<InstrumentRecipe> out;
    auto add = [&](const char* name, int category, ExcitationRecipe base, ExcitationRecipe top,
                   EnvelopeShape opened, EnvelopeShape settled, double tracking = 0.0) {
        out.push_back({name, category, {}, std::move(base), std::move(top), std::move(opened),
                       std::move(settled), tracking, false});
    };

    add("Vowel Ah", kVoices, glottal(), breath(), vowel('a'), vowel('a'), 0.1);
    add("Vowel Eh", kVoices, glottal(), breath(), vowel('e'), vowel('e'), 0.1);
    add("Vowel Ee", kVoices, glottal(), breath(), vowel('i'), vowel('i'), 0.1);
    add("Vowel Oh", kVoices, glottal(), breath(), vowel('o'), vowel('o'), 0.1);
    add("Vowel Oo", kVoices, glottal(), breath(), vowel('u'), vowel('u'), 0.1);
    add("Choir Aah", kVoices, glottal().ensemble(0.5).loop(0.8), breath(), vowel('a'), vowel('o'),
        0.1);
    add("Choir Ooh", kVoices, glottal().ensemble(0.5).loop(0.8), breath(), vowel('o'), vowel('u'),
        0.1);
    add("Solo Voice", kVoices, glottal(), breath(), vowel('a'), vowel('o'), 0.1);
    add("Whisper", kVoices, breath().tonal(0.15), breath(), vowel('a'), vowel('e'), 0.0);
    add("Vowel Sweep Ya-Oo", kVoices, glottal(), breath(), vowel('i'), vowel('u'), 0.1);

    add("Violin", kStrings, bowed(), attackNoise(2000, 9000), stringBody(1.0, 9000),
        stringBody(1.0, 5000));
    add("Viola", kStrings, bowed(), attackNoise(1500, 8000), stringBody(0.85, 8000),
        stringBody(0.85, 4500));
    add("Cello", kStrings, bowed(), attackNoise(1000, 7000), stringBody(0.55, 7000),
        stringBody(0.55, 3500));
    add("Contrabass", kStrings, bowed().slope(-7), attackNoise(800, 5000), stringBody(0.4, 5000),
        stringBody(0.4, 2500));
    add("String Section", kStrings, bowed().ensemble(0.6).loop(0.8),
        bowed().ensemble(0.4).slope(-9), stringBody(0.8, 8000), stringBody(0.8, 4000));
    add("Sul Ponticello", kStrings, bowed().slope(-3), attackNoise(3000, 12000),
        stringBody(1.2, 14000), stringBody(1.2, 9000));
    add("Muted Strings", kStrings, bowed().slope(-9), attackNoise(1000, 5000),
        stringBody(0.9, 3500), stringBody(0.9, 2200));
    add("Tremolo Strings", kStrings, bowed().ensemble(0.9).loop(0.125), attackNoise(1500, 8000),
        stringBody(0.9, 7000), stringBody(0.9, 5000));
    add("Fiddle", kStrings, bowed().slope(-4).pulse(0.3), attackNoise(2000, 9000),
        shape({{600, 200, 10}, {1400, 300, 12}, {3000, 800, 8}}, -2, 9000),
        shape({{600, 200, 10}, {1400, 300, 8}}, -3, 5000));

    add("Flute", kWinds, wind(), breath(), shape({{800, 400, 8}, {2000, 800, 4}}, -3, 6000),
        shape({{800, 400, 8}}, -4, 4000), 0.5);
    add("Piccolo", kWinds, wind().slope(-15), breath(), shape({{1800, 700, 8}}, -2, 9000),
        shape({{1800, 700, 6}}, -3, 7000), 0.5);
    add("Clarinet", kWinds, wind().slope(-8, 0.08).noise(0.04, 1000, 8000), breath(),
        shape({{1500, 400, 8}, {3000, 700, 6}}, -2, 5000), shape({{1500, 400, 6}}, -3, 3500));
    add("Bass Clarinet", kWinds, wind().slope(-8, 0.1).noise(0.04, 600, 6000), breath(),
        shape({{600, 250, 10}, {1500, 500, 6}}, -3, 3500), shape({{600, 250, 8}}, -4, 2500));
    add("Oboe", kWinds, wind().slope(-4).noise(0.03, 1000, 8000), breath(),
        shape({{1100, 200, 14}, {2700, 500, 10}}, -2, 7000),
        shape({{1100, 200, 12}, {2700, 500, 6}}, -3, 5000));
    add("Bassoon", kWinds, wind().slope(-5).noise(0.03, 500, 6000), breath(),
        shape({{480, 120, 14}, {1150, 300, 10}}, -3, 5000), shape({{480, 120, 12}}, -4, 3000));
    add("English Horn", kWinds, wind().slope(-4).noise(0.03, 800, 7000), breath(),
        shape({{900, 200, 14}, {2300, 500, 10}}, -2, 6000),
        shape({{900, 200, 12}, {2300, 500, 6}}, -3, 4000));
    add("Alto Sax", kWinds, wind().slope(-5).noise(0.06, 1000, 9000), breath(),
        shape({{600, 200, 10}, {1500, 400, 10}, {2800, 700, 8}}, -1, 8000),
        shape({{600, 200, 10}, {1500, 400, 6}}, -3, 4000));
    add("Tenor Sax", kWinds, wind().slope(-5).noise(0.06, 800, 8000), breath(),
        shape({{450, 150, 10}, {1200, 400, 10}, {2500, 700, 8}}, -1, 7000),
        shape({{450, 150, 10}, {1200, 400, 6}}, -3, 3500));
    add("Recorder", kWinds, wind().slope(-18).noise(0.08, 1000, 8000), breath(),
        shape({{1000, 600, 4}}, -4, 5000), shape({{1000, 600, 3}}, -5, 4000), 0.5);
    add("Pan Flute", kWinds, wind().slope(-18).noise(0.3, 600, 7000).burst(0.8, 0.03), breath(),
        shape({{700, 300, 6}}, -4, 5000), shape({{700, 300, 4}}, -5, 3500), 0.5);

    add("Trumpet", kBrass, horn(), attackNoise(1000, 8000), brass(1.0, 8000, 12),
        brass(1.0, 2000, 6));
    add("Muted Trumpet", kBrass, horn().slope(-3), attackNoise(1500, 8000),
        shape({{1800, 200, 18}, {4000, 600, 10}}, -2, 6000), shape({{1800, 200, 14}}, -3, 3500));
    add("Trombone", kBrass, horn(), attackNoise(800, 6000), brass(0.7, 6000, 12),
        brass(0.7, 1400, 6));
    add("French Horn", kBrass, horn().slope(-7), attackNoise(600, 4000), brass(0.45, 3000, 10),
        brass(0.45, 1200, 4));
    add("Tuba", kBrass, horn().slope(-6), attackNoise(400, 3000), brass(0.35, 2500, 10),
        brass(0.35, 900, 4));
    add("Brass Section", kBrass, horn().ensemble(0.5).loop(0.6), attackNoise(1000, 8000),
        brass(0.8, 7000, 12), brass(0.8, 1800, 6));
    add("Flugelhorn", kBrass, horn().slope(-9), attackNoise(800, 6000), brass(0.8, 4000, 8),
        brass(0.8, 1500, 3));
    add("Cornet", kBrass, horn().slope(-5), attackNoise(1000, 7000), brass(0.9, 6000, 10),
        brass(0.9, 1800, 5));
    add("Stopped Horn", kBrass, horn().slope(-3), attackNoise(1500, 7000),
        shape({{3000, 400, 16}, {900, 300, 8}}, -2, 6000), shape({{3000, 400, 10}}, -3, 3000));

    add("Nylon Guitar", kPlucked, pluck(), attackNoise(1500, 8000), guitarBody(1.0, 5000),
        guitarBody(1.0, 1500));
    add("Jazz Guitar", kPlucked, pluck().slope(-7), attackNoise(1500, 7000), guitarBody(0.9, 4000),
        guitarBody(0.9, 1200));
    add("Steel Guitar", kPlucked, pluck().slope(-4), attackNoise(2500, 12000),
        guitarBody(1.0, 9000), guitarBody(1.0, 2500));
    add("Harp", kPlucked, pluck().slope(-9).head(0.5, 0.35, 0.5), attackNoise(1000, 6000),
        guitarBody(1.4, 5000), guitarBody(1.4, 2000));
    add("Pizzicato", kPlucked, pluck().head(0.15, 0.1, 1.0), attackNoise(1000, 6000),
        stringBody(0.8, 6000), stringBody(0.8, 1800));
    add("Banjo", kPlucked, pluck().slope(-3).head(0.2, 0.15, 1.0), attackNoise(3000, 12000),
        shape({{800, 300, 12}, {2500, 900, 8}}, 0, 10000), shape({{800, 300, 10}}, -2, 3000));
    add("Koto", kPlucked, pluck().pulse(0.15), attackNoise(2000, 9000),
        shape({{350, 120, 10}, {1600, 600, 8}}, -2, 7000), shape({{350, 120, 8}}, -3, 2000));
    add("Harpsichord", kPlucked, pluck().slope(-3).pulse(0.12).head(0.4, 0.4, 0.6),
        attackNoise(3000, 12000), shape({{250, 80, 8}, {2000, 1200, 8}}, 0, 12000),
        shape({{250, 80, 8}, {2000, 1200, 4}}, -1, 6000));
    add("Acoustic Bass", kPlucked, pluck().slope(-8), attackNoise(600, 4000), guitarBody(0.5, 3000),
        guitarBody(0.5, 800));
    add("Sitar", kPlucked, pluck().slope(-3).ensemble(0.3).head(0.5, 0.4, 0.3),
        attackNoise(2000, 10000),
        shape({{3000, 300, 14}, {5000, 600, 10}, {500, 200, 6}}, 0, 10000),
        shape({{3000, 300, 10}, {500, 200, 6}}, -2, 6000));

    add("Marimba", kMallets, mallet(bar({{1, 1}, {3.99, 0.5}, {9.2, 0.25}}, 0.35)),
        attackNoise(500, 4000), shape({{500, 300, 6}}, -3, 6000), shape({{500, 300, 6}}, -5, 2500),
        1.0);
    add("Vibraphone", kMallets,
        mallet(bar({{1, 1}, {3.93, 0.35}, {9.5, 0.15}}, 0.8)).ensemble(0.25),
        attackNoise(1000, 6000), shape({}, -2, 9000), shape({}, -4, 4000), 1.0);
    add("Xylophone", kMallets, mallet(bar({{1, 1}, {3.0, 0.6}, {6.0, 0.3}}, 0.2)),
        attackNoise(2000, 10000), shape({{1500, 800, 4}}, -1, 12000), shape({}, -3, 5000), 1.0);
    add("Glockenspiel", kMallets, mallet(bar({{1, 1}, {2.76, 0.5}, {5.4, 0.35}, {8.93, 0.2}}, 0.8)),
        attackNoise(3000, 12000), shape({}, 0, 16000), shape({}, -2, 9000), 1.0);
    add("Tubular Bell", kMallets,
        mallet(bar({{0.5, 0.4}, {1, 1}, {1.19, 0.6}, {1.56, 0.5}, {2.0, 0.4}, {2.51, 0.3}}, 0.9))
            .head(0.8, 0.6),
        attackNoise(2000, 8000), shape({{1200, 900, 4}}, -1, 9000), shape({}, -3, 5000), 1.0);
    add("Church Bell", kMallets,
        mallet(
            bar({{0.5, 0.7}, {1, 1}, {1.2, 0.8}, {1.5, 0.5}, {2.0, 0.6}, {2.52, 0.3}, {3.0, 0.2}},
                0.95))
            .head(1.0, 0.7)
            .ensemble(0.2)
            .loop(0.8),
        attackNoise(1000, 6000), shape({{700, 500, 4}}, -2, 7000), shape({}, -3, 4000), 1.0);
    add("Celesta", kMallets, mallet(bar({{1, 1}, {4.0, 0.3}, {10.0, 0.1}}, 0.6)),
        attackNoise(2000, 8000), shape({{2500, 1500, 4}}, -1, 10000), shape({}, -3, 5000), 1.0);
    add("Steel Drum", kMallets,
        mallet(bar({{1, 1}, {2, 0.8}, {3, 0.4}, {4.02, 0.2}}, 0.7)).ensemble(0.2),
        attackNoise(1000, 6000), shape({{900, 300, 10}}, -1, 8000),
        shape({{900, 300, 6}}, -3, 3500), 1.0);
    add("Music Box", kMallets, mallet(bar({{1, 1}, {4.2, 0.3}, {11.0, 0.1}}, 0.5)),
        attackNoise(3000, 10000), shape({{3000, 2000, 4}}, 0, 12000), shape({}, -3, 6000), 1.0);
    add("Dulcimer", kMallets, pluck().slope(-4).ensemble(0.3).head(0.5, 0.4, 0.4),
        attackNoise(2000, 9000), shape({{400, 150, 8}, {2500, 1200, 6}}, -1, 10000),
        shape({{400, 150, 8}}, -2, 4000), 1.0);
    add("Kalimba", kMallets, mallet(bar({{1, 1}, {5.6, 0.4}, {10.4, 0.15}}, 0.4)),
        attackNoise(1500, 7000), shape({{300, 100, 8}}, -2, 7000), shape({{300, 100, 8}}, -4, 3000),
        1.0);

    add("Electric Piano", kKeys, mallet(bar({{1, 1}, {2, 0.3}, {7.0, 0.35}}, 0.6)).head(0.6, 0.6),
        attackNoise(1500, 8000), shape({{1500, 1500, 3}}, -1, 9000), shape({}, -4, 3000), 1.0);
    add("Piano", kKeys, pluck().slope(-7).ensemble(0.12).head(0.6, 0.35, 0.7).burst(0.4, 0.004),
        attackNoise(1000, 9000), shape({{120, 60, 4}, {1800, 1500, 3}}, -1, 10000),
        shape({{120, 60, 4}}, -3, 3000));
    add("Clavinet", kKeys, pluck().pulse(0.1).slope(-3).head(0.3, 0.4, 0.4),
        attackNoise(2000, 9000), shape({{1200, 300, 10}}, 0, 9000),
        shape({{800, 300, 8}}, -2, 3500));
    add("Drawbar Organ", kKeys,
        wave()
            .partials(drawbars(
                {{0.5, 0.8}, {1, 1}, {1.5, 0.6}, {2, 0.7}, {3, 0.4}, {4, 0.3}, {6, 0.2}, {8, 0.2}}))
            .burst(0.08, 0.003),
        attackNoise(2000, 10000), shape({}, 0, 12000), shape({}, -1, 8000), 0.0);
    add("Pipe Organ", kKeys,
        wave().slope(-6, 0.6).noise(0.02, 1000, 8000).attack(0.05).head(0.08).ensemble(0.1),
        breath(), shape({{500, 400, 4}}, -1, 8000), shape({{500, 400, 4}}, -1, 7000));
    add("Reed Organ", kKeys, wave().slope(-4, 0.3).attack(0.03).head(0.05), breath(),
        shape({{1300, 500, 8}}, -1, 7000), shape({{1300, 500, 6}}, -2, 5000));
    add("Accordion", kKeys, wave().slope(-4, 0.5).ensemble(0.5).attack(0.04).head(0.06).loop(0.5),
        breath(), shape({{1000, 400, 8}, {2500, 800, 6}}, -1, 8000),
        shape({{1000, 400, 6}}, -2, 6000));
    add("Church Organ", kKeys,
        wave()
            .partials(drawbars(
                {{0.5, 0.9}, {1, 1}, {2, 0.8}, {3, 0.5}, {4, 0.5}, {5, 0.3}, {6, 0.3}, {8, 0.3}}))
            .attack(0.08)
            .head(0.1)
            .ensemble(0.1),
        breath(), shape({{250, 200, 6}}, -1, 9000), shape({{250, 200, 6}}, -1, 8000));
    add("Harmonica", kKeys, wave().slope(-4, 0.6).noise(0.05, 1000, 8000).attack(0.03).head(0.05),
        breath(), shape({{1100, 300, 10}, {2600, 600, 6}}, -1, 7000),
        shape({{1100, 300, 8}}, -2, 5000));
    add("Toy Piano", kKeys, mallet(bar({{1, 1}, {3.1, 0.6}, {6.7, 0.4}}, 0.3)),
        attackNoise(2000, 9000), shape({{2000, 600, 8}}, 0, 10000), shape({}, -3, 4000), 1.0);

    add("Saw Wave", kSynth, wave(), wave().slope(-6).ensemble(0.3), lowpass(12000, 6),
        lowpass(1200, 12));
    add("Square Wave", kSynth, wave().slope(-6, 0.0), wave().slope(-6, 0.0).ensemble(0.3),
        lowpass(12000, 6), lowpass(1200, 12));
    add("Pulse 25%", kSynth, wave().pulse(0.25), wave().pulse(0.25).ensemble(0.3),
        lowpass(12000, 6), lowpass(1500, 12));
    add("Pulse 10%", kSynth, wave().pulse(0.1), wave().pulse(0.1).ensemble(0.3), lowpass(12000, 6),
        lowpass(1500, 12));
    add("Triangle Wave", kSynth, wave().slope(-12, 0.0), wave().slope(-12, 0.0).ensemble(0.3),
        lowpass(10000, 4), lowpass(2000, 8));
    add("Sine Wave", kSynth, wave().partials(drawbars({{1, 1}})),
        wave().partials(drawbars({{2, 1}})), shape({}, 0, 16000), shape({}, 0, 8000));
    add("Super Saw", kSynth, wave().ensemble(0.8).loop(0.5),
        wave().ensemble(0.8).slope(-4).loop(0.7), lowpass(14000, 4), lowpass(2500, 10));
    add("Hollow Square", kSynth, wave().slope(-6, 0.0).ensemble(0.6).loop(0.5),
        wave().slope(-9, 0.0).ensemble(0.5), lowpass(8000, 10), lowpass(900, 16));
    add("Bright Pulse", kSynth, wave().slope(-3).pulse(0.4), wave().slope(-3).pulse(0.3),
        lowpass(16000, 3), lowpass(3000, 14));

    {
        InstrumentRecipe kit;
        kit.name = "Drum Kit";
        kit.category = kNoise;
        kit.kit = true;
        kit.opened = shape({{100, 80, 6}, {4000, 3000, 4}}, 0, 16000);
        kit.settled = shape({{100, 80, 6}}, -2, 6000);
        out.push_back(kit);
    }
    add("White Noise", kNoise, Src().tonal(0).noise(1, 20, 20000).loop(0.7),
        Src().tonal(0).noise(1, 2000, 20000).loop(0.5), shape({}, 0, 20000), shape({}, 0, 6000));
    add("Pink Noise", kNoise, Src().tonal(0).noise(1, 20, 20000).loop(0.7),
        Src().tonal(0).noise(1, 200, 8000).loop(0.5), shape({}, -3, 20000), shape({}, -3, 5000));
    add("Breath", kNoise, breath(), breath().noise(1, 1500, 12000),
        shape({{1200, 1200, 6}}, -2, 8000), shape({{700, 700, 6}}, -3, 4000));
    add("Wind", kNoise, Src().tonal(0).noise(1, 100, 3000).loop(1.0).attack(0.3).head(0.4),
        Src().tonal(0).noise(1, 500, 6000).loop(0.8).attack(0.3).head(0.4),
        shape({{1100, 250, 16}}, -3, 5000), shape({{450, 150, 16}}, -3, 3000));
    add("Surf", kNoise, Src().tonal(0).noise(1, 80, 12000).loop(1.0).attack(0.5).head(0.6),
        Src().tonal(0).noise(1, 1000, 14000).loop(0.9), shape({}, -2, 12000), shape({}, -4, 2000));
    add("Steam", kNoise, Src().tonal(0).noise(1, 3000, 16000).loop(0.6),
        Src().tonal(0).noise(1, 6000, 18000).loop(0.5), shape({{6000, 3000, 6}}, 0, 18000),
        shape({{4000, 3000, 4}}, 0, 9000));
    add("Noise Snare", kNoise, attackNoise(800, 12000).head(0.2, 0.05), attackNoise(2000, 14000),
        shape({{200, 80, 10}, {3000, 3000, 4}}, 0, 14000), shape({{200, 80, 8}}, -2, 5000));
    add("Radio Static", kNoise,
        Src().partials(drawbars({{1, 1}, {3, 0.3}})).tonal(0.3).noise(1, 400, 5000).loop(0.5),
        Src().tonal(0).noise(1, 300, 4000).loop(0.4), shape({{1500, 1500, 8}}, 0, 4500),
        shape({{1200, 1500, 8}}, 0, 3500));

    add("Glass Pad", kTextures,
        pad().partials(bar({{1, 1}, {2.32, 0.5}, {4.25, 0.35}, {6.63, 0.2}}, 1.0)),
        pad().slope(-12), shape({{2000, 1500, 6}}, 0, 12000), shape({}, -2, 6000), 1.0);
    add("Shimmer", kTextures, pad().slope(-3).ensemble(0.7).noise(0.05, 6000, 16000), pad(),
        shape({{5000, 3000, 8}}, 0, 16000), shape({{3000, 2000, 6}}, 0, 9000));
    add("Dark Drone", kTextures, pad().slope(-9).ensemble(0.6), pad().slope(-12).ensemble(0.7),
        lowpass(1200, 12), lowpass(400, 16));
    add("Metal Drone", kTextures,
        pad()
            .partials(bar({{1, 1}, {1.41, 0.7}, {2.23, 0.6}, {2.87, 0.5}, {3.6, 0.4}}, 1.0))
            .ensemble(0.4),
        pad().slope(-6), shape({{1800, 400, 10}}, 0, 10000), shape({{900, 300, 10}}, -1, 5000),
        0.5);
    add("Airy Pad", kTextures, pad().slope(-12).noise(0.4, 1000, 12000), breath(), vowel('a'),
        vowel('o'), 0.1);
    add("Bowed Glass", kTextures,
        pad().partials(bar({{1, 1}, {2.76, 0.5}, {5.4, 0.25}}, 1.0)).ensemble(0.3), pad().slope(-9),
        shape({{1500, 1000, 6}}, 0, 9000), shape({}, -2, 5000), 1.0);
    add("Choir Pad", kTextures, glottal().ensemble(0.7).attack(0.4).head(0.5).loop(1.0), breath(),
        vowel('o'), vowel('a'), 0.1);
    add("Spectral Swell", kTextures, pad().slope(-5).ensemble(0.3), pad().slope(-7),
        lowpass(900, 14), lowpass(7000, 8));
    add("Ghost Voices", kTextures, glottal().noise(0.5, 800, 8000).ensemble(0.6).loop(1.0),
        breath(), vowel('i'), vowel('u'), 0.1);

    for (std::size_t i = 0; i < out.size(); ++i) {
        out[i].base.seed = 2 * i + 1;
        out[i].top.seed = 2 * i + 2;
    }
    setLevels(out);
    setRecordings(out);
    return out;
}

}  // namespace

const std::vector<std::string>& categoryNames() {
    static const std::vector<std::string> names = {
        "Voices",          "Bowed Strings", "Woodwinds",
        "Brass",           "Plucked",       "Mallets and Bells",
        "Keys and Organs", "Synth Waves",   "Noise and Percussion",
        "Textures"};
    return names;
}

std::vector<InstrumentRecipe> catalogue() {
    return build();
}

}  // namespace makelib
