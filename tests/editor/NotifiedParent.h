// A container that records the messages its children send it ("RemoveEdit", "Select Envelope").
#pragma once

#include <string>
#include <vector>

#include "gui/CViewContainer.h"

struct NotifiedParent : CViewContainer {
    using CViewContainer::CViewContainer;
    std::vector<std::string> messages;
    long notify(CView*, const char* message) override {
        messages.push_back(message);
        return kMessageNotified;
    }
};
