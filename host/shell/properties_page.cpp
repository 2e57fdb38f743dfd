// The properties page's controls.
#include "host/shell/properties_page.h"

#include <string>

#include "host/shell/language_table.h"
#include "icontrols.h"
#include "ihost.h"

namespace {

constexpr DWORD kVisible = 0x10000000;
constexpr DWORD kVisibleGroupBox = 0x10000007;

struct PageControl {
    bool groupBox;
    LONG textId;
    const char* defaultText;
    RECT rect;
    LONG id;
};

// The controls in panel units: left, top, right, bottom.
constexpr PageControl kControls[] = {
    {true, 15004, "Selected objects", {5, 5, 165, 300}, 100},
    {false, 15005, "Number: ", {15, 25, 100, 40}, 101},
    {false, 15006, "Closed contours: ", {15, 45, 120, 60}, 101},
    {false, 15007, "Opened contours: ", {15, 65, 120, 80}, 101},
};
constexpr RECT kCountRect = {120, 25, 160, 40};

} // namespace

PropertiesPage ShowPropertiesPanel(IHostApplication* application, IHostDocument* document, CLanguageTable& texts)
{
    PropertiesPage page;
    if (application == nullptr || document == nullptr) {
        return page;
    }
    LONG group = -1;
    const std::string groupName = texts.GetStaticText(kTextWorkshopGroup, kDefaultWorkshopGroup);
    if (application->FindPaneGroup(groupName.c_str(), &group) != S_OK || group < 0) {
        return page;
    }
    LONG item = -1;
    const std::string pageName = texts.GetStaticText(kTextPropertiesPage, kDefaultPropertiesPage);
    if (application->FindPaneItem(group, pageName.c_str(), &item) != S_OK || item < 0) {
        return page;
    }
    IControlPanel* panel = nullptr;
    if (document->CreateControlPanel(group, item, &panel) != S_OK || panel == nullptr) {
        return page;
    }
    page.panel = panel;
    for (const PageControl& control : kControls) {
        const std::string text = texts.GetStaticText(control.textId, control.defaultText);
        LONG index = -1;
        if (control.groupBox) {
            panel->AddButton(text.c_str(), kVisibleGroupBox, &control.rect, control.id, &index);
        } else {
            panel->AddStatic(text.c_str(), kVisible, &control.rect, control.id, &index);
        }
    }
    LONG index = -1;
    panel->AddStatic("0", kVisible, &kCountRect, kSelectedCountControl, &index);
    panel->GetControl(kSelectedCountControl, &page.selectedCount);
    panel->ShowAll();
    return page;
}
