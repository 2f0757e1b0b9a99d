// Image lists: pictures of one size kept together by index, drawn transparently through their
// masks and blended with the highlight colour for the selected and focused looks. The Win32
// names, values and failure results.
//
// Rules worth knowing:
// - ILC_COLOR16 lists keep 5-6-5 colours and a mask; ILC_COLOR32 lists also keep the alpha of
//   icons that have one and blend by it. Without ILC_MASK every picture is opaque.
// - ILD_NORMAL shows transparent pixels in the list's background colour (CLR_NONE by default,
//   so they let the background through); ILD_TRANSPARENT always lets it through.
// - ILD_FOCUS and ILD_SELECTED mix the visible pixels with the highlight colour (COLOR_HIGHLIGHT,
//   or rgbFg of ImageList_DrawEx) by 25 and 50 percent, and only in lists with a mask.
#pragma once

#include "platform/base/WinTypes.h"
#include "platform/gdi/WinGdi.h"
#include "platform/gdi/WinIcon.h"

#define ILC_MASK 0x00000001
#define ILC_COLOR 0x00000000
#define ILC_COLORDDB 0x000000FE
#define ILC_COLOR4 0x00000004
#define ILC_COLOR8 0x00000008
#define ILC_COLOR16 0x00000010
#define ILC_COLOR24 0x00000018
#define ILC_COLOR32 0x00000020
#define ILC_PALETTE 0x00000800

#define ILD_NORMAL 0x00000000
#define ILD_TRANSPARENT 0x00000001
#define ILD_BLEND25 0x00000002
#define ILD_BLEND50 0x00000004
#define ILD_MASK 0x00000010
#define ILD_IMAGE 0x00000020
#define ILD_ROP 0x00000040
#define ILD_OVERLAYMASK 0x00000F00
#define ILD_SELECTED ILD_BLEND50
#define ILD_FOCUS ILD_BLEND25
#define ILD_BLEND ILD_BLEND50

#define CLR_HILIGHT CLR_DEFAULT

// NULL for a size that is not positive.
HIMAGELIST ImageList_Create(int cx, int cy, UINT flags, int initial, int grow);
BOOL ImageList_Destroy(HIMAGELIST himl);
int ImageList_GetImageCount(HIMAGELIST himl);
BOOL ImageList_GetIconSize(HIMAGELIST himl, int* cx, int* cy);
// Changes the size of the pictures; the list is emptied.
BOOL ImageList_SetIconSize(HIMAGELIST himl, int cx, int cy);
COLORREF ImageList_SetBkColor(HIMAGELIST himl, COLORREF color);
COLORREF ImageList_GetBkColor(HIMAGELIST himl);

// Adds as many pictures as the bitmap is wide (a strip of cx-wide pictures); the mask bitmap
// (white: transparent) may be NULL. The index of the first new picture, or -1.
int ImageList_Add(HIMAGELIST himl, HBITMAP image, HBITMAP mask);
// The same with the pixels of one colour transparent.
int ImageList_AddMasked(HIMAGELIST himl, HBITMAP image, COLORREF maskColor);
BOOL ImageList_Replace(HIMAGELIST himl, int i, HBITMAP image, HBITMAP mask);
// The icon scaled to the list's size replaces picture i, or is added with i = -1. The index, or -1.
int ImageList_ReplaceIcon(HIMAGELIST himl, int i, HICON icon);
int ImageList_AddIcon(HIMAGELIST himl, HICON icon);
// Picture i, or every picture with i = -1.
BOOL ImageList_Remove(HIMAGELIST himl, int i);
#define ImageList_RemoveAll(himl) ImageList_Remove(himl, -1)
// A new icon of picture i; the caller destroys it.
HICON ImageList_GetIcon(HIMAGELIST himl, int i, UINT flags);

BOOL ImageList_Draw(HIMAGELIST himl, int i, HDC hdc, int x, int y, UINT style);
// dx, dy 0: the list's size. rgbBk: the background of transparent pixels for ILD_NORMAL
// (CLR_DEFAULT: the list's own, CLR_NONE: none). rgbFg: the blend colour (CLR_DEFAULT: the
// highlight colour, CLR_NONE: no blend).
BOOL ImageList_DrawEx(HIMAGELIST himl, int i, HDC hdc, int x, int y, int dx, int dy, COLORREF rgbBk, COLORREF rgbFg,
                      UINT style);
