// Draws into a bitmap's 32-bit pixels: lines, rectangles, ellipses, polygons, flood fill,
// bitmaps and text, all clipped. Coordinates given to it are moved by the context's offset (a
// container sets it so that its views draw in their own coordinates) before they reach pixels.
// Shapes are drawn aliased unless the draw mode asks for anti-aliasing; text is always smoothed.
#pragma once

#include <cstdint>

#include "gui/GuiTypes.h"
#include "gui/PixelBuffer.h"

class CBitmap;
class CFrame;

enum CDrawMode : int { kAliasing = 0, kAntialias = 1 };

class CDrawContext {
public:
    // Draws into `target` (remembered while the context lives). The frame, when given, answers
    // the mouse queries of tracking loops.
    CDrawContext(CFrame* frame, CBitmap* target);
    virtual ~CDrawContext();
    CDrawContext(const CDrawContext&) = delete;
    CDrawContext& operator=(const CDrawContext&) = delete;

    CFrame* getFrame() const { return frame_; }
    CBitmap* getTarget() const { return target_; }

    // ---- State ----
    void setFrameColor(const CColor& color) { frameColor_ = color; }
    CColor getFrameColor() const { return frameColor_; }
    void setFillColor(const CColor& color) { fillColor_ = color; }
    CColor getFillColor() const { return fillColor_; }
    void setFontColor(const CColor& color) { fontColor_ = color; }
    CColor getFontColor() const { return fontColor_; }
    void setLineWidth(int width) { lineWidth_ = width < 1 ? 1 : width; }
    int getLineWidth() const { return lineWidth_; }
    void setDrawMode(CDrawMode mode) { drawMode_ = mode; }
    CDrawMode getDrawMode() const { return drawMode_; }
    // One of the standard fonts (CFont) in a face (CTxtFace); the size is the font number's.
    void setFont(int font, int size = 0, int style = kNormalFace);
    int getFont() const { return font_; }
    int getFontStyle() const { return fontStyle_; }

    void setOffset(const CPoint& offset) { offset_ = offset; }
    CPoint getOffset() const { return offset_; }
    // The clip rectangle, in drawing coordinates; always within the target.
    void setClipRect(const CRect& clip);
    CRect& getClipRect(CRect& clip) const;
    void resetClipRect();

    // ---- Shapes ----
    void moveTo(const CPoint& point) { pen_ = point; }
    void lineTo(const CPoint& point);
    void drawLine(const CPoint& from, const CPoint& to);
    void drawPolyline(const CPoint* points, int count);
    void drawRect(const CRect& rect, CDrawStyle style = kDrawStroked);
    void fillRect(const CRect& rect);
    void drawEllipse(const CRect& rect, CDrawStyle style = kDrawStroked);
    void fillEllipse(const CRect& rect) { drawEllipse(rect, kDrawFilled); }
    void drawPolygon(const CPoint* points, int count, CDrawStyle style = kDrawStroked);
    void fillPolygon(const CPoint* points, int count) { drawPolygon(points, count, kDrawFilled); }
    // Replaces the 4-connected area of the colour under `start` with the fill colour.
    void floodFill(const CPoint& start);
    void drawPoint(const CPoint& point, const CColor& color);
    CColor getPoint(const CPoint& point) const;

    // ---- Text ----
    // Draws `text` in the font colour, vertically centred and aligned horizontally in `rect`,
    // clipped to it; `opaque` first fills the rectangle with the fill colour.
    void drawString(const char* text, const CRect& rect, bool opaque = false,
                    CHoriTxtAlign align = kCenterText);
    int getStringWidth(const char* text) const;

    // ---- Bitmaps ----
    enum ImageMode { kCopy, kBlendAlpha, kSkipTransparent };
    // Draws `image` from its pixel `offset` into `dest`; used by CBitmap's drawing calls.
    void drawImage(const CBitmap& image, const CRect& dest, const CPoint& offset, ImageMode mode,
                   std::uint8_t alpha);

    // ---- Mouse state for tracking loops (in drawing coordinates) ----
    long getMouseButtons();
    CPoint& getMouseLocation(CPoint& point);
    // After a left press at `where`: waits, idling the frame, until the pointer moves more than
    // kDragDistance pixels from it (true) or the button is released (false).
    bool detectDrag(const CPoint& where);
    // After a press at `where` has been released: waits up to the double-click time for a second
    // left press within kDragDistance pixels (true).
    bool waitDoubleClick(const CPoint& where);
    static constexpr int kDragDistance = 2;
    static constexpr unsigned kDoubleClickMs = 500;

protected:
    PixelBuffer buffer() const;

private:
    CFrame* frame_;
    CBitmap* target_;
    CPoint offset_;
    CRect clip_;  // in target pixels
    CPoint pen_;
    CColor frameColor_ = kBlackCColor;
    CColor fillColor_ = kWhiteCColor;
    CColor fontColor_ = kBlackCColor;
    int lineWidth_ = 1;
    CDrawMode drawMode_ = kAliasing;
    int font_ = kNormalFont;
    int fontStyle_ = kNormalFace;
};
