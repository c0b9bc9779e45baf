#include "engine/Voicer.h"

#include <algorithm>

#include "engine/VoiceBatch.h"
#include "engine/VoicerHost.h"

namespace {
constexpr double kInv127 = 0.007874015748031496;
}

Voicer::Voicer(VoicerHost* host) : host_(host) {
    for (int32_t c = 0; c < kChannels; ++c) programs_[c].store(c, std::memory_order_relaxed);
}

Voicer::~Voicer() {
    for (Voice* lists : {freeHead_, activeHead_}) {
        while (lists) {
            Voice* next = lists->next;
            delete lists;
            lists = next;
        }
    }
}

void Voicer::setPolyphony(int32_t voices) {
    polyphony_.store(std::max(voices, 0), std::memory_order_relaxed);
}

int32_t Voicer::getPolyphony() const {
    return polyphony_.load(std::memory_order_relaxed);
}

void Voicer::killAllVoices() {
    for (Voice* v = activeHead_; v;) {
        Voice* next = v->next;
        if (v->state != VoiceState::Free) freeVoice(v);
        v = next;
    }
}

bool Voicer::takeControllersChanged() {
    return controllersChanged_.exchange(false, std::memory_order_relaxed);
}

void Voicer::addVoice(Voice* voice) {
    if (!voice) return;
    voice->host = host_;
    voice->attachVoicer(this);
    voice->prev = nullptr;
    voice->next = freeHead_;
    freeHead_ = voice;
    voice->index = voiceCount_++;
}

void Voicer::requestChannelVolumeAll(int32_t value) {
    pendingVolume_.store(std::clamp(value, 0, 127), std::memory_order_relaxed);
}

void Voicer::requestKillAllVoices() {
    pendingKill_.store(true, std::memory_order_relaxed);
}

uint32_t Voicer::takeProgramChangedMask() {
    return programChangedMask_.exchange(0, std::memory_order_acq_rel);
}

void Voicer::applyRequests() {
    if (pendingKill_.exchange(false, std::memory_order_relaxed)) killAllVoices();
    int32_t volume = pendingVolume_.exchange(-1, std::memory_order_relaxed);
    if (volume >= 0)
        for (int32_t c = 0; c < kChannels; ++c) channelVolume(c, volume);
}

// ---- MIDI intake ------------------------------------------------------------------------------

void Voicer::handleEvents(const HostMidiEvent* const* events, int32_t count) {
    applyRequests();
    if (!events) return;
    for (int32_t i = 0; i < count; ++i) {
        const HostMidiEvent* e = events[i];
        if (!e || e->type != kHostMidiEventType) continue;
        int32_t statusNibble = e->midiData[0] & 0xF0;
        detune_ = statusNibble == 0x90 ? e->detune / 100.0 : 0.0;
        parseMidiByte(e->midiData[0], e->deltaFrames);
        parseMidiByte(e->midiData[1], 0);
        if (statusNibble != 0xC0 && statusNibble != 0xD0) parseMidiByte(e->midiData[2], 0);
    }
}

void Voicer::parseMidiByte(uint8_t byte, int32_t delta) {
    if (byte >= 0x80) {
        statusDelta_ = delta;
        status_ = byte & 0xF0;
        statusChannel_ = byte & 0x0F;
        dataCount_ = 0;
        return;
    }
    int16_t channel = static_cast<int16_t>(statusChannel_);
    switch (status_) {
        case 0x80:
        case 0x90:
            if (dataCount_ == 0) {
                firstData_ = byte;
                dataCount_ = 1;
                return;
            }
            dataCount_ = 0;
            if (status_ == 0x80 || byte == 0) {
                noteOffVelocity_ = status_ == 0x80 ? byte * kInv127 : 0.0;
                noteOff(channel, static_cast<int16_t>(firstData_), statusDelta_, false);
            } else {
                noteOn(channel, static_cast<int16_t>(firstData_), byte, statusDelta_);
            }
            return;
        case 0xB0:
            if (dataCount_ == 0) {
                firstData_ = byte;
                dataCount_ = 1;
                return;
            }
            dataCount_ = 0;
            switch (firstData_) {
                case 1:
                    modulationWheel(channel, byte);
                    break;
                case 7:
                    channelVolume(channel, byte);
                    break;
                case 10:
                    channelPan(channel, byte);
                    break;
                case 64:
                    sustainPedal(channel, byte, delta);
                    break;
                case 65:
                    portamentoSwitch(channel, byte, delta);
                    break;
                case 66:
                    sostenutoPedal(channel, byte, delta);
                    break;
                case 67:
                    softPedal(channel, byte, delta);
                    break;
                case 123:
                    allNotesOff();
                    break;
                default:
                    break;
            }
            controlChange(channel, firstData_, byte, delta);
            return;
        case 0xC0:
            programChange(channel, byte);
            return;
        case 0xD0:
            channelPressure(channel, byte);
            return;
        case 0xE0:
            if (dataCount_ == 0) {
                firstData_ = byte;
                dataCount_ = 1;
                return;
            }
            dataCount_ = 0;
            pitchBend(channel, firstData_, byte);
            return;
        default:  // no status, polyphonic pressure, system: drop data until the next status
            status_ = 0;
            dataCount_ = 0;
            return;
    }
}

