// Paged text with bold and picture markup, laid out in a fixed rectangle (the help page).
#pragma once

#include <SDL.h>

#include <cstdint>
#include <string>

class TextPage {
  public:
    static constexpr int kMaxPages = 100;

    void setArea(int left, int top, int width, int height);
    void setBackground(SDL_Surface* image);
    void setNormalFont(SDL_Surface* image);
    void setBoldFont(SDL_Surface* image);
    // Folder (ending in '/') that relative picture paths start from; the program folder until set.
    void setPictureFolder(const std::string& folder);
    void useFont(int slot);
    void setText(const char* text);  // stores and paginates; currentPage is kept
    void nextPage();
    void previousPage();
    void drawPage();  // background, then the current page; the caller presents the screen
    const char* pageStart(int page) const {
        return page >= 0 && page <= lastPage ? pageStart_[page] : nullptr;
    }

    std::int16_t currentPage = 0;
    std::int16_t lastPage = 0;

    // The rest of the state belongs to the layout (text_page.cpp).
  private:
    friend struct TextPageLayout;
    SDL_Surface* background_ = nullptr;
    SDL_Surface* fonts_[2] = {nullptr, nullptr};
    const char* text_ = nullptr;
    std::string pictureFolder_;
    const char* pageStart_[kMaxPages] = {};
    std::int16_t left_ = 0, top_ = 0, width_ = 0, height_ = 0;
    std::int32_t fontSlot_ = 0;
    std::int32_t glyphEdges_[256] = {};  // marker columns of fonts_[fontSlot_]
    std::int32_t glyphEdgeCount_ = 0;
};

extern TextPage helpPage;
