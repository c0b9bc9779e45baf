// Parameters and programs as a host sees them.
#include <cmath>
#include <cstring>
#include <limits>

#include "LoadedPlugin.h"

namespace {

using HostParameters = LoadedPlugin;

struct Row {
    int index;
    const char* name;
    const char* label;
    const char* display;  // of the default value
};

// Rows written down independently of the plug-in's table: each kind of label, the first and
// last named rows and an unnamed one.
const Row kRows[] = {
    {0, "ADSR Amount FilterHi", " dB ", "0.900000"}, {23, "Base Attack Bend", " xf ", "0.300000"},
    {32, "LFO Speed Base", " Hz ", "0.500000"},      {52, "Octave Base", "oct ", "0.500000"},
    {56, "Master Tune", "cent", "0.500000"},         {57, "Master Volume", " dB ", "0.800000"},
    {100, "F Icon Y", "    ", "0.550000"},           {107, "", "", "0.000000"},
};

TEST_F(HostParameters, NamesLabelsAndDisplays) {
    for (const Row& row : kRows) {
        EXPECT_EQ(host->parameterName(row.index), row.name) << row.index;
        EXPECT_EQ(host->parameterLabel(row.index), row.label) << row.index;
        EXPECT_EQ(host->parameterDisplay(row.index), row.display) << row.index;
    }
    for (int i = 0; i < 108; ++i) {
        const std::string name = host->parameterName(i);
        EXPECT_EQ(name.empty(), i >= 101) << i;
        EXPECT_LE(name.size(), 29u) << i;
        EXPECT_EQ(host->parameterLabel(i).size(), i >= 101 ? 0u : 4u) << i;
        // The display is always the raw value with six decimals, eight characters.
        const std::string display = host->parameterDisplay(i);
        EXPECT_EQ(display.size(), 8u) << i;
        EXPECT_NEAR(std::stod(display), host->parameter(i), 1e-6) << i;
    }
}

TEST_F(HostParameters, TextsOutsideTheTableLeaveTheBufferAlone) {
    for (int opcode : {effGetParamName, effGetParamLabel, effGetParamDisplay}) {
        for (int index : {-1, 108, 1 << 30}) {
            char text[16];
            std::memset(text, '#', sizeof text);
            host->dispatch(opcode, index, 0, text);
            EXPECT_EQ(text[0], '#') << opcode << " " << index;
        }
    }
    EXPECT_EQ(host->parameter(108), 0.0f);
    EXPECT_EQ(host->parameter(-1), 0.0f);
}

TEST_F(HostParameters, SetParameterRejectsGarbageAndClamps) {
    float before[108];
    for (int i = 0; i < 108; ++i) before[i] = host->parameter(i);
    for (int index : {-1, 108, 109, 1 << 30, std::numeric_limits<int>::min()})
        host->setParameter(index, 0.123f);
    host->setParameter(4, std::numeric_limits<float>::quiet_NaN());
    for (int i = 0; i < 108; ++i) EXPECT_EQ(host->parameter(i), before[i]) << i;

    host->setParameter(4, 1.5f);
    EXPECT_EQ(host->parameter(4), 1.0f);
    host->setParameter(4, -0.25f);
    EXPECT_EQ(host->parameter(4), 0.0f);
    host->setParameter(4, std::numeric_limits<float>::infinity());
    EXPECT_EQ(host->parameter(4), 1.0f);
    host->setParameter(4, 0.375f);
    EXPECT_EQ(host->parameter(4), 0.375f);
    EXPECT_EQ(host->parameterDisplay(4), "0.375000");
}

TEST_F(HostParameters, ProgramNames) {
    for (int p = 0; p < 8; ++p)
        EXPECT_EQ(host->programNameIndexed(p), "Init " + std::to_string(p + 1)) << p;
    EXPECT_EQ(host->programNameIndexed(8), "");
    EXPECT_EQ(host->dispatch(effGetProgramNameIndexed, 8, 0, nullptr), 0);
    char text[40];
    EXPECT_EQ(host->dispatch(effGetProgramNameIndexed, -1, 0, text), 0);

    // A program named exactly "Init" is numbered when asked for the current name only.
    host->setProgram(2);
    host->setProgramName("Init");
    EXPECT_EQ(host->programName(), "Init 3");
    EXPECT_EQ(host->programNameIndexed(2), "Init");
    host->setProgramName("Strings");
    EXPECT_EQ(host->programName(), "Strings");
    EXPECT_EQ(host->programNameIndexed(2), "Strings");

    // A long name fits the host's buffer.
    host->setProgramName(std::string(60, 'n'));
    for (int opcode : {effGetProgramName, effGetProgramNameIndexed}) {
        std::memset(text, '#', sizeof text);
        host->dispatch(opcode, 2, 0, text);
        EXPECT_EQ(std::strlen(text), 23u) << opcode;
        EXPECT_EQ(text[24], '#') << opcode;
    }
}

TEST_F(HostParameters, ProgramSelection) {
    host->setProgram(5);
    EXPECT_EQ(host->program(), 5);
    for (std::intptr_t bad : {std::intptr_t(8), std::intptr_t(-1), std::intptr_t(1) << 33})
        host->dispatch(effSetProgram, 0, bad);
    EXPECT_EQ(host->program(), 5);
    // Each program keeps its own live values.
    host->setParameter(10, 0.125f);
    host->setProgram(6);
    EXPECT_NE(host->parameter(10), 0.125f);
    host->setProgram(5);
    EXPECT_EQ(host->parameter(10), 0.125f);
}

TEST_F(HostParameters, MasterTuneIsSharedByEveryProgram) {
    host->setProgram(3);
    host->setParameter(56, 0.3f);
    for (int p : {0, 3, 7}) {
        host->setProgram(p);
        EXPECT_EQ(host->parameter(56), 0.3f) << p;
    }
}

}  // namespace
