#include "engine/VoiceLanes.h"

#include <emmintrin.h>

#include <algorithm>

#include "engine/KernelChoice.h"
#include "engine/PRSVoice.h"
#include "engine/Voicer.h"

namespace {

float sumOfLanes(const float* row) {
    __m128 v = _mm_add_ps(_mm_load_ps(row), _mm_load_ps(row + 4));
    v = _mm_add_ps(v, _mm_shuffle_ps(v, v, _MM_SHUFFLE(1, 0, 3, 2)));
    v = _mm_add_ss(v, _mm_shuffle_ps(v, v, 1));
    return _mm_cvtss_f32(v);
}

}  // namespace

VoiceLanes::VoiceLanes() {
    for (LaneState& group : groups_) group = LaneState{};
}

void VoiceLanes::attach(PRSVoice* voice) {
    if (voice && voice->index >= 0 && voice->index < kVoices) voices_[voice->index] = voice;
}

bool VoiceLanes::add(Voice* voice, int32_t start, int32_t release) {
    const int width = voiceLanes();
    if (noMMX() != 0 || (width != 4 && width != 8)) return false;
    if (!voice || voice->index < 0 || voice->index >= kVoices) return false;
    PRSVoice* own = voices_[voice->index];
    if (own != voice || jobCount_ >= kVoices) return false;
    const int order = own->renderState().order;
    if (order < 1 || order > kMaxFilterOrder) return false;  // the voice's kernel plays nothing
    if (jobCount_ == 0) width_ = width;
    if (width != width_) return false;  // switched during this block's walk
    jobs_[jobCount_++] = {own, start, release, false, false};
    return true;
}

void VoiceLanes::render(Voicer& manager, float** outputs, int32_t frames) {
    if (jobCount_ == 0) return;
    formGroups();
    for (int32_t at = 0; at < frames; at += kMixFrames) {
        const int32_t n = std::min(frames - at, static_cast<int32_t>(kMixFrames));
        std::fill(mix_, mix_ + n * 2 * kMaxLanes, 0.0f);
        for (int g = 0; g < groupCount_; ++g) renderGroup(manager, g, at, at + n);
        mixInto(outputs, at, n);
    }
    for (int i = 0; i < jobCount_; ++i) {
        if (jobs_[i].rendering)
            scatterLane(groups_[i / width_], i % width_, jobs_[i].voice->renderState());
    }
    jobCount_ = 0;
}

// Voices of one order share groups; a group runs in the highest order among its voices.
void VoiceLanes::formGroups() {
    for (int i = 1; i < jobCount_; ++i) {
        const Job job = jobs_[i];
        const int order = job.voice->renderState().order;
        int j = i;
        for (; j > 0 && jobs_[j - 1].voice->renderState().order > order; --j)
            jobs_[j] = jobs_[j - 1];
        jobs_[j] = job;
    }
    groupCount_ = (jobCount_ + width_ - 1) / width_;
    for (int g = 0; g < groupCount_; ++g) {
        const int last = std::min((g + 1) * width_, jobCount_) - 1;
        groups_[g] = LaneState{};
        groups_[g].order = jobs_[last].voice->renderState().order;
    }
}

void VoiceLanes::renderGroup(Voicer& manager, int group, int32_t from, int32_t to) {
    const int first = group * width_;
    const int count = std::min(width_, jobCount_ - first);
    for (int32_t at = from; at < to;) {
        int32_t next = to;
        for (int lane = 0; lane < count; ++lane) {
            handleEvents(manager, group, lane, at);
            const Job& job = jobs_[first + lane];
            if (!job.rendering && !job.done && job.start > at) next = std::min(next, job.start);
            if (job.release > at) next = std::min(next, job.release);
            if (job.rendering) next = std::min(next, at + job.voice->framesToControlBlock());
        }
        runStretch(group, at - from, next - at);
        at = next;
    }
}

void VoiceLanes::handleEvents(Voicer& manager, int group, int lane, int32_t at) {
    Job& job = jobs_[group * width_ + lane];
    LaneState& lanes = groups_[group];
    PRSVoice& voice = *job.voice;
    VoiceRenderState& state = voice.renderState();
    auto leave = [&] {
        if (job.rendering) clearLane(lanes, lane);
        job.rendering = false;
        job.done = true;
    };
    if (!job.rendering && !job.done && job.start == at) {
        if (voice.hasFilter() && voice.state != VoiceState::Finished) {
            gatherLane(lanes, lane, state);
            job.rendering = true;
        } else {
            job.done = true;
        }
    }
    if (job.release == at) {
        job.release = -1;
        if (job.rendering) scatterLane(lanes, lane, state);
        if (!manager.releasePending(&voice)) leave();
    }
    if (job.rendering && voice.framesToControlBlock() <= 0) {
        scatterLane(lanes, lane, state);
        voice.nextControlBlock();
        if (voice.state == VoiceState::Finished)
            leave();
        else
            gatherLane(lanes, lane, state);
    }
}

// `frames` frames in which no voice of the group meets an event, from mix row `row` on.
void VoiceLanes::runStretch(int group, int32_t row, int32_t frames) {
    const int first = group * width_;
    const int count = std::min(width_, jobCount_ - first);
    unsigned reading = 0;
    for (int lane = 0; lane < count; ++lane)
        if (jobs_[first + lane].rendering) reading |= 1u << lane;
    for (int32_t done = 0; done < frames; done += kLaneChunk) {
        const int n = std::min(frames - done, static_cast<int32_t>(kLaneChunk));
        renderLanes(groups_[group], scratch_, width_, reading, mix_ + (row + done) * 2 * kMaxLanes,
                    n);
    }
    for (int lane = 0; lane < count; ++lane)
        if (jobs_[first + lane].rendering) jobs_[first + lane].voice->advance(frames);
}

void VoiceLanes::mixInto(float** outputs, int32_t at, int32_t frames) {
    float* left = outputs[0] + at;
    float* right = outputs[1] + at;
    for (int32_t i = 0; i < frames; ++i) {
        const float* row = mix_ + i * 2 * kMaxLanes;
        left[i] += sumOfLanes(row);
        right[i] += sumOfLanes(row + kMaxLanes);
    }
}
