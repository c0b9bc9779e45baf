#include "Gallery.h"

#include <cmath>
#include <cstring>

#include "gui/CBitmap.h"
#include "gui/CDrawContext.h"
#include "gui/CKickButton.h"
#include "gui/CKnob.h"
#include "gui/COnOffButton.h"
#include "gui/COptionMenu.h"
#include "gui/COptionMenuScheme.h"
#include "gui/CParamDisplay.h"
#include "gui/CSplashScreen.h"
#include "gui/CTextEdit.h"

using namespace gallery;

namespace {

constexpr long kBackgroundId = 9000, kKnobStripId = 9001, kOnOffId = 9002, kKickId = 9003,
               kSplashId = 9004;
constexpr int kKnobImages = 31;

// The drawing primitives, for looking at.
class ShapesView : public CView {
public:
    explicit ShapesView(const CRect& r) : CView(r) {}
    void draw(CDrawContext* c) override {
        const int x = size.left, y = size.top;
        c->setFrameColor({255, 170, 60, 255});
        for (int w = 1; w <= 4; ++w) {
            c->setLineWidth(w);
            c->drawLine(CPoint(x + 10, y + 10 + w * 14), CPoint(x + 90, y + 4 + w * 20));
        }
        c->setLineWidth(1);
        c->setFillColor({60, 140, 220, 255});
        c->drawRect(CRect(x + 110, y + 20, x + 170, y + 90), kDrawFilledAndStroked);
        c->drawEllipse(CRect(x + 190, y + 20, x + 270, y + 90), kDrawFilled);
        c->setDrawMode(kAntialias);
        c->setFillColor({90, 200, 120, 255});
        c->drawEllipse(CRect(x + 290, y + 20, x + 370, y + 90), kDrawFilledAndStroked);
        CPoint star[5];
        for (int i = 0; i < 5; ++i) {
            double a = i * 4 * 3.14159265358979 / 5;
            star[i] = CPoint(x + 430 + int(std::lround(36 * std::sin(a))),
                             y + 56 - int(std::lround(36 * std::cos(a))));
        }
        c->setFillColor({220, 80, 90, 255});
        c->drawPolygon(star, 5, kDrawFilled);
        c->setDrawMode(kAliasing);
        // An outline closed by lines, then flood-filled from inside.
        c->setFrameColor(kWhiteCColor);
        CPoint box[4] = {
            {x + 500, y + 20}, {x + 600, y + 30}, {x + 590, y + 95}, {x + 510, y + 85}};
        c->drawPolygon(box, 4, kDrawStroked);
        c->setFillColor({160, 90, 200, 255});
        c->floodFill(CPoint(x + 550, y + 55));
        setDirty(false);
    }
};

class FontsView : public CView {
public:
    explicit FontsView(const CRect& r) : CView(r) {}
    void draw(CDrawContext* c) override {
        c->setFontColor({210, 218, 230, 255});
        int y = size.top;
        for (int font = 0; font < kFontCount; ++font) {
            c->setFont(font);
            char line[64];
            std::snprintf(line, sizeof line, "Font %d: The quick brown fox 0123456789", font);
            int h = 14 + font % 2;
            c->drawString(line, CRect(size.left, y, size.left + 480, y + h), false, kLeftText);
            y += h;
        }
        c->setFrameColor({255, 170, 60, 255});
        c->drawRect(kSplashArea);
        c->setFont(kNormalFont);
        c->drawString("Show splash", kSplashArea);
        setDirty(false);
    }
};

// The default look, counting the entries it draws.
class CountingScheme : public COptionMenuScheme {
public:
    explicit CountingScheme(int& drawn) : drawn_(drawn) {}
    void drawItem(const char* text, long id, long state, CDrawContext* c, const CRect& r) override {
        ++drawn_;
        COptionMenuScheme::drawItem(text, id, state, c, r);
    }

private:
    int& drawn_;
};

// A bitmap from the resources, released once the statement that hands it to a view is over.
struct Resource {
    explicit Resource(long id) : bitmap(new CBitmap(id)) {}
    ~Resource() { bitmap->forget(); }
    operator CBitmap*() const { return bitmap; }
    CBitmap* bitmap;
};

// The small font and dark colours of the gallery's text controls.
template <typename View>
View* styled(View* view) {
    view->setFont(kNormalFontSmall);
    view->setBackColor({28, 32, 40, 255});
    view->setFrameColor({90, 102, 120, 255});
    return view;
}

void knobText(float value, char* text) {
    std::snprintf(text, 256, "Knob %d%%", int(std::lround(value * 100)));
}

}  // namespace

