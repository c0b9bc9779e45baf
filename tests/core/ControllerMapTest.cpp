#include <gtest/gtest.h>

#include <string>

#include "core/PControllerMap.h"
#include "core/PParamDesc.h"
#include "platform/TempFolder.h"

namespace {

const char* kFile = PControllerMap::kFileName;

class ControllerMap : public ::testing::Test {
protected:
    void TearDown() override { PControllerMap::reset(); }
    TempFolder folder;
};

}  // namespace

TEST_F(ControllerMap, MissingFileGivesDefaultsAndIsWritten) {
    PControllerMap::loadFrom(folder.path().c_str());
    // Default controller 0 means none: bank select (controller 0) moves no parameter.
    EXPECT_EQ(PControllerMap::lookup(0), -1);
    EXPECT_EQ(PControllerMap::lookup(114), 73);  // "LFO Smooth Top" before "LFO Bypass"
    EXPECT_EQ(PControllerMap::lookup(30), 55);   // "Unused" stays in the map
    EXPECT_EQ(PControllerMap::lookup(3), -1);
    EXPECT_EQ(PControllerMap::lookup(128), -1);
    EXPECT_EQ(PControllerMap::lookup(-1), -1);

    const std::string text = folder.read(kFile);
    EXPECT_EQ(text.rfind("001:Pitch LFO Amount\r\n002:LFO Speed Top\r\n004:", 0), 0u);
    EXPECT_NE(text.find("\r\n007:Master Volume\r\n"), std::string::npos);
    EXPECT_NE(text.find("\r\n114:LFO Smooth Top\r\n115:LFO Smooth Filter\r\n"), std::string::npos);
    EXPECT_EQ(text.find("Unused"), std::string::npos);
    EXPECT_EQ(text.find("LFO Bypass"), std::string::npos);
    EXPECT_EQ(text.substr(text.size() - 2), "\r\n");

    // The written file reads back as the same map.
    PControllerMap::reset();
    PControllerMap::loadFrom(folder.path().c_str());
    EXPECT_EQ(folder.read(kFile), text);
    EXPECT_EQ(PControllerMap::lookup(114), 73);
    EXPECT_EQ(PControllerMap::lookup(30), -1);
}

TEST_F(ControllerMap, AcceptedLinesReplaceTheDefaultsAndKeepTheFile) {
    const std::string text =
        "5:master volume\r\n7:Pan\n7:Voices\r9:Fx Mix\r\n  +12:FX TYPE\r\nbad\r\n0:Voices\r\n";
    folder.write(kFile, text);
    PControllerMap::loadFrom(folder.path().c_str());
    EXPECT_EQ(PControllerMap::lookup(5), 57);
    EXPECT_EQ(PControllerMap::lookup(7), 85);  // a later line overrides
    EXPECT_EQ(PControllerMap::lookup(9), 71);
    EXPECT_EQ(PControllerMap::lookup(12), 93);
    EXPECT_EQ(PControllerMap::lookup(0), 85);  // controller 0 works when the file names it
    EXPECT_EQ(PControllerMap::lookup(1), -1);  // no defaults once a line was accepted
    EXPECT_EQ(folder.read(kFile), text);
}

TEST_F(ControllerMap, FileWithoutAcceptableLinesIsReplaced) {
    folder.write(kFile, "200:Pan\r\n");
    PControllerMap::loadFrom(folder.path().c_str());
    EXPECT_EQ(PControllerMap::lookup(7), 57);
    EXPECT_EQ(folder.read(kFile).rfind("001:Pitch LFO Amount\r\n", 0), 0u);
}

TEST(ControllerLine, ScansLikeTheFormat) {
    struct Case {
        const char* line;
        int controller;  // -1: rejected
        int parameter;
    };
    const Case cases[] = {
        {"5:master volume", 5, 57}, {" \t12:Pan", 12, 86},  // white space before the number
        {"+3:Pan", 3, 86},          {"007:Pan", 7, 86},    {"127:Pan", 127, 86},
        {"128:Pan", -1, 0},         {"-1:Pan", -1, 0},     {"99999999999999999999:Pan", -1, 0},
        {"5 :Pan", -1, 0},  // nothing may stand between the number and the colon
        {"5: Pan", -1, 0},  // the name is taken from right after the colon
        {"5:Pan ", -1, 0},          {"5:", -1, 0},         {":Pan", -1, 0},
        {"x5:Pan", -1, 0},          {"5:Unused", 5, 53},
    };
    for (const Case& c : cases) {
        int controller = -1, parameter = 0;
        bool accepted = PControllerMap::parseLine(c.line, &controller, &parameter);
        EXPECT_EQ(accepted, c.controller >= 0) << c.line;
        if (accepted) {
            EXPECT_EQ(controller, c.controller) << c.line;
            EXPECT_EQ(parameter, c.parameter) << c.line;
        }
    }
}
