// Loading the add-in's own bitmaps and dialog templates.
#include "addins/milling/core/addin_resources.h"

#include "platform/gdi/gdi.h"
#include "platform/kernel/module.h"
#include "platform/kernel/resource.h"

namespace {

HMODULE AddinModule() { return GetModuleHandleFromAddress(reinterpret_cast<const void*>(&LoadAddinBitmap)); }

} // namespace

HBITMAP LoadAddinBitmap(int id)
{
    const auto bytes = FindResourceBytes(AddinModule(), kResourceBitmap, static_cast<WORD>(id));
    if (!bytes)
        return nullptr;
    const auto image = DecodeBitmap(*bytes);
    if (!image)
        return nullptr;
    return ::CreateBitmap(image->width, image->height, 1, 32, image->bgra.data());
}

std::optional<DialogTemplate> LoadAddinDialog(int id)
{
    const auto bytes = FindResourceBytes(AddinModule(), kResourceDialog, static_cast<WORD>(id));
    if (!bytes)
        return std::nullopt;
    return DecodeDialogTemplate(*bytes);
}
