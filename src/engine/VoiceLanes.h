// Renders the sample-layer voices of a block side by side: groups of four (SSE2) or eight (AVX2)
// voices run the lane kernel (LaneKernel.h). The voices are grouped by filter order; each lane
// mixes into its own column of a mix buffer, and the columns are summed into the outputs once per
// stretch of kMixFrames.
//
// Timing is that of rendering each voice on its own: a group runs in stretches that end wherever
// one of its voices starts, is released, reaches the end of its control block or finishes, and
// at that frame the voice is moved out of its lane, given its event, and moved back. At one frame
// a start comes first, then a release, then a control block's end.
//
// Lanes run when the vector kernels are chosen and the lane width is 4 or 8 (KernelChoice.h);
// otherwise the manager renders every voice on its own. All storage is part of the object, which
// is made at start-up; rendering allocates nothing.
#pragma once

#include <cstdint>

#include "engine/LaneKernel.h"
#include "engine/VoiceBatch.h"

class PRSVoice;

class VoiceLanes final : public VoiceBatch {
public:
    static constexpr int kVoices = 64;
    static constexpr int kMixFrames = 512;

    VoiceLanes();

    // Before rendering starts: a voice the batch may take, by its index in the manager's pool.
    void attach(PRSVoice* voice);

    bool add(Voice* voice, int32_t start, int32_t release) override;
    void render(Voicer& manager, float** outputs, int32_t frames) override;

private:
    struct Job {
        PRSVoice* voice;
        int32_t start;
        int32_t release;
        bool rendering;  // in its lane
        bool done;       // finished or freed in this block
    };

    void formGroups();
    void renderGroup(Voicer& manager, int group, int32_t from, int32_t to);
    void handleEvents(Voicer& manager, int group, int lane, int32_t at);
    void runStretch(int group, int32_t row, int32_t frames);
    void mixInto(float** outputs, int32_t at, int32_t frames);

    PRSVoice* voices_[kVoices] = {};
    Job jobs_[kVoices] = {};
    int jobCount_ = 0;
    int width_ = 4;
    int groupCount_ = 0;
    LaneState groups_[kVoices / 4];
    LaneScratch scratch_;
    alignas(32) float mix_[kMixFrames * 2 * kMaxLanes] = {};
};
