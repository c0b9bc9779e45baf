// The controller-list screen: an about screen whose view lists the MIDI controller map.
#pragma once

#include "editor/CAboutScreen.h"

class PAboutScreen : public CAboutScreen {
public:
    PAboutScreen(CControlListener* listener, long tag, CBitmap* background, const CRect& display,
                 const CRect& clickArea);

    bool isTypeOf(const char* type) const override;
};
