// CToolbarObject: buttons and bitmaps of add-in commands on a main-frame
// toolbar.
#include "host/shell/toolbar_object.h"

#include "host/shell/addin_host.h"
#include "host/shell/main_frame.h"
#include "iids.h"
#include "platform/controls/commctrl.h"
#include "platform/framework/controlbar.h"

namespace {

constexpr BYTE kSeparatorStyle = 0x1;

} // namespace

CToolbarObject::CToolbarObject(CAddinHost& host, CToolBar& toolbar) : m_host(host), m_toolbar(toolbar) {}

int CToolbarObject::ImageCount() const
{
    if (m_toolbar.GetSafeHwnd() == nullptr) {
        return 0;
    }
    auto* images = reinterpret_cast<HIMAGELIST>(m_toolbar.SendMessage(TB_GETIMAGELIST));
    return images != nullptr ? ImageList_GetImageCount(images) : 0;
}

HRESULT CToolbarObject::QueryInterface(REFIID iid, void** out)
{
    if (out == nullptr) {
        return E_POINTER;
    }
    if (iid == IID_IUnknown || iid == IID_IToolbarControl) {
        *out = static_cast<IToolbarControl*>(this);
        AddRef();
        return S_OK;
    }
    *out = nullptr;
    return E_NOINTERFACE;
}

ULONG CToolbarObject::AddRef() { return static_cast<ULONG>(++m_references); }

ULONG CToolbarObject::Release()
{
    const LONG left = --m_references;
    if (left <= 0) {
        delete this;
        return 0;
    }
    return static_cast<ULONG>(left);
}

HRESULT CToolbarObject::SetButtonState(IAddin* addin, LONG commandId, LONG state)
{
    const int index = m_host.FindHostCommand(addin, commandId);
    CMainFrame* frame = m_host.GetMainFrame();
    if (index < 0) {
        return E_FAIL;
    }
    if (frame != nullptr) {
        frame->SetCommandButtonState(kFirstHostCommandId + static_cast<UINT>(index), static_cast<int>(state));
    }
    return S_OK;
}

HRESULT CToolbarObject::AddBitmap(LONG count, HBITMAP bitmap, LONG* firstImage)
{
    if (firstImage != nullptr) {
        *firstImage = ImageCount();
    }
    if (bitmap != nullptr && count > 0 && m_toolbar.GetSafeHwnd() != nullptr) {
        TBADDBITMAP add{nullptr, reinterpret_cast<UINT_PTR>(bitmap)};
        m_toolbar.SendMessage(TB_ADDBITMAP, static_cast<WPARAM>(count), reinterpret_cast<LPARAM>(&add));
    }
    return S_OK;
}

HRESULT CToolbarObject::AddButton(IAddin* addin, LONG commandId, LONG image, BYTE state, BYTE style, const char*)
{
    if (m_toolbar.GetSafeHwnd() == nullptr) {
        return E_FAIL;
    }
    TBBUTTON button{};
    if (addin != nullptr) {
        if (image < 0 || image >= ImageCount()) {
            return E_FAIL;
        }
        const int32_t index = m_host.GetHostCommand(addin, static_cast<uint32_t>(commandId));
        if (index < 0) {
            return E_FAIL;
        }
        button.idCommand = static_cast<int>(kFirstHostCommandId) + index;
        button.iBitmap = static_cast<int>(image);
    } else if ((style & kSeparatorStyle) == 0) {
        return E_FAIL;
    }
    button.fsState = state;
    button.fsStyle = style;
    if (!m_toolbar.GetToolBarCtrl().AddButtons(1, &button)) {
        return E_FAIL;
    }
    m_toolbar.SendMessage(TB_AUTOSIZE);
    if (CMainFrame* frame = m_host.GetMainFrame(); frame != nullptr && frame->GetSafeHwnd() != nullptr) {
        frame->DelayRecalcLayout(TRUE);
    }
    return S_OK;
}