// ---- Notes ------------------------------------------------------------------------------------

void Voicer::noteOn(int16_t channel, int16_t note, int16_t velocity, int32_t delta) {
    if (!validChannel(channel)) return;
    ChannelState& ch = channels_[channel];
    if (ch.monoMode && ch.stackCount < kNoteStackSize) {
        ch.stackNote[ch.stackCount] = note;
        ch.stackVelocity[ch.stackCount] = velocity;
        ++ch.stackCount;
    }
    releaseRestruck(channel, note, delta);
    Voice* voice = allocateVoice(channel, note);
    if (!voice) return;  // a manager without voices plays nothing
    voice->releasing = voice->pendingRelease = voice->stolen = voice->sustained = false;
    voice->note = note;
    voice->detune = detune_;
    voice->velocity = velocity * kInv127;
    voice->velocityValue = velocity;
    voice->program = programs_[channel].load(std::memory_order_relaxed);
    voice->volume = ch.volume;
    voice->pan = ch.pan;
    voice->panSpread = ch.panSpread;
    voice->pitchBend = ch.pitchBend;
    voice->modulation = ch.modulation;
    voice->startDelay = std::max(delta, 0);
    voice->releaseDelay = 0;
    voice->state = VoiceState::Free;
    voice->start(note, voice->velocity);
    if (voice->state == VoiceState::Finished)
        freeVoice(voice);
    else
        voice->state = VoiceState::Playing;
}

// Re-strike: the voice already holding this note on this channel is released at the new
// note's frame. A voice held by the pedal lets go of it, so that lifting the pedal later cannot
// release the new voice of the same note.
void Voicer::releaseRestruck(int32_t channel, int32_t note, int32_t delta) {
    for (Voice* v = activeHead_; v;) {
        Voice* next = v->next;
        if (v->state == VoiceState::Playing && !v->releasing && v->channel == channel &&
            v->note == note) {
            v->sustained = false;
            releaseAt(v, delta);
        }
        v = next;
    }
}

Voice* Voicer::allocateVoice(int32_t channel, int32_t note) {
    if (voiceCount_ == 0) return nullptr;
    for (Voice* v = activeHead_; v;) {
        Voice* next = v->next;
        if (v->state == VoiceState::Finished) freeVoice(v);
        v = next;
    }
    // Half the pool plays; the other half carries the voices fading out after being stolen.
    int32_t limit = voiceCount_ / 2;
    int32_t polyphony = getPolyphony();
    if (polyphony != 0 && polyphony < limit) limit = polyphony;
    if (activeCount_ >= limit) {
        for (Voice* v = activeTail_; v; v = v->prev) {
            if (!v->stolen) {
                stealOrFree(v);
                break;
            }
        }
    }
    Voice* voice;
    if (activeCount_ < voiceCount_ && freeHead_) {
        voice = freeHead_;
        freeHead_ = voice->next;
        ++activeCount_;
    } else {
        voice = activeTail_;  // every voice is active: the oldest is cut and reused
        unlinkActive(voice);
    }
    pushActiveHead(voice);
    voice->channel = channel;
    voice->note = note;
    return voice;
}

