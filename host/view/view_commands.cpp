// The view's context menu and command routing.
#include "host/view/view_commands.h"

#include "host/document/command_engine.h"
#include "host/document/nuvex_doc.h"
#include "platform/gdi/gdi.h"
#include "platform/kernel/resource.h"

namespace {

struct FixedItem {
    UINT id;
    const char* text;
    // Bitmap resource of the item's image; 0 for none.
    WORD bitmap;
};

// Positions 0-7 of the menu; position 5 is the separator (id 0).
constexpr FixedItem kFixedItems[] = {
    {kCommandAccept, "Accept", 162},
    {kCommandCancel, "Renunt/Selectie", 161},
    {kCommandRepeat, "Repeta ultima comanda", 163},
    {kCommandUndo, "Inapoi", 0},
    {kCommandRedo, "Inainte", 0},
    {0, nullptr, 0},
    {kCommandZoomAll, "Zoom all", 0},
    {kCommandZoomWindow, "Zoom window", 0},
};

// A bitmap resource of the program as a 32-bit bitmap; null when missing.
HBITMAP LoadProgramBitmap(WORD id)
{
    const auto bytes = FindResourceBytes(nullptr, kResourceBitmap, id);
    if (!bytes) {
        return nullptr;
    }
    const auto image = DecodeBitmap(*bytes);
    if (!image) {
        return nullptr;
    }
    return CreateBitmap(image->width, image->height, 1, 32, image->bgra.data());
}

WORD LowWord(WPARAM value) { return static_cast<WORD>(value & 0xFFFF); }
WORD HighWord(WPARAM value) { return static_cast<WORD>((value >> 16) & 0xFFFF); }

} // namespace

void BuildViewContextMenu(CNuvexDoc& document, CNewMenu& menu)
{
    menu.DestroyMenu();
    if (!menu.CreatePopupMenu()) {
        return;
    }
    for (UINT position = 0; position < std::size(kFixedItems); ++position) {
        const FixedItem& item = kFixedItems[position];
        if (item.id == 0) {
            menu.AppendItem(MF_SEPARATOR, 0, nullptr);
            continue;
        }
        HBITMAP bitmap = item.bitmap != 0 ? LoadProgramBitmap(item.bitmap) : nullptr;
        if (bitmap != nullptr) {
            // The menu keeps a copy of the picture.
            menu.InsertItem(position, MF_STRING | MF_BYPOSITION, item.id, item.text, bitmap);
            DeleteObject(bitmap);
        } else {
            menu.InsertItem(position, MF_STRING | MF_BYPOSITION, item.id, item.text);
        }
    }
    IDocumentServices& services = document.Services();
    if (IHostApplication* host = services.GetHostApplication()) {
        // Every record that has an add-in object, in record order (a
        // record without one, such as a component's, does not end the walk).
        for (int32_t i = 0; i < services.GetAddinCount(); ++i) {
            if (IAddin* addin = services.GetAddin(i)) {
                addin->OnContextMenu(host);
            }
        }
    }
    menu.AppendItem(MF_SEPARATOR, 0, nullptr);
    menu.AppendItem(MF_STRING, kCommandProperties, "Proprietati");
    menu.LoadToolBar(kContextMenuToolBar);
}

void ShowViewContextMenu(CNuvexDoc& document, CNewMenu& menu, IViewCommandSite& site)
{
    BuildViewContextMenu(document, menu);
    const RECT r = site.GetViewScreenRect();
    menu.TrackPopupMenu(0, r.left, r.top, site.GetViewWindow());
}

BOOL RouteViewCommand(CNuvexDoc& document, IViewCommandSite& site, WPARAM wParam, LPARAM lParam)
{
    // 1. Control notifications are not the view's.
    if (lParam != 0) {
        return FALSE;
    }
    // 2. Items of the document popup menu, numbered from 1.
    if (wParam > 0 && wParam <= document.GetPopupItemCount()) {
        const size_t index = wParam - 1;
        if (IAddinCommand* owner = document.GetPopupItemOwner(index)) {
            uint32_t id = document.GetPopupItemId(index);
            LONG result = command_result::kNotHandled;
            owner->OnEvent(kEventPopupItem, &id, 1, 0, &result);
        }
        return TRUE;
    }
    // 3. Add-in commands from a menu or an accelerator: a second press of
    // the running command, or of a toggle, ends it.
    const UINT id = LowWord(wParam);
    if (id >= kFirstAddinCommand && id < kEndAddinCommands && HighWord(wParam) <= 1) {
        const auto index = static_cast<int32_t>(id - kFirstAddinCommand);
        const CommandTableEntry* entry = document.Services().GetCommandEntry(index);
        const bool running = index == document.Level(document.GetCurrentLevel()).commandIndex;
        const bool toggle = entry != nullptr && entry->toggle == 1;
        document.StartCommand(index, running || toggle ? 0 : 1);
        return TRUE;
    }
    // 4. The view's own items, by the full word.
    switch (wParam) {
    case kCommandCancel:
        document.CancelCommand();
        return TRUE;
    case kCommandAccept: {
        LONG value = kAcceptControlId;
        LONG result = command_result::kNotHandled;
        document.SendCommandEvent(kEventPanelControl, &value, 1, 0, &result);
        document.EndCommandLevel(command_event::kAccept, result, TRUE);
        return TRUE;
    }
    case kCommandRepeat:
        if (document.GetLastStartedCommand() >= 0) {
            document.StartCommand(document.GetLastStartedCommand(), 1);
        }
        return TRUE;
    case kCommandProperties:
        site.ShowPropertiesPane();
        return TRUE;
    default:
        return FALSE;
    }
}