CPoint gallery::menuEntry(const CPoint& menuTopLeft, int index, int separatorsAbove) {
    COptionMenuScheme* scheme = new COptionMenuScheme;
    CPoint item, separator;
    scheme->getItemSize("x", 0, nullptr, item);
    scheme->getItemSize("-", COptionMenuScheme::kSeparator, nullptr, separator);
    scheme->forget();
    const int border = 1;
    return CPoint(menuTopLeft.h + 30, menuTopLeft.v + border + item.v * (index - separatorsAbove) +
                                          separator.v * separatorsAbove + item.v / 2);
}

GalleryEditor::GalleryEditor() : AEffGUIEditor(nullptr) {
    setRect(0, 0, 735, 449);
}

bool GalleryEditor::open(void* parentWindow) {
    AEffGUIEditor::open(parentWindow);
    frame_ = new CFrame(frameRect(), parentWindow, this);
    frame_->setBackground(Resource(kBackgroundId));
    auto add = [this](auto* view) {
        frame_->addView(view);
        return view;
    };

    const Resource strip(kKnobStripId);
    stripKnob = add(new CKnob(kStripKnobRect, this, kStripKnob, kKnobImages,
                              strip.bitmap->getHeight() / kKnobImages, strip));
    stripKnob->setWheelInc(0.05f);
    drawnKnob = add(new CKnob(kDrawnKnobRect, this, kDrawnKnob, nullptr));
    drawnKnob->setColorHandle({255, 170, 60, 255});
    display = add(styled(new CParamDisplay(kDisplayRect)));
    display->setStringConvert(knobText);
    onOff = add(new COnOffButton(kOnOffRect, this, kOnOff, Resource(kOnOffId)));
    kick = add(new CKickButton(kKickRect, this, kKick, Resource(kKickId)));

    menu = add(styled(new COptionMenu(kMenuRect, this, kMenu)));
    for (const char* entry : {"Sine", "Square", "-", "Saw"}) menu->addEntry(entry);
    submenu = new COptionMenu(CRect(), nullptr, 50);
    submenu->addEntry("Noise");
    submenu->addEntry("Steps");
    submenu->checkEntry(1, true);
    CountingScheme* scheme = new CountingScheme(submenuEntriesDrawn);
    submenu->setScheme(scheme);
    scheme->forget();
    menu->addEntry(submenu, "More");
    submenu->forget();
    menu->setCurrent(0);
    menu->checkEntryAlone(0);

    longMenu = add(styled(new COptionMenu(kLongMenuRect, this, kLongMenu)));
    for (int i = 1; i <= kLongMenuEntries; ++i) {
        char entry[32];
        std::snprintf(entry, sizeof entry, "Long list entry %d", i);
        longMenu->addEntry(entry);
    }
    longMenu->setCurrent(0);
    text = add(styled(new CTextEdit(kTextRect, this, kText, "Hello")));
    text->setHoriAlign(kLeftText);

    add(new ShapesView(CRect(16, 178, 719, 290)));
    add(new FontsView(CRect(24, 318, 719, 433)));
    splash =
        add(new CSplashScreen(kSplashArea, this, kSplash, Resource(kSplashId), kSplashDisplay));
    frame_->idle();
    return true;
}

void GalleryEditor::close() {
    AEffGUIEditor::close();
    stripKnob = drawnKnob = nullptr;
    menu = submenu = longMenu = nullptr;
    onOff = nullptr, kick = nullptr, text = nullptr, display = nullptr, splash = nullptr;
}

void GalleryEditor::beginEdit(long tag) {
    editing = tag;
    AEffGUIEditor::beginEdit(tag);
}

void GalleryEditor::endEdit(long tag) {
    editing = -1;
    AEffGUIEditor::endEdit(tag);
}

void GalleryEditor::doIdleStuff() {
    AEffGUIEditor::doIdleStuff();
    if (whileTracking) whileTracking();
}

void GalleryEditor::valueChanged(CControl* control) {
    long tag = control->getTag();
    lastValue[tag] = control->getValue();
    ++reports[tag];
    if (tag == kStripKnob && display) {
        display->setValue(control->getValue());
    }
    if (tag == kText) text->getText(lastText);
    if (tag == kMenu) menu->checkEntryAlone(menu->getCurrent());
}
