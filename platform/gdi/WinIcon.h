// Icons: loading from the program's "ICON" resources, drawing with their masks, and their
// handles, with the Win32 names, values and failure results.
//
// Rules worth knowing:
// - An icon resource holds pictures of several sizes (an .ico file). Loading picks the picture
//   nearest the size asked for and scales it when none matches (averaging when it shrinks,
//   repeating pixels when it grows, so 16-pixel art stays sharp on VGA screens).
// - The default size is the system's (SM_CXICON: 32, 64 on VGA screens). LoadIcon hands out
//   one shared handle per resource and size; DestroyIcon leaves shared icons alone.
// - Pictures with an alpha channel are blended by it; others are drawn through their mask
//   (the screen AND the mask, XOR the colours), as the handheld does.
#pragma once

#include "platform/base/WinTypes.h"

#define IMAGE_BITMAP 0
#define IMAGE_ICON 1
#define IMAGE_CURSOR 2

// LoadImage flags.
#define LR_DEFAULTCOLOR 0x00000000
#define LR_MONOCHROME 0x00000001
#define LR_LOADFROMFILE 0x00000010
#define LR_LOADTRANSPARENT 0x00000020
#define LR_DEFAULTSIZE 0x00000040
#define LR_CREATEDIBSECTION 0x00002000
#define LR_SHARED 0x00008000

// DrawIconEx flags.
#define DI_MASK 0x0001
#define DI_IMAGE 0x0002
#define DI_NORMAL 0x0003
#define DI_COMPAT 0x0004
#define DI_DEFAULTSIZE 0x0008

// System icons (none is built into this platform; LoadIcon reports them missing).
#define IDI_APPLICATION MAKEINTRESOURCE(32512)
#define IDI_HAND MAKEINTRESOURCE(32513)
#define IDI_QUESTION MAKEINTRESOURCE(32514)
#define IDI_EXCLAMATION MAKEINTRESOURCE(32515)
#define IDI_ASTERISK MAKEINTRESOURCE(32516)

struct ICONINFO {
  BOOL fIcon;
  DWORD xHotspot;
  DWORD yHotspot;
  HBITMAP hbmMask;
  HBITMAP hbmColor;
};
using PICONINFO = ICONINFO*;

// The resource of that id of type "ICON" at the system's icon size. NULL with
// ERROR_RESOURCE_NAME_NOT_FOUND when the program has no such icon (named resources are not
// supported), ERROR_INVALID_DATA when its data does not read as an icon.
HICON LoadIconW(HINSTANCE instance, LPCWSTR name);
#define LoadIcon LoadIconW
// IMAGE_ICON only (the program has no bitmap or cursor resources): width and height 0 mean the
// resource's own size, or the system size with LR_DEFAULTSIZE; LR_SHARED returns one handle per
// resource and size. Files cannot be loaded (LR_LOADFROMFILE: ERROR_NOT_SUPPORTED).
HANDLE LoadImageW(HINSTANCE instance, LPCWSTR name, UINT type, int width, int height, UINT flags);
#define LoadImage LoadImageW
// An icon of the colour bitmap's size from a colour and a monochrome mask (white: transparent);
// the bitmaps stay the caller's.
HICON CreateIconIndirect(PICONINFO info);
// New bitmaps of the icon's pictures (a 32-bit colour bitmap and a monochrome mask); the caller
// deletes them.
BOOL GetIconInfo(HICON icon, PICONINFO info);
HICON CopyIcon(HICON icon);
BOOL DestroyIcon(HICON icon);

// At the system icon size. FALSE with ERROR_INVALID_CURSOR_HANDLE for a handle that is not an
// icon, ERROR_INVALID_HANDLE for a bad DC.
BOOL DrawIcon(HDC hdc, int x, int y, HICON icon);
// Width and height 0: the icon's own size (the system size with DI_DEFAULTSIZE). A flicker-free
// brush fills the rectangle first. The step of animated cursors is ignored.
BOOL DrawIconEx(HDC hdc, int x, int y, HICON icon, int width, int height, UINT step, HBRUSH flickerFreeBrush,
                UINT flags);