void Voicer::freeVoice(Voice* voice) {
    voice->stopVoice();
    voice->state = VoiceState::Free;
    voice->stolen = false;
    unlinkActive(voice);
    voice->prev = nullptr;
    voice->next = freeHead_;
    freeHead_ = voice;
    --activeCount_;
}

void Voicer::pushActiveHead(Voice* voice) {
    voice->prev = nullptr;
    voice->next = activeHead_;
    if (activeHead_)
        activeHead_->prev = voice;
    else
        activeTail_ = voice;
    activeHead_ = voice;
}

void Voicer::unlinkActive(Voice* voice) {
    if (voice->prev)
        voice->prev->next = voice->next;
    else
        activeHead_ = voice->next;
    if (voice->next)
        voice->next->prev = voice->prev;
    else
        activeTail_ = voice->prev;
    voice->next = voice->prev = nullptr;
}

// A stolen voice is already fading out fast; a release would replace that fade with its own
// slower one, so it only counts as released. Answers whether the voice still plays.
bool Voicer::releaseOrFree(Voice* voice) {
    if (!voice->stolen && !voice->startRelease(0)) {
        freeVoice(voice);
        return false;
    }
    voice->releasing = true;
    return true;
}

// Releases at `delta` frames into the block (at once when 0), never before the voice's own
// start in this block; an earlier pending release stands.
void Voicer::releaseAt(Voice* voice, int32_t delta) {
    if (delta <= 0) {
        releaseOrFree(voice);
        return;
    }
    const int32_t frame = std::max(delta, voice->startDelay);
    voice->releaseDelay = voice->pendingRelease ? std::min(voice->releaseDelay, frame) : frame;
    voice->pendingRelease = true;
}

void Voicer::stealOrFree(Voice* voice) {
    if (!voice->steal() || voice->state == VoiceState::Finished)
        freeVoice(voice);
    else
        voice->stolen = true;
}

void Voicer::noteOff(int16_t channel, int16_t note, int32_t delta, bool releaseAll) {
    if (!validChannel(channel)) return;
    ChannelState& ch = channels_[channel];
    for (Voice* v = activeHead_; v;) {
        Voice* next = v->next;
        if (v->state == VoiceState::Playing && v->channel == channel && v->note == note &&
            !v->releasing && !v->pendingRelease) {
            if (ch.sustainEnabled && ch.sustainDown) {
                v->sustained = true;
            } else {
                v->noteOffVelocity = noteOffVelocity_;
                releaseAt(v, delta);
            }
            if (!releaseAll) break;
        }
        v = next;
    }
    if (ch.stackCount > 0) popNoteStack(channel, note);
}

void Voicer::popNoteStack(int32_t channel, int16_t note) {
    ChannelState& ch = channels_[channel];
    int32_t n = --ch.stackCount;
    if (n <= 0) return;
    int32_t match = -1;
    for (int32_t i = n; i >= 0; --i) {
        if ((ch.stackNote[i] & 127) == note) {
            match = i;
            break;
        }
    }
    if (match == n) {
        --ch.stackCount;  // the previous note sounds again and is pushed again by noteOn
        noteOn(static_cast<int16_t>(channel), ch.stackNote[n - 1], ch.stackVelocity[n - 1], 0);
    } else if (match >= 0) {
        for (int32_t i = match; i < n; ++i) {
            ch.stackNote[i] = ch.stackNote[i + 1];
            ch.stackVelocity[i] = ch.stackVelocity[i + 1];
        }
    }
}

void Voicer::allNotesOff() {
    for (ChannelState& ch : channels_) {
        ch.pitchBend = 0;
        ch.modulation = 0;
        ch.stackCount = 0;
    }
    for (Voice* v = activeHead_; v;) {
        Voice* next = v->next;
        if (v->state == VoiceState::Playing) {
            v->sustained = false;
            releaseOrFree(v);
        }
        v = next;
    }
}

void Voicer::channelNotesOff(int32_t channel, bool immediately) {
    for (Voice* v = activeHead_; v;) {
        Voice* next = v->next;
        if (v->state == VoiceState::Playing && v->channel == channel) {
            if (immediately)
                freeVoice(v);
            else
                releaseOrFree(v);
        }
        v = next;
    }
}

