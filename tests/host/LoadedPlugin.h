// Loads the built plug-in module the way a host does: the module file is copied into an empty
// temporary folder and loaded from there by VstHost. Beside it lies an empty instrument library
// (the data folder with empty "OIP" and "Raw" folders), so that the plug-in finds no instruments
// but has nothing to report either: a report would be a message box on Windows, waiting for a
// person. Each copy is a module of its own, with its own process-wide state.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>

#include "hostlib/VstHost.h"
#include "platform/TempFolder.h"

class ModuleCopy {
public:
    ModuleCopy() {
        const std::filesystem::path built(QUOR_MODULE_PATH);
        path_ = folder_.file(built.filename().string());
        std::filesystem::copy_file(built, path_);
        std::filesystem::create_directories(folder_.file("Quor-Data") + "/OIP");
        std::filesystem::create_directories(folder_.file("Quor-Data") + "/Raw");
    }
    const std::string& path() const { return path_; }
    const TempFolder& folder() const { return folder_; }

private:
    TempFolder folder_;
    std::string path_;
};

// A fixture with one loaded and opened instance at 44100 Hz, 512 frames, resumed.
class LoadedPlugin : public ::testing::Test {
protected:
    void SetUp() override {
        host = std::make_unique<VstHost>();
        ASSERT_TRUE(host->load(module.path().c_str())) << host->error();
        host->open();
        host->setSampleRate(44100.0f);
        host->setBlockSize(512);
        host->resume();
    }
    void TearDown() override { host.reset(); }

    // A second instance from the same module.
    std::unique_ptr<VstHost> another() {
        auto second = std::make_unique<VstHost>();
        EXPECT_TRUE(second->load(module.path().c_str())) << second->error();
        second->open();
        return second;
    }

    ModuleCopy module;
    std::unique_ptr<VstHost> host;
};
