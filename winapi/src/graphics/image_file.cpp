#include "graphics/image_file.h"

#include "graphics/image_header.h"
#include "path/data_folder.h"

#include <SDL.h>
#include <SDL_image.h>
#include <algorithm>
#include <cstring>
#include <memory>
#include <vector>

namespace winapi::graphics {
namespace {

struct SurfaceDeleter {
    void operator()(SDL_Surface* surface) const { SDL_FreeSurface(surface); }
};
using SurfacePtr = std::unique_ptr<SDL_Surface, SurfaceDeleter>;

bool FileFormat(SDL_RWops* file, D3DXIMAGE_FILEFORMAT& format) {
    if (IMG_isBMP(file)) {
        format = D3DXIFF_BMP;
    } else if (IMG_isPNG(file)) {
        format = D3DXIFF_PNG;
    } else if (IMG_isJPG(file)) {
        format = D3DXIFF_JPG;
    } else {
        return false;
    }
    return true;
}

// The format the file's pixels have, in the platform's terms.
D3DFORMAT PixelFormat(const SDL_Surface& surface, bool hasAlpha) {
    switch (surface.format->format) {
    case SDL_PIXELFORMAT_BGR24:
    case SDL_PIXELFORMAT_RGB24:
        return D3DFMT_R8G8B8;
    case SDL_PIXELFORMAT_RGB565:
        return D3DFMT_R5G6B5;
    case SDL_PIXELFORMAT_RGB555:
        return D3DFMT_X1R5G5B5;
    case SDL_PIXELFORMAT_ARGB1555:
        return D3DFMT_A1R5G5B5;
    default:
        if (SDL_ISPIXELFORMAT_INDEXED(surface.format->format)) {
            return D3DFMT_P8;
        }
        return hasAlpha ? D3DFMT_A8R8G8B8 : D3DFMT_X8R8G8B8;
    }
}

// Reads the start of the file for the header check and goes back to its start.
bool HeaderPlausible(SDL_RWops* file) {
    const Sint64 size = SDL_RWsize(file);
    if (size < 0) {
        return false;
    }
    std::vector<std::uint8_t> start(
        std::min(static_cast<std::uint64_t>(size), std::uint64_t{kImageHeaderBytes}));
    const std::size_t got = start.empty() ? 0 : SDL_RWread(file, start.data(), 1, start.size());
    if (SDL_RWseek(file, 0, RW_SEEK_SET) != 0) {
        return false;
    }
    start.resize(got);
    return ImageHeaderPlausible(start, static_cast<std::uint64_t>(size));
}

} // namespace

HRESULT DecodeImageFile(const char* path, DecodedImage& decoded) {
    SDL_RWops* file = SDL_RWFromFile(winapi::path::ForReading(path).c_str(), "rb");
    if (file == nullptr) {
        return D3DERR_NOTFOUND;
    }
    D3DXIMAGE_FILEFORMAT fileFormat{};
    if (!FileFormat(file, fileFormat) || !HeaderPlausible(file)) {
        SDL_RWclose(file);
        return D3DXERR_INVALIDDATA;
    }
    SurfacePtr loaded(IMG_Load_RW(file, 1));
    if (!loaded || loaded->w <= 0 || loaded->h <= 0 || loaded->w > kMaxImageSide ||
        loaded->h > kMaxImageSide) {
        return D3DXERR_INVALIDDATA;
    }
    bool hasAlpha =
        SDL_ISPIXELFORMAT_ALPHA(loaded->format->format) || SDL_HasColorKey(loaded.get());
    SurfacePtr argb(SDL_ConvertSurfaceFormat(loaded.get(), SDL_PIXELFORMAT_ARGB8888, 0));
    if (!argb || SDL_LockSurface(argb.get()) != 0) {
        return D3DXERR_INVALIDDATA;
    }
    Image image(argb->w, argb->h, false);
    for (int y = 0; y < argb->h; ++y) {
        const auto* row = static_cast<const std::uint8_t*>(argb->pixels) +
                          static_cast<std::ptrdiff_t>(y) * argb->pitch;
        std::memcpy(&image.At(0, y), row, static_cast<std::size_t>(argb->w) * 4);
    }
    SDL_UnlockSurface(argb.get());
    if (!hasAlpha) {
        for (auto& pixel : image.pixels) {
            pixel |= 0xFF000000u;
        }
    }
    decoded.info = D3DXIMAGE_INFO{static_cast<UINT>(image.width),
                                  static_cast<UINT>(image.height),
                                  1,
                                  1,
                                  PixelFormat(*loaded, hasAlpha),
                                  D3DRTYPE_TEXTURE,
                                  fileFormat};
    decoded.image = std::move(image);
    decoded.hasAlpha = hasAlpha;
    return D3D_OK;
}

bool SavePng(const Image& image, const std::string& path, std::string& error) {
    SurfacePtr surface(SDL_CreateRGBSurfaceWithFormatFrom(
        const_cast<std::uint32_t*>(image.pixels.data()), image.width, image.height, 32,
        image.width * 4, SDL_PIXELFORMAT_ARGB8888));
    if (!surface || IMG_SavePNG(surface.get(), path.c_str()) != 0) {
        error = SDL_GetError();
        return false;
    }
    return true;
}

} // namespace winapi::graphics