void Voicer::setMonoMode(int32_t channel, bool on) {
    if (!validChannel(channel) || channels_[channel].monoMode == on) return;
    channels_[channel].monoMode = on;
    channels_[channel].stackCount = 0;
}

// ---- Channel controllers ------------------------------------------------------------------------

void Voicer::setChannelValue(int32_t channel, VoiceField field, double value) {
    for (Voice* v = activeHead_; v; v = v->next) {
        if (v->state != VoiceState::Playing || v->channel != channel) continue;
        switch (field) {
            case VoiceField::PitchBend:
                v->pitchBend = value;
                v->setPitchBend(value);
                break;
            case VoiceField::Modulation:
                v->modulation = value;
                v->setModulation(value);
                break;
            case VoiceField::Volume:
                v->volume = value;
                v->setVolume(value);
                break;
            case VoiceField::Pan:
                v->pan = value;
                v->setPan(value);
                break;
            case VoiceField::Pressure:
                v->setPressure(value);
                break;
        }
    }
}

void Voicer::pitchBend(int32_t channel, int32_t lsb, int32_t msb) {
    if (!validChannel(channel)) return;
    double bend = ((lsb & 127) + 128.0 * (msb & 127)) * 0.0001220703125 - 1.0;
    channels_[channel].pitchBend = bend;
    setChannelValue(channel, VoiceField::PitchBend, bend);
}

void Voicer::modulationWheel(int32_t channel, int32_t value) {
    if (!validChannel(channel)) return;
    channels_[channel].modulation = value * kInv127;
    setChannelValue(channel, VoiceField::Modulation, value * kInv127);
}

void Voicer::channelVolume(int32_t channel, int32_t value) {
    if (!validChannel(channel)) return;
    channels_[channel].volume = value * kInv127;
    raiseControllersChanged();
    setChannelValue(channel, VoiceField::Volume, value * kInv127);
}

void Voicer::channelPan(int32_t channel, int32_t value) {
    if (!validChannel(channel)) return;
    channels_[channel].pan = value * kInv127;
    raiseControllersChanged();
    setChannelValue(channel, VoiceField::Pan, value * kInv127);
}

void Voicer::channelPressure(int32_t channel, int32_t value) {
    if (!validChannel(channel)) return;
    setChannelValue(channel, VoiceField::Pressure, value * kInv127);
}

void Voicer::programChange(int32_t channel, int32_t program) {
    if (!validChannel(channel)) return;
    programs_[channel].store(program, std::memory_order_relaxed);
    lastProgram_.store(program, std::memory_order_relaxed);
    programChangedMask_.fetch_or(1u << channel, std::memory_order_release);
    raiseControllersChanged();
}

int32_t Voicer::getChannelProgram(int32_t channel) const {
    return validChannel(channel) ? programs_[channel].load(std::memory_order_relaxed) : 0;
}

void Voicer::sustainPedal(int32_t channel, int32_t value, int32_t delta) {
    if (!validChannel(channel)) return;
    ChannelState& ch = channels_[channel];
    ch.sustainDown = value > 63;
    if (!ch.sustainEnabled || value > 63) return;
    for (Voice* v = activeHead_; v;) {
        if (v->state == VoiceState::Playing && v->channel == channel && v->sustained) {
            v->sustained = false;
            noteOff(static_cast<int16_t>(channel), static_cast<int16_t>(v->note), delta, false);
            v = activeHead_;
        } else {
            v = v->next;
        }
    }
}

void Voicer::sostenutoPedal(int32_t channel, int32_t value, int32_t) {
    if (validChannel(channel)) channels_[channel].sostenutoDown = value > 63;
}

void Voicer::softPedal(int32_t channel, int32_t value, int32_t) {
    if (validChannel(channel)) channels_[channel].softDown = value > 63;
}

void Voicer::portamentoSwitch(int32_t channel, int32_t value, int32_t) {
    if (validChannel(channel)) channels_[channel].portamentoSwitch = value > 63;
}

