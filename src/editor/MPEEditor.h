// A graphical editor of one multi-point envelope. Time runs to the right (zoom and offset choose
// the part shown), level upwards on a cube-root axis so that quiet levels get room. Each point has
// a handle: dragging it moves the point (Control: horizontally only, Alt: vertically only, Shift:
// a fifth of the pointer's movement from where Shift was first held); dragging between two
// handles bends the segment (Control first straightens it); in free mode a double click on a
// handle deletes the point and a double click between handles inserts one. The wheel changes the
// selected point's level (Control: the time of the segment leading to it), the arrow keys select
// points.
//
// Two modes: free (0), where the sustain hold is shown as a gap after the sustain point, and
// ADSR (1), where point 0 stays put, point 1 moves only in time and double clicks do nothing.
// Every edit tells the listener; a drag, a curve drag and a wheel step are each one gesture
// (begin/end edit), and gesture() tells which quantities it moves.
#pragma once

#include <cstdint>
#include <vector>

#include "engine/MultiPointEnvelope.h"
#include "gui/CControl.h"

class COffscreenContext;

// How an envelope is drawn.
struct MpeColours {
    int lineWidth = 1;
    int handleShape = 1;  // 1 square, 0 no handles, anything else an ellipse
    CColor text;          // the numbers in the handles
    CColor handleFill;
    CColor handleFrame;
    CColor selectedFrame;
    CColor curve;
    CColor shadow;
    bool hasShadow = true;
};

class MPEEditor : public CControl {
public:
    enum Mode { kFreeMode = 0, kAdsrMode = 1 };
    static constexpr unsigned kDoubleClickMs = 300;

    // The quantities the running gesture changes (indices of points, -1 for none).
    struct Gesture {
        int timePoint = -1;   // the point whose time (segment length) changes
        int levelPoint = -1;  // the point whose level changes
        int bendPoint = -1;   // the point whose segment bend changes
    };

    MPEEditor(const CRect& size, CControlListener* listener, long tag, CBitmap* background,
              MultiPointEnvelope* envelope);
    ~MPEEditor() override;

    virtual void setEnvelope(MultiPointEnvelope* envelope);
    MultiPointEnvelope* getEnvelope() const { return envelope_; }
    void setZoom(double zoom);
    double getZoom() const { return zoom_; }
    void setOffset(double offset);
    double getOffset() const { return offset_; }
    // The inverse of the time span the width shows: 1 / s, s = ((N - 1) - 0.01) zoom^3 + 0.01
    // within [0.01, N - 1]; 100 without an envelope.
    double timeScale() const;
    double timeScale(const MultiPointEnvelope& envelope) const;
    void setMode(int mode);
    int getMode() const { return mode_; }
    // ADSR mode: the longest time of the points up to index 2, and after the sustain point.
    void setTimeLimits(double attackDecay, double release);
    // Curves and handles in the layer's colours (`colour` its normal, `lit` its bright tone).
    virtual void setLayerColour(const CColor& colour, const CColor& lit);
    MpeColours& colours() { return colours_; }
    // Which part of the background bitmap lies under the control (its top left corner).
    void setBackgroundOffset(const CPoint& offset) { backgroundOffset_ = offset; }

    int selectedPoint() const { return selected_; }
    int draggedPoint() const { return dragged_; }
    const Gesture& gesture() const { return gesture_; }

    // Geometry in control coordinates (0, 0 at the control's top left).
    int handleHalfSize() const { return handleHalf_; }
    int sustainGap() const { return gap_; }
    // The handle squares of `envelope` (count() rectangles, the sustain one widened by the gap).
    void layoutHandles(const MultiPointEnvelope& envelope, CRect* rects) const;
    // Lays out the edited envelope's handles (handleRect, handleCentre read them).
    void layoutHandles();
    const CRect& handleRect(int point) const { return handles_[point]; }
    CPoint handleCentre(int point) const;
    // The point whose handle square holds `where`, searched from the last; -1 for none.
    int hitPoint(const CPoint& where) const;
    // Level for a pointer at height y (cube law), height of the centre of a handle at `level`.
    double levelAt(CCoord y) const;
    CCoord yOfLevel(double level) const;
    // Time position for a pointer at x, for a point after the sustain point or not.
    double timeAt(CCoord x, bool afterSustain) const;

    // The texts of the values shown while a point is dragged.
    virtual void levelText(double level, char* text) const;
    virtual void timeText(double time, char* text) const;
    // The clock that tells double clicks apart (milliseconds); the platform's tick count unless
    // set.
    void setClock(std::uint32_t (*clock)()) { clock_ = clock; }

    void draw(CDrawContext* context) override;
    void mouse(CDrawContext* context, CPoint& where, long buttons = -1) override;
    bool onWheel(CDrawContext* context, const CPoint& where, float distance) override;
    long onKeyDown(VstKeyCode& keyCode) override;
    bool attached(CView* parent) override;
    bool removed(CView* parent) override;
    bool isTypeOf(const char* type) const override;

protected:
    // The control's picture into `context` (control coordinates).
    virtual void drawContents(CDrawContext* context);
    void drawBackground(CDrawContext* context);
    void drawCurve(CDrawContext* context, const MultiPointEnvelope& envelope, bool withHandles,
                   const MpeColours& colours);
    void drawValues(CDrawContext* context);
    // A press at `where` (control coordinates) on the edited envelope.
    void editAt(CDrawContext* context, const CPoint& where, long buttons);
    // Fills an envelope without points with the default ones.
    void ensurePoints();
    // The envelope changed: tell the listener.
    void changed();

private:
    void dragPoint(CDrawContext* context, int point, const CPoint& press);
    void dragCurve(CDrawContext* context, const CPoint& press, long buttons);
    void insertAt(const CPoint& where);
    bool canDelete(int point) const;
    CPoint localMouse(CDrawContext* context) const;
    void idle();

    MultiPointEnvelope* envelope_;
    double zoom_ = 3.0;
    double offset_ = 0.0;
    int selected_ = 0;
    int dragged_ = -1;
    Gesture gesture_;
    std::uint32_t lastPress_ = 0;
    bool hasLastPress_ = false;
    int mode_ = kFreeMode;
    double attackDecayLimit_ = 1.0;
    double releaseLimit_ = 1.0;
    int gap_ = 0;
    int handleHalf_ = 8;
    MpeColours colours_;
    CPoint backgroundOffset_;
    CRect handles_[MultiPointEnvelope::kMaxPoints];
    COffscreenContext* offscreen_ = nullptr;
    std::vector<CPoint> polyline_;
    std::uint32_t (*clock_)() = nullptr;
};
