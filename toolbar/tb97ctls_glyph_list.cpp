#include "TB97Ctls.h"

#include <algorithm>
#include <stdexcept>

#include "tb97ctls_glyph_win.h"

namespace sorv::toolbar {
namespace {

std::unique_ptr<TGlyphCache>& CacheInstance() {
    static std::unique_ptr<TGlyphCache> cache;
    return cache;
}

}  // namespace

TGlyphList::TGlyphList(int width, int height)
    : size_{width, height}, list_(ImageList_Create(width, height, ILC_COLOR24 | ILC_MASK, 0, 4)) {
    if (!list_) throw std::runtime_error("ImageList_Create failed");
}

int TGlyphList::Add(const MaskedImage& image) {
    if (image.image.width != size_.cx || image.image.height != size_.cy || image.transparent.width != size_.cx ||
        image.transparent.height != size_.cy) {
        throw std::logic_error("Taille d'image incorrecte");
    }
    // Masked drawing ORs the image over the holes the mask cuts: the
    // transparent pixels must be black.
    PixelImage colours = image.image;
    for (std::size_t i = 0; i < colours.pixels.size(); ++i) {
        if (image.transparent.bits[i]) colours.pixels[i] = kBlack;
    }
    const tk::BitmapHandle bitmap = MakeColourBitmap(colours);
    const tk::BitmapHandle mask = MakeMaskBitmap(image.transparent);
    if (!bitmap || !mask) throw std::logic_error("Ne peut remplacer l'image");
    // The list grows first, so that a refusal leaves slots and list agreeing.
    if (slots_.Count() == slots_.Capacity() && !ImageList_SetImageCount(Handle(), slots_.Capacity() + 1)) {
        throw std::logic_error("Ne peut remplacer l'image");
    }
    const int slot = slots_.Allocate().slot;
    if (!ImageList_Replace(Handle(), slot, bitmap.get(), mask.get())) {
        slots_.Free(slot);
        throw std::logic_error("Ne peut remplacer l'image");
    }
    return slot;
}

void TGlyphList::Delete(int slot) { slots_.Free(slot); }

void TGlyphList::Draw(HDC dc, int slot, Point at) const {
    ImageList_DrawEx(Handle(), slot, dc, at.x, at.y, 0, 0, CLR_NONE, CLR_NONE, ILD_TRANSPARENT);
}

TGlyphCache& TGlyphCache::Instance() {
    auto& cache = CacheInstance();
    if (!cache) cache = std::make_unique<TGlyphCache>();
    return *cache;
}

bool TGlyphCache::Exists() { return CacheInstance() != nullptr; }

void TGlyphCache::FreeIfEmpty() {
    auto& cache = CacheInstance();
    if (cache && cache->Empty()) cache.reset();
}

TGlyphList& TGlyphCache::AcquireList(Size size) {
    for (auto it = lists_.rbegin(); it != lists_.rend(); ++it) {
        if ((*it)->ImageSize() == size) return **it;
    }
    lists_.push_back(std::make_unique<TGlyphList>(size.cx, size.cy));
    return *lists_.back();
}

void TGlyphCache::ReleaseList(TGlyphList* list) {
    if (!list || list->Count() != 0) return;
    std::erase_if(lists_, [list](const std::unique_ptr<TGlyphList>& held) { return held.get() == list; });
}

}  // namespace sorv::toolbar