void Voicer::controlChange(int32_t channel, int32_t controller, int16_t value, int32_t) {
    if (!validChannel(channel)) return;
    if (controller == 121) {
        channels_[channel].pitchBend = 0;
        channels_[channel].modulation = 0;
        setChannelValue(channel, VoiceField::PitchBend, 0.0);
        setChannelValue(channel, VoiceField::Modulation, 0.0);
        sustainPedal(channel, 0, 0);
        return;
    }
    for (Voice* v = activeHead_; v; v = v->next)
        if (v->state == VoiceState::Playing && v->channel == channel)
            v->controller(controller, value);
}

// ---- Rendering ----------------------------------------------------------------------------------

void Voicer::resetVoiceIterator() {
    iterator_ = 0;
}

Voice* Voicer::nextPlayingVoice() {
    int32_t position = 0;
    for (Voice* v = activeHead_; v; v = v->next) {
        if (v->state != VoiceState::Playing) continue;
        if (position++ == iterator_) {
            ++iterator_;
            return v;
        }
    }
    return nullptr;
}

void Voicer::renderReplacing(float** inputs, float** outputs, int32_t frames) {
    if (outputs && frames > 0) {
        int32_t channels = std::clamp(host_->outputChannelCount(), 0, kMaxOutputChannels);
        for (int32_t c = 0; c < channels; ++c)
            if (outputs[c]) std::fill(outputs[c], outputs[c] + frames, 0.0f);
    }
    renderAdding(inputs, outputs, frames);
}

void Voicer::renderAdding(float** inputs, float** outputs, int32_t frames) {
    applyRequests();
    if (!outputs || frames <= 0) return;
    int32_t channels = std::clamp(host_->outputChannelCount(), 0, kMaxOutputChannels);

    int32_t polyphony = getPolyphony();
    if (polyphony != 0 && activeCount_ > polyphony && activeTail_ && !activeTail_->stolen)
        stealOrFree(activeTail_);

    for (Voice* v = activeHead_; v;) {
        Voice* next = v->next;
        if (v->state == VoiceState::Finished)
            freeVoice(v);
        else if (v->state == VoiceState::Playing)
            renderVoice(v, inputs, outputs, frames, channels);
        v = next;
    }
    if (batch_) batch_->render(*this, outputs, frames);
}

// Renders one block of a playing voice, starting it and releasing it at the frames its events
// named: through the batch when it takes the voice, else at once. The voice's inputs are passed
// unchanged (the instrument has none).
void Voicer::renderVoice(Voice* v, float** inputs, float** outputs, int32_t frames,
                         int32_t channels) {
    int32_t s = v->startDelay;
    if (s >= frames) {  // the start lies beyond this block
        v->startDelay = s - frames;
        if (v->pendingRelease) v->releaseDelay = std::max(v->releaseDelay - frames, 0);
        return;
    }
    s = std::max(s, 0);
    v->startDelay = 0;
    int32_t r = -1;
    if (v->pendingRelease) {
        r = std::max(v->releaseDelay, s);
        if (r >= frames) {
            v->releaseDelay = r - frames;
            r = -1;
        }
    }
    if (batch_ && batch_->add(v, s, r)) return;
    renderSpan(v, inputs, outputs, frames, channels, s, r);
}

void Voicer::renderSpan(Voice* v, float** inputs, float** outputs, int32_t frames, int32_t channels,
                        int32_t s, int32_t r) {
    if (s == 0 && r < 0) {
        v->render(inputs, outputs, frames);
        return;
    }
    float* shifted[kMaxOutputChannels] = {};
    auto shift = [&](int32_t offset) {
        for (int32_t c = 0; c < channels; ++c)
            shifted[c] = outputs[c] ? outputs[c] + offset : nullptr;
        return shifted;
    };
    if (r < 0) {
        v->render(inputs, shift(s), frames - s);
        return;
    }
    if (r > s) v->render(inputs, shift(s), r - s);
    if (releasePending(v)) v->render(inputs, shift(r), frames - r);  // r < frames here
}

bool Voicer::releasePending(Voice* v) {
    v->pendingRelease = false;
    v->releaseDelay = 0;
    return releaseOrFree(v);
}
