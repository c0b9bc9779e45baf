// A loaded plug-in that can play: a copy of the built module beside the one-instrument library
// of SineLibrary.h, loaded through VSTPluginMain and resumed. Each instance is its own module
// copy, so its process-wide state (pool, random generators) starts fresh.
#pragma once

#include <algorithm>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "core/Orin.h"
#include "host/LoadedPlugin.h"
#include "host/SineLibrary.h"

namespace playing {

class Instance {
public:
    // `settings`, when given, becomes the settings file beside the module.
    explicit Instance(float rate = 44100.0f, std::int32_t block = 512,
                      const char* settings = nullptr) {
        if (!writeSineLibrary(module_.folder().file("Quor-Data"))) return;
        if (settings && !writeFile(module_.folder().file("Quor.ini"), settings)) return;
        host_ = std::make_unique<VstHost>();
        loaded_ = host_->load(module_.path().c_str());
        if (!loaded_) return;
        host_->open();
        host_->setSampleRate(rate);
        host_->setBlockSize(block);
        host_->resume();  // applies program 0, which loads the selected instrument
    }

    bool loaded() const { return loaded_; }
    VstHost& host() { return *host_; }
    // The plug-in object inside the module (built from the same sources as this test).
    Orin& plugin() {
        return *static_cast<Orin*>(static_cast<AudioEffect*>(host_->effect()->object));
    }

    // Renders `frames` frames in host blocks of `block` frames; notes are (frame, note, on,
    // velocity).
    struct NoteEvent {
        std::int64_t frame;
        int note;
        bool on;
        int velocity = 100;
    };
    void render(std::vector<float>& left, std::vector<float>& right, std::int64_t frames,
                std::int32_t block, const std::vector<NoteEvent>& notes = {}) {
        const std::size_t start = left.size();
        left.resize(start + static_cast<std::size_t>(frames));
        right.resize(left.size());
        for (std::int64_t at = 0; at < frames; at += block) {
            const auto n = static_cast<std::int32_t>(std::min<std::int64_t>(block, frames - at));
            for (const NoteEvent& e : notes)
                if (e.frame >= at && e.frame < at + n) {
                    const auto delta = static_cast<std::int32_t>(e.frame - at);
                    if (e.on)
                        host_->noteOn(0, e.note, e.velocity, delta);
                    else
                        host_->noteOff(0, e.note, delta);
                }
            host_->process(&left[start + at], &right[start + at], n);
        }
    }

private:
    ModuleCopy module_;
    std::unique_ptr<VstHost> host_;
    bool loaded_ = false;
};

}  // namespace playing
