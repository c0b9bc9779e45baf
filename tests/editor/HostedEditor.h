// The built plug-in module with its editor, loaded the way a host loads it: a copy of the module
// in a temporary folder beside a small instrument library (or a damaged one, or none), loaded
// through VSTPluginMain by VstHost, opened, resumed at 44100 Hz. The editor is opened, idled and
// closed through the dispatcher; what the plug-in reported about gestures (begin edit, automate,
// end edit) is kept in order. The editor object inside the module can be looked at for states a
// test waits for (the module is built from the same sources as the test).
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <cmath>
#include <filesystem>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "data/POIP.h"
#include "data/PResource.h"
#include "editor/OrinEdit.h"
#include "editor/OrinEditor.h"
#include "host/SineLibrary.h"
#include "hostlib/VstHost.h"
#include "platform/Platform.h"
#include "platform/TempFolder.h"

namespace hosted {

enum class Library {
    kTwoSines,  // "Sine" and "Octave", a sine an octave higher, in slots 0 and 1
    kDamaged,   // an unreadable pool file and an instrument whose raw files are cut short
    kNone,      // no data folder at all
};

inline bool writeLibrary(const std::string& data, Library library) {
    using playing::writeFile;
    if (library == Library::kNone) return true;
    std::filesystem::create_directories(TempFolder::native(data + "/OIP"));
    std::filesystem::create_directories(TempFolder::native(data + "/Raw"));
    if (library == Library::kDamaged) {
        return writeFile(data + "/OIP/broken.xml", "<oip-pool><oip name='Bro\x01ken'><zone li") &&
               writeFile(
                   data + "/OIP/short.xml",
                   "<oip-pool><oip name='Short'><zone limit='127' rn='1'/></oip></oip-pool>") &&
               writeFile(data + "/Raw/B00001.raw", "\x0a\x00\x3c") &&
               writeFile(data + "/Raw/T00001.raw", "") &&
               writeFile(data + "/Raw/L00001.raw", std::string(70, '\x7f'));
    }
    return playing::writeSineLibrary(data) &&
           writeFile(data + "/OIP/octave.xml",
                     "<oip-pool><oip name='Octave'><zone limit='127' rn='2'/></oip></oip-pool>") &&
           writeFile(data + "/Raw/B00002.raw", playing::sineFile(playing::kPeriod / 2)) &&
           writeFile(data + "/Raw/T00002.raw", playing::sineFile(playing::kPeriod / 2)) &&
           writeFile(data + "/Raw/L00002.raw", playing::filterFile());
}

// One gesture report as the host received it.
struct HostCall {
    std::int32_t opcode;
    std::int32_t index;
    float value;
};

// Centre coordinates of the palette (y up) as icon parameter values, and back.
inline float iconXValue(double x) {
    return float((x + 200.0) / 400.0);
}
inline float iconYValue(double y) {
    return float((y + 134.0) / 268.0);
}
inline CPoint iconCentre(float x, float y) {
    return {int(std::lround(x * 400.0 - 200.0)), int(std::lround(y * 268.0 - 134.0))};
}

// How much the loudness of `sound` swings against that of `reference`, the same note played
// otherwise: (largest - smallest) / largest of the ratios of their blocks' RMS, over the blocks
// in which the reference is within 40 dB of its loudest; 0 when one is the other made louder.
inline double loudnessSwing(const std::vector<float>& sound, const std::vector<float>& reference) {
    constexpr std::size_t kWindow = 1024;  // several periods of the notes played
    auto rms = [](const std::vector<float>& x, std::size_t at) {
        double sum = 0;
        for (std::size_t i = at; i < at + kWindow; ++i) sum += double(x[i]) * x[i];
        return std::sqrt(sum / kWindow);
    };
    const std::size_t frames = std::min(sound.size(), reference.size());
    double loudest = 0;
    for (std::size_t at = 0; at + kWindow <= frames; at += kWindow)
        loudest = std::max(loudest, rms(reference, at));
    double largest = 0, smallest = 1e9;
    for (std::size_t at = 0; at + kWindow <= frames; at += kWindow) {
        const double r = rms(reference, at);
        if (r < loudest / 100) continue;
        largest = std::max(largest, rms(sound, at) / r);
        smallest = std::min(smallest, rms(sound, at) / r);
    }
    return largest > 0 ? (largest - smallest) / largest : 0.0;
}

class HostedEditor {
public:
    static constexpr float kRate = 44100.0f;
    static constexpr int kBlock = 512;

    explicit HostedEditor(Library library) {
        const std::filesystem::path built(QUOR_MODULE_PATH);
        const std::string module = folder_.file(built.filename().string());
        std::filesystem::copy_file(built, TempFolder::native(module));
        if (!writeLibrary(folder_.file("Quor-Data"), library)) return;
        host_.setGestureObserver([this](std::int32_t opcode, std::int32_t index, float value) {
            {
                std::lock_guard<std::mutex> guard(callsLock_);
                calls_.push_back({opcode, index, value});
            }
            if (following_) following_();
        });
        if (!host_.load(module.c_str())) return;
        host_.open();
        host_.setSampleRate(kRate);
        host_.setBlockSize(kBlock);
        host_.resume();
        loaded_ = true;
    }

