// The base of the window's four pages. A page keeps the plug-in and the editor, writes parameters
// the way a person's gesture must reach the host (see setParameterNotified), and draws its static
// artwork once into a page image that every redraw copies from.
#pragma once

#include "editor/CEditor.h"

class CBitmap;
class Orin;
class OrinEditor;
class PPreset;
class PProgram;

class PEditor : public CEditor {
public:
    // `size` is in the page area's coordinates (pages start at 0, 0).
    PEditor(const CRect& size, CFrame* frame, Orin& plugin, OrinEditor& editor,
            CBitmap* background);
    ~PEditor() override;

    Orin& plugin() const { return plugin_; }
    PProgram& currentProgram() const;
    PPreset& currentEditPreset() const;

    // A value the person set, reported to the host (OrinEditor::setParameterNotified).
    void setParameterNotified(int index, float value);
    // The parameter a control of the page sets, -1 for none. Controls bound to a value object
    // answer that value's parameter; pages add their own controls.
    virtual int parameterOf(CControl* control) const;
    // A control bound to a value object sets that value (its parameter, and every other control
    // showing it); other controls' changes go on to the editor.
    void valueChanged(CControl* control) override;
    // A gesture on a control with a parameter reaches the host as begin and end edit of that
    // parameter; other controls' gestures go on to the editor.
    void controlBeginEdit(CControl* control) override;
    void controlEndEdit(CControl* control) override;

    // The page's own work on each idle pass while it shows.
    virtual void pageIdle() {}
    // Takes the current parameter values into the page's controls.
    virtual void updateControls() {}
    // The page is being replaced: drop what only makes sense while it shows (an open text
    // field, a pending selection). The page itself lives as long as the window.
    virtual void pageHidden() {}
    // The layer (0 Base, 1 Top, 2 Filter) a page about one layer shows; -1 for other pages.
    virtual int selectedLayer() const { return -1; }
    virtual void selectLayer(int) {}

    bool attached(CView* parent) override;
    bool removed(CView* parent) override;
    void drawBackgroundRect(CDrawContext* context, const CRect& updateRect) override;
    bool isTypeOf(const char* type) const override;

protected:
    // Paints the page's static artwork over its background into the page image.
    virtual void drawPageImage(CDrawContext*) {}
    // The page's title in the heading of its panel.
    void drawPageTitle(CDrawContext* context, const char* title) const;

    Orin& plugin_;
    OrinEditor& editor_;

private:
    CBitmap* pageImage_ = nullptr;
};
