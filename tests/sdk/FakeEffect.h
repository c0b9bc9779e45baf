// A test effect that records which virtual operation the dispatcher reached and with what.
#pragma once

#include <cstring>
#include <stdexcept>
#include <string>

#include "sdk/AEffEditor.h"
#include "sdk/AudioEffectX.h"

struct FakeEffect : AudioEffectX {
    explicit FakeEffect(audioMasterCallback host = nullptr, int* destroyed = nullptr)
        : AudioEffectX(host, 4, 10), destroyed(destroyed) {}
    ~FakeEffect() override {
        if (destroyed) ++*destroyed;
    }

    int* destroyed;
    std::string lastCall;
    std::int32_t lastIndex = -99;
    std::intptr_t lastValue = -99;
    float lastFloat = -99;
    bool lastFlag = false;
    bool throwOnCall = false;

    void note(const char* call) {
        lastCall = call;
        if (throwOnCall) throw std::runtime_error(call);
    }
    void open() override { note("open"); }
    void close() override { note("close"); }
    void setProgram(std::int32_t program) override {
        note("setProgram");
        lastIndex = program;
    }
    void getProgramName(char* name) override {
        note("getProgramName");
        std::strcpy(name, "P");
    }
    void getParameterName(std::int32_t index, char* text) override {
        note("getParameterName");
        lastIndex = index;
        std::strcpy(text, "N");
    }
    void setSampleRate(float rate) override {
        note("setSampleRate");
        lastFloat = rate;
    }
    void setBlockSize(std::int32_t frames) override {
        note("setBlockSize");
        lastIndex = frames;
    }
    void suspend() override { note("suspend"); }
    void resume() override { note("resume"); }
    std::int32_t getChunk(void** data, bool isPreset) override {
        note("getChunk");
        lastFlag = isPreset;
        *data = this;
        return 17;
    }
    std::int32_t setChunk(void*, std::int32_t size, bool isPreset) override {
        note("setChunk");
        lastIndex = size;
        lastFlag = isPreset;
        return 1;
    }
    void setParameter(std::int32_t index, float value) override {
        note("setParameter");
        lastIndex = index;
        lastFloat = value;
    }
    float getParameter(std::int32_t index) override {
        note("getParameter");
        return static_cast<float>(index) * 0.5f;
    }
    void processReplacing(float**, float**, std::int32_t frames) override {
        note("processReplacing");
        lastIndex = frames;
    }
    std::int32_t processEvents(VstEvents* events) override {
        note("processEvents");
        return events->numEvents;
    }
    bool getProgramNameIndexed(std::int32_t category, std::int32_t index, char* text) override {
        note("getProgramNameIndexed");
        lastIndex = index;
        lastValue = category;
        std::strcpy(text, "X");
        return true;
    }
    std::intptr_t vendorSpecific(std::int32_t index, std::intptr_t value, void*, float) override {
        note("vendorSpecific");
        lastIndex = index;
        lastValue = value;
        return 5;
    }
    std::int32_t canDo(char* text) override {
        note("canDo");
        return std::strcmp(text, "yes") == 0 ? 1 : -1;
    }
};

// An editor that records what reached it.
struct FakeEditor : AEffEditor {
    FakeEditor(AudioEffect* effect, int* destroyed) : AEffEditor(effect), destroyed(destroyed) {}
    ~FakeEditor() override { ++*destroyed; }

    int* destroyed;
    ERect rect{0, 0, 449, 735};
    std::string lastCall;
    VstKeyCode lastKey{};
    float lastWheel = 0;
    int knobMode = -1;

    bool getRect(ERect** r) override {
        *r = &rect;
        return true;
    }
    void idle() override { lastCall = "idle"; }
    bool onKeyDown(VstKeyCode& key) override {
        lastKey = key;
        lastCall = "keyDown";
        return true;
    }
    bool onKeyUp(VstKeyCode& key) override {
        lastKey = key;
        lastCall = "keyUp";
        return false;
    }
    bool onWheel(float distance) override {
        lastWheel = distance;
        return true;
    }
    bool setKnobMode(int mode) override {
        knobMode = mode;
        return true;
    }
};
