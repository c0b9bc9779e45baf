// A test effect and editor that record which virtual operation a host call reached and with what.
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
    // The last operation reached and its arguments; -99 where it has none.
    std::string call;
    std::intptr_t first = -99, second = -99;
    float number = -99;
    bool throwOnCall = false;  // as a faulty plug-in might

    void note(const char* name, std::intptr_t a = -99, std::intptr_t b = -99, float f = -99) {
        call = name;
        first = a;
        second = b;
        number = f;
        if (throwOnCall) throw std::runtime_error(name);
    }
    void setProgram(std::int32_t program) override { note("setProgram", program); }
    void getProgramName(char*) override { note("getProgramName"); }
    void getParameterName(std::int32_t index, char*) override { note("getParameterName", index); }
    void setSampleRate(float rate) override { note("setSampleRate", -99, -99, rate); }
    void setBlockSize(std::int32_t frames) override { note("setBlockSize", frames); }
    void suspend() override { note("suspend"); }
    void resume() override { note("resume"); }
    std::int32_t getChunk(void** data, bool isPreset) override {
        note("getChunk", isPreset);
        *data = this;
        return 17;
    }
    std::int32_t setChunk(void*, std::int32_t size, bool isPreset) override {
        note("setChunk", size, isPreset);
        return 1;
    }
    void setParameter(std::int32_t index, float value) override {
        note("setParameter", index, -99, value);
    }
    float getParameter(std::int32_t index) override {
        note("getParameter", index);
        return static_cast<float>(index) * 0.5f;
    }
    void processReplacing(float**, float**, std::int32_t frames) override {
        note("processReplacing", frames);
    }
    std::int32_t processEvents(VstEvents* events) override {
        note("processEvents");
        return events->numEvents;
    }
    bool getProgramNameIndexed(std::int32_t category, std::int32_t index, char*) override {
        note("getProgramNameIndexed", index, category);
        return true;
    }
    std::intptr_t vendorSpecific(std::int32_t index, std::intptr_t value, void*, float) override {
        note("vendorSpecific", index, value);
        return 5;
    }
    std::int32_t canDo(char* text) override {
        note("canDo");
        return std::strcmp(text, "yes") == 0 ? 1 : -1;
    }
};

struct FakeEditor : AEffEditor {
    FakeEditor(AudioEffect* effect, int* destroyed) : AEffEditor(effect), destroyed(destroyed) {}
    ~FakeEditor() override { ++*destroyed; }

    int* destroyed;
    ERect rect{0, 0, 449, 735};
    std::string call;
    VstKeyCode key{};
    float wheel = 0;
    int knobMode = -1;

    bool getRect(ERect** r) override {
        *r = &rect;
        return true;
    }
    void idle() override { call = "idle"; }
    bool onKeyDown(VstKeyCode& k) override { return note("keyDown", k); }
    bool onKeyUp(VstKeyCode& k) override { return !note("keyUp", k); }
    bool onWheel(float distance) override {
        wheel = distance;
        return true;
    }
    bool setKnobMode(int mode) override {
        knobMode = mode;
        return true;
    }
    // Records a key; true.
    bool note(const char* name, const VstKeyCode& k) {
        call = name;
        key = k;
        return true;
    }
};
