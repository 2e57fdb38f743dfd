// The properties page: a control panel on the "Properties" page of the
// "Workshop" pane group (both named through the language table), with a
// "Selected objects" group and the count of selected objects, contours and
// open contours. The group and its page are an add-in's; without them there
// is no page.
#pragma once

#include "platform/base/types.h"

struct IHostApplication;
struct IHostDocument;
struct IControlPanel;
struct IUnknown;
class CLanguageTable;

// Language-table texts of the page and their English defaults.
inline constexpr LONG kTextWorkshopGroup = 15001;
inline constexpr const char* kDefaultWorkshopGroup = "Workshop";
inline constexpr LONG kTextPropertiesPage = 15002;
inline constexpr const char* kDefaultPropertiesPage = "Properties";
// The static that shows the number of selected objects.
inline constexpr LONG kSelectedCountControl = 102;

struct PropertiesPage {
    // Lent by the document: neither is released.
    IControlPanel* panel = nullptr;
    IUnknown* selectedCount = nullptr;
};

// Builds the page in `document`'s pane group; an empty page (no panel) when
// the group, the page or the document is missing.
PropertiesPage ShowPropertiesPanel(IHostApplication* application, IHostDocument* document, CLanguageTable& texts);
