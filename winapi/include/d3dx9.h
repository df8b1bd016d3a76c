#pragma once
// The D3DX 9 helpers for sprites and image files: one sprite object drawing textured rectangles,
// image information, textures and surfaces from BMP, PNG and JPEG files (read with SDL2_image).
// Left out: sprite transforms, sorting and billboards, mip chains, palettes, and texture filtering:
// images are copied texel for texel and scaled, where asked, by taking the nearest texel.

#include "d3d9.h"

#define D3DX_DEFAULT ((UINT)-1)
#define D3DX_DEFAULT_NONPOW2 ((UINT)-2)
#define D3DX_FROM_FILE ((UINT)-3)

#define D3DX_FILTER_NONE 0x00000001
#define D3DX_FILTER_POINT 0x00000002
#define D3DX_FILTER_LINEAR 0x00000003
#define D3DX_FILTER_TRIANGLE 0x00000004
#define D3DX_FILTER_BOX 0x00000005

#define D3DXSPRITE_DONOTSAVESTATE 0x00000001
#define D3DXSPRITE_DONOTMODIFY_RENDERSTATE 0x00000002
#define D3DXSPRITE_OBJECTSPACE 0x00000004
#define D3DXSPRITE_BILLBOARD 0x00000008
#define D3DXSPRITE_ALPHABLEND 0x00000010
#define D3DXSPRITE_SORT_TEXTURE 0x00000020
#define D3DXSPRITE_SORT_DEPTH_FRONTTOBACK 0x00000040
#define D3DXSPRITE_SORT_DEPTH_BACKTOFRONT 0x00000080

enum _D3DXERR {
    D3DXERR_CANNOTMODIFYINDEXBUFFER = MAKE_D3DHRESULT(2900),
    D3DXERR_INVALIDMESH = MAKE_D3DHRESULT(2901),
    D3DXERR_CANNOTATTRSORT = MAKE_D3DHRESULT(2902),
    D3DXERR_SKINNINGNOTSUPPORTED = MAKE_D3DHRESULT(2903),
    D3DXERR_TOOMANYINFLUENCES = MAKE_D3DHRESULT(2904),
    D3DXERR_INVALIDDATA = MAKE_D3DHRESULT(2905),
    D3DXERR_LOADEDMESHASNODATA = MAKE_D3DHRESULT(2906),
    D3DXERR_DUPLICATENAMEDFRAGMENT = MAKE_D3DHRESULT(2907),
    D3DXERR_CANNOTREMOVELASTITEM = MAKE_D3DHRESULT(2908),
};

struct D3DXVECTOR3 {
    D3DXVECTOR3() = default;
    D3DXVECTOR3(FLOAT x_, FLOAT y_, FLOAT z_) : x(x_), y(y_), z(z_) {}
    FLOAT x;
    FLOAT y;
    FLOAT z;
};

typedef enum _D3DXIMAGE_FILEFORMAT {
    D3DXIFF_BMP = 0,
    D3DXIFF_JPG = 1,
    D3DXIFF_TGA = 2,
    D3DXIFF_PNG = 3,
    D3DXIFF_DDS = 4,
    D3DXIFF_PPM = 5,
    D3DXIFF_DIB = 6,
    D3DXIFF_FORCE_DWORD = 0x7fffffff
} D3DXIMAGE_FILEFORMAT;

typedef struct _D3DXIMAGE_INFO {
    UINT Width;
    UINT Height;
    UINT Depth;
    UINT MipLevels;
    D3DFORMAT Format;
    D3DRESOURCETYPE ResourceType;
    D3DXIMAGE_FILEFORMAT ImageFileFormat;
} D3DXIMAGE_INFO;

typedef struct tagPALETTEENTRY {
    BYTE peRed;
    BYTE peGreen;
    BYTE peBlue;
    BYTE peFlags;
} PALETTEENTRY;

// Draws textured rectangles into the device's back buffer. Draw queues, End (or Flush) draws the
// queue in order, and only inside the device's BeginScene/EndScene. Positions are rounded to the
// nearest pixel; the colour multiplies each texel (0xFFFFFFFF leaves it as it is). With
// D3DXSPRITE_ALPHABLEND, texels blend by their alpha; without it they are copied as they are.
struct ID3DXSprite : IUnknown {
    virtual HRESULT GetDevice(IDirect3DDevice9** device) = 0;
    virtual HRESULT Begin(DWORD flags) = 0;
    // A null texture draws nothing and gives D3DERR_INVALIDCALL.
    virtual HRESULT Draw(IDirect3DTexture9* texture, const RECT* sourceRect,
                         const D3DXVECTOR3* center, const D3DXVECTOR3* position,
                         D3DCOLOR color) = 0;
    virtual HRESULT Flush() = 0;
    virtual HRESULT End() = 0;
    virtual HRESULT OnLostDevice() = 0;
    virtual HRESULT OnResetDevice() = 0;

protected:
    ~ID3DXSprite() = default;
};
typedef ID3DXSprite* LPD3DXSPRITE;

// The sprite holds a reference to the device until it is released.
HRESULT WINAPI D3DXCreateSprite(IDirect3DDevice9* device, ID3DXSprite** sprite);

// A file that cannot be opened gives D3DERR_NOTFOUND; one that is not a BMP, PNG or JPEG image,
// or cannot be decoded, D3DXERR_INVALIDDATA.
HRESULT WINAPI D3DXGetImageInfoFromFileA(LPCSTR fileName, D3DXIMAGE_INFO* info);

// Width and height 0 or D3DX_DEFAULT take the image's; other sizes scale it. D3DFMT_UNKNOWN gives
// A8R8G8B8 when the image has alpha or a colour key is given, else X8R8G8B8. Texels exactly equal
// to a non-zero colour key become transparent black (0x00000000). One level is made, whatever
// mipLevels asks for.
HRESULT WINAPI D3DXCreateTextureFromFileExA(IDirect3DDevice9* device, LPCSTR fileName, UINT width,
                                            UINT height, UINT mipLevels, DWORD usage,
                                            D3DFORMAT format, D3DPOOL pool, DWORD filter,
                                            DWORD mipFilter, D3DCOLOR colorKey,
                                            D3DXIMAGE_INFO* sourceInfo, PALETTEENTRY* palette,
                                            IDirect3DTexture9** texture);

// Copies the source rectangle of the image (whole image when null) into the destination
// rectangle of the surface (whole surface when null), scaling to fit; the colour key as above.
HRESULT WINAPI D3DXLoadSurfaceFromFileA(IDirect3DSurface9* destSurface,
                                        const PALETTEENTRY* destPalette, const RECT* destRect,
                                        LPCSTR sourceFile, const RECT* sourceRect, DWORD filter,
                                        D3DCOLOR colorKey, D3DXIMAGE_INFO* sourceInfo);

#define D3DXGetImageInfoFromFile D3DXGetImageInfoFromFileA
#define D3DXCreateTextureFromFileEx D3DXCreateTextureFromFileExA
#define D3DXLoadSurfaceFromFile D3DXLoadSurfaceFromFileA
