#pragma once
// TGlyphList: an image list of one image size whose slots buttons share; a
// slot freed by one button is reused by the next image, the others never
// move. TGlyphCache: the process's lists, one per image size, each freed when
// its last image goes.
#include <windows.h>
#include <commctrl.h>

#include <memory>
#include <vector>

#include "geometry.h"
#include "glyph_pixels.h"
#include "glyph_slots.h"
#include "handles.h"

namespace sorv {

class TGlyphList {
public:
    TGlyphList(int width, int height);
    TGlyphList(const TGlyphList&) = delete;
    TGlyphList& operator=(const TGlyphList&) = delete;

    Size ImageSize() const { return size_; }
    HIMAGELIST Handle() const { return list_.get(); }
    // Puts the image in the lowest free slot and returns it. The image must be
    // of the list's size ("Taille d'image incorrecte"); a list that refuses it
    // raises "Ne peut remplacer l'image".
    int Add(const tb97::MaskedImage& image);
    // Frees a used slot (its image stays until the slot is reused).
    void Delete(int slot);
    int Count() const { return slots_.Count(); }
    // Draws a slot's image with its transparency.
    void Draw(HDC dc, int slot, Point at) const;

private:
    Size size_;
    tk::ImageListHandle list_;
    tb97::SlotSet slots_;
};

class TGlyphCache {
public:
    // The process's cache, made on first use.
    static TGlyphCache& Instance();
    static bool Exists();
    // Frees the cache when it holds no list.
    static void FreeIfEmpty();

    // The list of that image size, made if there is none.
    TGlyphList& AcquireList(Size size);
    // Frees a list that holds no image any more.
    void ReleaseList(TGlyphList* list);
    bool Empty() const { return lists_.empty(); }
    std::size_t ListCount() const { return lists_.size(); }

private:
    std::vector<std::unique_ptr<TGlyphList>> lists_;
};

}  // namespace sorv
