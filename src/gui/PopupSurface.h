// A borderless window above everything else, for menus that do not fit in the editor. It keeps
// a copy of what it shows so that it can paint itself again.
#pragma once

class CBitmap;

class PopupSurface {
public:
    PopupSurface() = default;
    PopupSurface(const PopupSurface&) = delete;
    PopupSurface& operator=(const PopupSurface&) = delete;
    virtual ~PopupSurface();

    // Shows `pixels`, an image of the popup's whole size.
    virtual void show(const CBitmap& pixels) = 0;

protected:
    // Copies `pixels` into the kept image (made or remade to its size) and answers it.
    CBitmap& keep(const CBitmap& pixels);
    // The image shown last; null before the first show.
    CBitmap* kept() const { return kept_; }

private:
    CBitmap* kept_ = nullptr;
};
