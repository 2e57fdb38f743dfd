// A drawing program for the view tests that run the framework: an MDI frame
// window and the document template that makes drawings with their views in
// child frames, and a configuration folder of a test's own.
#pragma once

#include <filesystem>
#include <string>

#include "host/document/document_services.h"
#include "host/view/document_closing.h"
#include "host/view/nuvex_view.h"
#include "platform/framework/app.h"
#include "platform/framework/mdi.h"

// The child frame the test program's drawings open in.
class CViewTestChildFrame : public CMDIChildWnd {
    DECLARE_DYNCREATE(CViewTestChildFrame)
};

class CViewTestApp : public CWinApp {
public:
    // `flow` may be null: closing then asks nothing.
    CViewTestApp(const char* name, const char* registryKey, IDocumentServices& services, IDocumentOutput& output,
                 IDocumentCloseFlow* flow);
    // The frame from the test resources, shown; FALSE when it cannot load.
    BOOL InitInstance() override;
    CMDIFrameWnd* Frame() const { return static_cast<CMDIFrameWnd*>(m_pMainWnd); }
    // File New: the new drawing in the active child frame, or null.
    CNuvexDoc* NewDrawing();
    // Closes every drawing (asking as the close flow does) and the frame.
    void CloseProgram();

private:
    const char* m_registryKey;
    IDocumentServices& m_services;
    IDocumentOutput& m_output;
    IDocumentCloseFlow* m_flow;
};

// The first view of a drawing, or null.
CNuvexView* ViewOf(CNuvexDoc* document);

// A fresh folder under the temporary folder, named after the test, that
// holds the registry while it lives (NUVEX_CONFIG_DIR); removed after.
class TestConfigFolder {
public:
    explicit TestConfigFolder(const std::string& prefix);
    ~TestConfigFolder();
    TestConfigFolder(const TestConfigFolder&) = delete;
    TestConfigFolder& operator=(const TestConfigFolder&) = delete;

    const std::filesystem::path& Path() const { return m_path; }

private:
    std::filesystem::path m_path;
};
