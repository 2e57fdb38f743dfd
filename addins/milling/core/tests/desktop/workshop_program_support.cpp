// The "Workshop" panes of the running program and the sample pocket.
#include "addins/milling/core/tests/desktop/workshop_program_support.h"

#include "addins/milling/core/command_events.h"
#include "addins/milling/core/strimo_ids.h"
#include "host/app/nuvex_app.h"
#include "host/document/nuvex_doc.h"
#include "host/shell/controls/rich_edit_line_ctrl.h"
#include "host/shell/docking_pane_bar.h"
#include "host/shell/pane_group_dialog.h"
#include "ihost.h"
#include "objectmodel/selection_set_object.h"
#include "platform/framework/commonctrls.h"
#include "platform/user/inspect.h"
#include "platform/user/winuser.h"

namespace {

// An event into the running command, closed as the main frame closes one.
LONG Send(CNuvexDoc& document, LONG code, void* value)
{
    LONG result = 0x10000000;
    document.SendCommandEvent(code, value, 1, 1, &result);
    document.EndCommandLevel(code, result, TRUE);
    return result;
}

long PageIndex(const CDockingPaneBar& bar, const char* name)
{
    const std::vector<PanePage>& pages = bar.Pages();
    for (size_t i = 0; i < pages.size(); ++i)
        if (pages[i].name == name)
            return static_cast<long>(i);
    return -1;
}

void AddTreeLines(const CTreeCtrl& tree, HTREEITEM item, int depth, std::vector<std::string>& lines)
{
    for (; item != nullptr; item = tree.GetNextSiblingItem(item)) {
        std::string line(static_cast<size_t>(depth) * 2, ' ');
        line += static_cast<const char*>(tree.GetItemText(item));
        if ((tree.GetItemState(item, TVIS_BOLD) & TVIS_BOLD) != 0)
            line += " [bold]";
        lines.push_back(line);
        AddTreeLines(tree, tree.GetChildItem(item), depth + 1, lines);
    }
}

} // namespace

WorkshopPanes FindWorkshop(CNuvexApp& app, CNuvexDoc& document)
{
    WorkshopPanes panes;
    LONG group = -1;
    if (app.GetHostApplication() == nullptr || FAILED(app.GetHostApplication()->FindPaneGroup("Workshop", &group)))
        return panes;
    POSITION position = document.GetFirstViewPosition();
    CView* view = position != nullptr ? document.GetNextView(position) : nullptr;
    CFrameWnd* frame = view != nullptr ? view->GetParentFrame() : nullptr;
    if (frame == nullptr)
        return panes;
    const std::vector<CDockingPaneBar*> bars = CDockingPaneBar::BarsOf(*frame);
    if (group < 0 || static_cast<size_t>(group) >= bars.size())
        return panes;
    panes.group = group;
    panes.bar = bars[static_cast<size_t>(group)];
    panes.featuresPage = PageIndex(*panes.bar, "Features");
    panes.ncCodePage = PageIndex(*panes.bar, "NC code");
    panes.propertiesPage = PageIndex(*panes.bar, "Properties");
    std::vector<PanePage>& pages = panes.bar->Pages();
    if (panes.featuresPage >= 0)
        panes.features = dynamic_cast<CTreeCtrl*>(pages[static_cast<size_t>(panes.featuresPage)].window.get());
    if (panes.ncCodePage >= 0)
        panes.ncCode = dynamic_cast<CRichEditLineCtrl*>(pages[static_cast<size_t>(panes.ncCodePage)].window.get());
    return panes;
}

IAddin* StrimoAddin(CNuvexApp& app)
{
    const int index = app.FindAddinByClsid(CLSID_StrimoAddin);
    return index >= 0 ? app.AddinRecords()[static_cast<size_t>(index)].addin : nullptr;
}

int StrimoCommandIndex(CNuvexApp& app, long commandNumber)
{
    IAddin* addin = StrimoAddin(app);
    return addin != nullptr ? app.FindHostCommand(addin, commandNumber) : -1;
}

std::string AddSamplePocket(CNuvexApp& app, CNuvexDoc& document)
{
    const int pocket = StrimoCommandIndex(app, kCommandPocketMilling);
    if (pocket < 0)
        return "the add-in has no pocket command";
    IHostDocument* host = document.GetHostDocument();
    LONG objects = 0;
    host->GetObjectCount(&objects);
    if (objects < kSampleObjects)
        return "the sample part has " + std::to_string(objects) + " objects";
    CSelectionSetObject picks;
    for (LONG i = kSamplePlateObjects; i < kSampleObjects; ++i) {
        IEntityRecord* holder = nullptr;
        if (FAILED(host->GetObject(i, &holder)) || holder == nullptr)
            return "no object " + std::to_string(i);
        picks.Add(reinterpret_cast<uintptr_t>(holder));
    }
    if (!document.StartCommand(pocket, 1))
        return "the pocket command did not start";
    if (document.GetLevelCount() != 3)
        return "the pocket command did not start its operation first";
    Send(document, kEventAccept, nullptr);
    ISelectionSet* set = &picks;
    Send(document, kEventPick, &set);
    Send(document, kEventAccept, nullptr);
    if (document.GetLevelCount() != 1)
        return "the pocket command is still running";
    return {};
}

std::vector<std::string> TreeLines(const CTreeCtrl& tree)
{
    std::vector<std::string> lines;
    AddTreeLines(tree, tree.GetRootItem(), 0, lines);
    return lines;
}

std::vector<std::string> TextRows(CRichEditLineCtrl& control)
{
    std::vector<std::string> rows;
    IRichEditControl& object = control.ScriptingObject();
    LONG count = 0;
    object.GetRowCount(&count);
    for (LONG row = 0; row < count; ++row) {
        char buffer[1024] = {};
        LONG length = 0;
        object.GetRow(row, buffer, sizeof buffer, &length);
        rows.emplace_back(buffer, static_cast<size_t>(length));
    }
    // An empty control still has its one empty row.
    if (rows.size() == 1 && rows.front().empty())
        rows.clear();
    return rows;
}

void PumpProgram(CNuvexApp& app, int steps, unsigned stepMs)
{
    for (int step = 0; step < steps; ++step) {
        MSG message{};
        while (::PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
            ::TranslateMessage(&message);
            ::DispatchMessageA(&message);
        }
        for (LONG count = 0; count < 8 && app.OnIdle(count); ++count) {
        }
        AdvanceWindowSystemTime(stepMs);
    }
}
