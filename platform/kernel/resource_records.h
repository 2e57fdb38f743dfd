// The byte forms of module resources and the records they decode into.
// The resource compiler encodes them at build time; the loaders of menus,
// dialogs, accelerators, toolbars and bitmaps decode what FindResource and
// LockResource give. Every form is little-endian and written field by field;
// decoders check every count and length against the bytes that remain and
// give nothing for data that does not fit.
//
//   string      the text's bytes and a terminating 0
//   menu        u16 item count, then per item: u16 flags (kMenu* bits), u32
//               command id, u16 text length, text; a popup (kMenuPopup) is
//               followed by its own item count and items
//   dialog      u32 style, u32 extended style, i16 x, y, cx, cy (dialog units),
//               u16 font point size, then texts (u16 length + bytes): font
//               face, caption, window class; u16 menu id (0: none), u16 item
//               count, then per item: u32 style, u32 extended style, i16 x, y,
//               cx, cy, i32 id, texts: class name, text
//   accelerators  6 bytes per entry: u8 flags (kAccel* bits), u8 0, u16 key,
//               u16 command
//   toolbar     u16 version (1), width, height, item count, then the items'
//               command ids (0 for a separator)
//   bitmap, icon  a 40-byte bitmap information header (size 40, width,
//               height > 0 so rows run bottom-up, 1 plane, 32 bits, no
//               compression, image size, 0, 0, 0 colours used, 0) and the rows
//               of blue, green, red, alpha bytes
//   cursor      u16 hot spot x, u16 hot spot y, then a bitmap as above
//   data        the bytes as they stand in the named file
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "platform/base/api.h"
#include "platform/base/types.h"

// Resource types by their numbers.
constexpr WORD kResourceCursor = 1;
constexpr WORD kResourceBitmap = 2;
constexpr WORD kResourceIcon = 3;
constexpr WORD kResourceMenu = 4;
constexpr WORD kResourceDialog = 5;
constexpr WORD kResourceString = 6;
constexpr WORD kResourceAccelerator = 9;
constexpr WORD kResourceData = 10;
constexpr WORD kResourceToolbar = 241;

// Menu item flags, the same bits as the menu functions' MF_* flags.
constexpr WORD kMenuGrayed = 0x0001;
constexpr WORD kMenuDisabled = 0x0002;
constexpr WORD kMenuChecked = 0x0008;
constexpr WORD kMenuPopup = 0x0010;
constexpr WORD kMenuBarBreak = 0x0020;
constexpr WORD kMenuBreak = 0x0040;
constexpr WORD kMenuRadioCheck = 0x0200;
constexpr WORD kMenuSeparator = 0x0800;
constexpr WORD kMenuDefault = 0x1000;
constexpr WORD kMenuHelp = 0x4000;

struct MenuTemplateItem {
    WORD flags = 0;
    UINT id = 0;      // 0 for popups and separators
    std::string text; // "\t" separates the accelerator text
    std::vector<MenuTemplateItem> children; // a popup's items
};

struct MenuTemplate {
    std::vector<MenuTemplateItem> items;
};

struct DialogItemTemplate {
    DWORD style = 0;
    DWORD exStyle = 0;
    SHORT x = 0;
    SHORT y = 0;
    SHORT cx = 0;
    SHORT cy = 0;
    INT id = 0;
    std::string className; // "BUTTON", "EDIT", "STATIC", "COMBOBOX", "LISTBOX", ...
    std::string text;
};

struct DialogTemplate {
    DWORD style = 0;
    DWORD exStyle = 0;
    SHORT x = 0;
    SHORT y = 0;
    SHORT cx = 0;
    SHORT cy = 0;
    WORD fontPointSize = 0; // with DS_SETFONT (0x40) in the style
    std::string fontFace;
    std::string caption;
    std::string className; // empty: the dialog class
    WORD menuId = 0;
    std::vector<DialogItemTemplate> items;
};

// Accelerator flags, the same bits as the accelerator table's F* flags.
constexpr BYTE kAccelVirtualKey = 0x01;
constexpr BYTE kAccelNoInvert = 0x02;
constexpr BYTE kAccelShift = 0x04;
constexpr BYTE kAccelControl = 0x08;
constexpr BYTE kAccelAlt = 0x10;

struct AcceleratorEntry {
    BYTE flags = 0;
    WORD key = 0;
    WORD command = 0;
    bool operator==(const AcceleratorEntry&) const = default;
};

struct ToolbarTemplate {
    WORD width = 0;
    WORD height = 0;
    std::vector<WORD> items; // command ids, 0 for a separator
};

// A 32-bit image, rows top-down, 4 bytes per pixel: blue, green, red, alpha.
struct ImagePixels {
    LONG width = 0;
    LONG height = 0;
    std::vector<uint8_t> bgra;
};

struct CursorImage {
    WORD hotSpotX = 0;
    WORD hotSpotY = 0;
    ImagePixels image;
};

constexpr size_t kBitmapInfoHeaderSize = 40;

NUVEX_PLATFORM_API std::vector<uint8_t> EncodeMenuTemplate(const MenuTemplate& menu);
NUVEX_PLATFORM_API std::optional<MenuTemplate> DecodeMenuTemplate(std::span<const uint8_t> bytes);
NUVEX_PLATFORM_API std::vector<uint8_t> EncodeDialogTemplate(const DialogTemplate& dialog);
NUVEX_PLATFORM_API std::optional<DialogTemplate> DecodeDialogTemplate(std::span<const uint8_t> bytes);
NUVEX_PLATFORM_API std::vector<uint8_t> EncodeAccelerators(const std::vector<AcceleratorEntry>& entries);
NUVEX_PLATFORM_API std::optional<std::vector<AcceleratorEntry>> DecodeAccelerators(std::span<const uint8_t> bytes);
NUVEX_PLATFORM_API std::vector<uint8_t> EncodeToolbarTemplate(const ToolbarTemplate& toolbar);
NUVEX_PLATFORM_API std::optional<ToolbarTemplate> DecodeToolbarTemplate(std::span<const uint8_t> bytes);
NUVEX_PLATFORM_API std::vector<uint8_t> EncodeBitmap(const ImagePixels& image);
NUVEX_PLATFORM_API std::optional<ImagePixels> DecodeBitmap(std::span<const uint8_t> bytes);
NUVEX_PLATFORM_API std::vector<uint8_t> EncodeCursor(const CursorImage& cursor);
NUVEX_PLATFORM_API std::optional<CursorImage> DecodeCursor(std::span<const uint8_t> bytes);