    bool loaded() const { return loaded_; }
    VstHost& host() { return host_; }
    OrinEdit& plugin() {
        return *static_cast<OrinEdit*>(static_cast<AudioEffect*>(host_.effect()->object));
    }
    OrinEditor& editor() { return *plugin().editor(); }

    // effEditGetRect, then effEditOpen with the host's window (null: a window without screen).
    testing::AssertionResult open(void* parent) {
        ERect* rect = nullptr;
        if (host_.dispatch(effEditGetRect, 0, 0, &rect) != 1 || !rect)
            return testing::AssertionFailure() << "effEditGetRect answered no rectangle";
        if (rect->right - rect->left != OrinEditor::kWidth ||
            rect->bottom - rect->top != OrinEditor::kHeight)
            return testing::AssertionFailure()
                   << "editor rectangle " << rect->right << "x" << rect->bottom;
        if (host_.dispatch(effEditOpen, 0, 0, parent) != 1)
            return testing::AssertionFailure() << "effEditOpen failed";
        return testing::AssertionSuccess();
    }
    void idle() { host_.dispatch(effEditIdle); }
    void close() { host_.dispatch(effEditClose); }

    // The gesture reports since the last clearCalls(), oldest first.
    std::vector<HostCall> calls() {
        std::lock_guard<std::mutex> guard(callsLock_);
        return calls_;
    }
    void clearCalls() {
        std::lock_guard<std::mutex> guard(callsLock_);
        calls_.clear();
    }
    // A function run on every gesture report (as the plug-in makes it, on its thread), after
    // the report is kept; tests check the states of a drag with it while the drag's tracking
    // loop runs. Set it while the plug-in reports nothing.
    void follow(std::function<void()> following) { following_ = std::move(following); }

    // Whether the instrument in palette slot `slot` has its Base sample loaded (the library
    // loads the slots that no icon selects in the background).
    bool slotLoaded(int slot) {
        const POIP* instrument = plugin().resourceHolder().get(slot);
        const PZone* zone = instrument ? instrument->zoneForKey(60) : nullptr;
        return zone && zone->base && zone->base->data();
    }

    // Plays `note` for `seconds` and answers the left channel, then lets the note die away until
    // a block is silent, so that the next note starts alone.
    std::vector<float> played(int note, double seconds) {
        const auto frames = std::size_t(seconds * kRate);
        std::vector<float> left(frames + kBlock), right(frames + kBlock);
        host_.noteOn(0, note, 100);
        for (std::size_t at = 0; at < frames; at += kBlock)
            host_.process(&left[at], &right[at], kBlock);
        host_.noteOff(0, note);
        std::vector<float> l(kBlock), r(kBlock);
        for (int block = 0; block < 2000; ++block) {  // a bound against a note that never ends
            host_.process(l.data(), r.data(), kBlock);
            const auto loud = [](float v) { return std::fabs(v) > 1e-5f; };
            if (std::none_of(l.begin(), l.end(), loud) && std::none_of(r.begin(), r.end(), loud))
                break;
        }
        left.resize(frames);
        return left;
    }
    // The fundamental (Hz) of the last half of `note` played for `seconds`.
    double playedFundamental(int note, double seconds) {
        const std::vector<float> left = played(note, seconds);
        return playing::fundamental(&left[left.size() / 2], left.size() / 2, kRate);
    }

private:
    TempFolder folder_;
    VstHost host_;
    bool loaded_ = false;
    std::mutex callsLock_;
    std::vector<HostCall> calls_;
    std::function<void()> following_;
};

// Opens and closes the editor `rounds` times in the host's window `parent` (null: without
// screen), alternately with and without effEditIdle calls (`pump` runs the host's window
// messages before each), while another thread plays notes and automates parameters, the icon
// positions and the master volume among them, as a host plays back automation.
inline void soak(HostedEditor& hosted, int rounds, void* parent,
                 const std::function<void()>& pump) {
    VstHost& host = hosted.host();
    std::atomic<bool> done{false};
    std::atomic<int> badFrames{0};
    std::thread audio([&] {
        std::vector<float> left(256), right(256);
        for (int block = 0; !done.load(); ++block) {
            const int note = 48 + block % 24;
            host.noteOn(0, note, 100);
            host.noteOff(0, note - 5);
            const float phase = float(block % 101) / 100.0f;
            for (int p = 95; p <= 100; ++p) host.setParameter(p, p % 2 ? phase : 1.0f - phase);
            host.setParameter(OrinEditor::kVolumeParameter, 0.3f + 0.4f * phase);
            host.setParameter(block % 90, phase);
            host.process(left.data(), right.data(), 256);
            for (int i = 0; i < 256; ++i)
                if (!std::isfinite(left[i]) || !std::isfinite(right[i])) badFrames.fetch_add(1);
        }
    });
    for (int round = 0; round < rounds; ++round) {
        const testing::AssertionResult opened = hosted.open(parent);
        EXPECT_TRUE(opened) << "round " << round;
        if (!opened) break;
        for (int turn = 0; round % 2 && turn < 3; ++turn) {
            if (pump) pump();
            hosted.idle();
        }
        hosted.close();
    }
    done.store(true);
    audio.join();
    EXPECT_EQ(badFrames.load(), 0);
    EXPECT_EQ(hosted.editor().getFrame(), nullptr);  // the window never outlives effEditClose
}

}  // namespace hosted
