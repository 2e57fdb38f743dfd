// The drawing program and the configuration folder of the view tests.
#include "host/view/tests/view_test_app.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <system_error>

#include "host/view/nuvex_doc_template.h"

namespace {

constexpr UINT kMainResource = 128;
constexpr UINT kDrawingResource = 129;

} // namespace

IMPLEMENT_DYNCREATE(CViewTestChildFrame, CMDIChildWnd)

CViewTestApp::CViewTestApp(const char* name, const char* registryKey, IDocumentServices& services,
                           IDocumentOutput& output, IDocumentCloseFlow* flow)
    : CWinApp(name), m_registryKey(registryKey), m_services(services), m_output(output), m_flow(flow)
{
}

BOOL CViewTestApp::InitInstance()
{
    SetRegistryKey(m_registryKey);
    AddDocTemplate(new CNuvexDocTemplate(kDrawingResource, RUNTIME_CLASS(CViewTestChildFrame), m_services, m_output,
                                         m_flow));
    auto* frame = new CMDIFrameWnd;
    if (!frame->LoadFrame(kMainResource, WS_OVERLAPPEDWINDOW)) {
        return FALSE;
    }
    m_pMainWnd = frame;
    frame->ShowWindow(SW_SHOW);
    return TRUE;
}

CNuvexDoc* CViewTestApp::NewDrawing()
{
    OnFileNew();
    CMDIChildWnd* child = Frame()->MDIGetActive();
    return child != nullptr ? dynamic_cast<CNuvexDoc*>(child->GetActiveDocument()) : nullptr;
}

void CViewTestApp::CloseProgram()
{
    if (m_pMainWnd == nullptr) {
        return;
    }
    CloseAllDocuments(TRUE);
    if (m_pMainWnd != nullptr) {
        m_pMainWnd->DestroyWindow();
    }
}

CNuvexView* ViewOf(CNuvexDoc* document)
{
    POSITION position = document->GetFirstViewPosition();
    return position != nullptr ? dynamic_cast<CNuvexView*>(document->GetNextView(position)) : nullptr;
}

TestConfigFolder::TestConfigFolder(const std::string& prefix)
    : m_path(std::filesystem::temp_directory_path() /
             (prefix + std::to_string(getpid()) + "-" + ::testing::UnitTest::GetInstance()->current_test_info()->name()))
{
    std::filesystem::create_directories(m_path);
    setenv("NUVEX_CONFIG_DIR", m_path.c_str(), 1);
}

TestConfigFolder::~TestConfigFolder()
{
    unsetenv("NUVEX_CONFIG_DIR");
    std::error_code ignored;
    std::filesystem::remove_all(m_path, ignored);
}
