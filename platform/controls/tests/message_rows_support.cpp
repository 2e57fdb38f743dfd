// The controls' details and rows for the one message recorder.
#include "platform/controls/tests/message_rows.h"

namespace nuvex::controls::testing {
namespace {

using user::testing::Details;
using user::testing::Sent;

struct CodeName {
    UINT code;
    const char* name;
};

constexpr CodeName kNotifyCodes[] = {
    {NM_CLICK, "NM_CLICK"},
    {NM_DBLCLK, "NM_DBLCLK"},
    {NM_RETURN, "NM_RETURN"},
    {NM_RCLICK, "NM_RCLICK"},
    {NM_RDBLCLK, "NM_RDBLCLK"},
    {NM_SETFOCUS, "NM_SETFOCUS"},
    {NM_KILLFOCUS, "NM_KILLFOCUS"},
    {NM_CUSTOMDRAW, "NM_CUSTOMDRAW"},
    {TVN_SELCHANGINGA, "TVN_SELCHANGING"},
    {TVN_SELCHANGEDA, "TVN_SELCHANGED"},
    {TVN_GETDISPINFOA, "TVN_GETDISPINFO"},
    {TVN_ITEMEXPANDINGA, "TVN_ITEMEXPANDING"},
    {TVN_ITEMEXPANDEDA, "TVN_ITEMEXPANDED"},
    {TVN_BEGINDRAGA, "TVN_BEGINDRAG"},
    {TVN_BEGINRDRAGA, "TVN_BEGINRDRAG"},
    {TVN_DELETEITEMA, "TVN_DELETEITEM"},
    {TVN_KEYDOWN, "TVN_KEYDOWN"},
    {TVN_BEGINLABELEDITA, "TVN_BEGINLABELEDIT"},
    {TVN_ENDLABELEDITA, "TVN_ENDLABELEDIT"},
    {TCN_SELCHANGE, "TCN_SELCHANGE"},
    {TCN_SELCHANGING, "TCN_SELCHANGING"},
    {TCN_KEYDOWN, "TCN_KEYDOWN"},
    {TBN_DROPDOWN, "TBN_DROPDOWN"},
    {TTN_NEEDTEXTA, "TTN_NEEDTEXT"},
    {TTN_SHOW, "TTN_SHOW"},
    {TTN_POP, "TTN_POP"},
    {UDN_DELTAPOS, "UDN_DELTAPOS"},
    {EN_SELCHANGE, "EN_SELCHANGE"},
    {EN_PROTECTED, "EN_PROTECTED"},
};

const char* NotifyCodeName(UINT code)
{
    for (const CodeName& n : kNotifyCodes) {
        if (n.code == code) {
            return n.name;
        }
    }
    return "";
}

bool IsTreeRecord(UINT code)
{
    return code == TVN_SELCHANGINGA || code == TVN_SELCHANGEDA || code == TVN_ITEMEXPANDINGA ||
           code == TVN_ITEMEXPANDEDA || code == TVN_BEGINDRAGA || code == TVN_BEGINRDRAGA || code == TVN_DELETEITEMA;
}

intptr_t ItemValue(HTREEITEM item) { return static_cast<intptr_t>(reinterpret_cast<uintptr_t>(item)); }

} // namespace

Details ReadControlDetails(UINT message, WPARAM, LPARAM lParam)
{
    if (message != WM_NOTIFY || lParam == 0) {
        return {};
    }
    const auto* header = reinterpret_cast<const NMHDR*>(lParam);
    Details details{{"code", static_cast<intptr_t>(header->code), NotifyCodeName(header->code)}};
    if (header->code == UDN_DELTAPOS) {
        const auto* step = reinterpret_cast<const NMUPDOWN*>(lParam);
        details.push_back({"pos", step->iPos, ""});
        details.push_back({"delta", step->iDelta, ""});
    } else if (IsTreeRecord(header->code)) {
        const auto* tree = reinterpret_cast<const NMTREEVIEWA*>(lParam);
        details.push_back({"action", static_cast<intptr_t>(tree->action), ""});
        details.push_back({"old", ItemValue(tree->itemOld.hItem), ""});
        details.push_back({"new", ItemValue(tree->itemNew.hItem), ""});
    } else if (header->code == EN_SELCHANGE) {
        const auto* change = reinterpret_cast<const SELCHANGE*>(lParam);
        details.push_back({"min", change->chrg.cpMin, ""});
        details.push_back({"max", change->chrg.cpMax, ""});
    } else if (header->code == EN_PROTECTED) {
        const auto* info = reinterpret_cast<const ENPROTECTED*>(lParam);
        details.push_back({"msg", static_cast<intptr_t>(info->msg), MessageName(info->msg)});
        details.push_back({"min", info->chrg.cpMin, ""});
        details.push_back({"max", info->chrg.cpMax, ""});
    }
    return details;
}

void StartRecording(MessageRecorder& recorder, HWND parent)
{
    recorder.Name(parent, kParentRole);
    recorder.ReadDetails(ReadControlDetails);
    recorder.Attach();
}

Expect Command(int id, WORD code) { return Sent(kParentRole, WM_COMMAND).D("id", id).D("code", code); }

Expect Notify(int id, UINT code)
{
    return Sent(kParentRole, WM_NOTIFY).D("id", id).D("code", static_cast<intptr_t>(code));
}

Expect DeltaPos(int id, int pos, int delta) { return Notify(id, UDN_DELTAPOS).D("pos", pos).D("delta", delta); }

Expect TreeNotify(int id, UINT code, UINT action, HTREEITEM oldItem, HTREEITEM newItem)
{
    return Notify(id, code).D("action", action).D("old", ItemValue(oldItem)).D("new", ItemValue(newItem));
}

Expect Scroll(UINT message, UINT code, int pos) { return Sent(kParentRole, message).D("code", code).D("pos", pos); }

Expect DrawItem(int id, UINT item, UINT action, UINT state)
{
    return Sent(kParentRole, WM_DRAWITEM).D("id", id).D("item", item).D("action", action).D("state", state);
}

std::vector<UINT> CodesOf(const std::vector<Delivered>& deliveries)
{
    std::vector<UINT> codes;
    for (const Delivered& d : deliveries) {
        if (const auto code = d.DetailOf("code")) {
            codes.push_back(static_cast<UINT>(*code));
        }
    }
    return codes;
}

} // namespace nuvex::controls::testing
