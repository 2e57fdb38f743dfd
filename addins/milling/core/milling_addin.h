// CMillingAddin: the add-in object through which the host drives the
// milling add-in. Connect registers what the person sees of it (the pane
// group "Workshop" with its pages, the popup menu, two system variables,
// the toolbar "Manufacturing", the commands with their texts and classes,
// the handler class for input while no command runs and an event sink) and
// loads the postprocessor plug-ins. The commands reach the add-in's
// language table, machine store, postprocessors and page indices through
// it.
#pragma once

#include <string>
#include <vector>

#include "addins/milling/core/language_table.h"
#include "addins/milling/features/postprocessorlist.h"
#include "iaddin.h"
#include "ihost.h"
#include "ipostprocessor.h"
#include "platform/base/types.h"

struct IDispatch;

class CMillingAddin final : public IAddin {
public:
    CMillingAddin();
    CMillingAddin(const CMillingAddin&) = delete;
    CMillingAddin& operator=(const CMillingAddin&) = delete;

    // The add-in object behind an IAddin of this module, else null.
    static CMillingAddin* FromInterface(IAddin* addin);
    // The host's add-in object of this module (IHostApplication GetAddin
    // with the module's class id), else null.
    static CMillingAddin* FromHost(IHostApplication* host);
    // The same through a document's application, which `host` receives
    // when it is given (null without a document).
    static CMillingAddin* FromDocument(IHostDocument* document, IHostApplication** host = nullptr);

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override;
    ULONG STDMETHODCALLTYPE AddRef() override;
    ULONG STDMETHODCALLTYPE Release() override;
    // Adds contour and pocket milling to the view's context menu.
    HRESULT STDMETHODCALLTYPE OnContextMenu(IHostApplication* host) override;
    HRESULT STDMETHODCALLTYPE Connect(IHostApplication* host) override;
    // Opens the help topic of a command; other numbers do nothing.
    HRESULT STDMETHODCALLTYPE Help(LONG commandNumber, LONG reserved) override;

    // Loads the plug-ins of "<program folder>/PostProc" (the current
    // folder's "PostProc" while no program folder is known) once; later
    // calls do nothing.
    void LoadPostprocessors();
    // The same from a given folder (tests).
    void LoadPostprocessorsFrom(const std::string& folder);
    // The first loaded postprocessor whose display name equals `name`
    // exactly; null when none does. Not AddRef'ed.
    IPostprocessor* FindPostprocessor(const char* name) const;
    // The loaded postprocessors in load order, borrowed from the add-in.
    std::vector<IPostprocessor*> Postprocessors() const;

    CPostprocessorList& Machines() { return m_machines; }
    CLanguageTable& Language() { return m_language; }
    IHostApplication* Host() const { return m_host; }
    long PaneGroup() const { return m_paneGroup; }
    long PropertiesPage() const { return m_propertiesPage; }
    long FeaturesPage() const { return m_featuresPage; }
    long ShowToolVariable() const { return m_showToolVariable; }
    long ShadedToolVariable() const { return m_shadedToolVariable; }

private:
    ~CMillingAddin();

    CPostprocessorList m_machines;
    CLanguageTable m_language;
    long m_propertiesPage = -1;
    long m_featuresPage = -1;
    long m_paneGroup = -1;
    long m_ncCodePageFound = -1;
    long m_ncCodePageCreated = -1;
    long m_shadedToolVariable = -1;
    long m_showToolVariable = -1;
    std::vector<HMODULE> m_plugins;
    std::vector<ComPtr<IPostprocessor>> m_postprocessors;
    bool m_postprocessorsLoaded = false;
    IHostApplication* m_host = nullptr;
    ComPtr<IDispatch> m_eventSink;
    long m_references = 0;
};

// The program folder as the host reported it to Connect ("/" separators;
// empty before Connect). The add-in's file paths are built from it.
const std::string& StrimoProgramFolder();
void SetStrimoProgramFolder(const std::string& folder);

// Copies the host's chosen and default language names into the table and
// merges the add-in's language file into it.
void LoadAddinLanguage(IHostApplication* host, CLanguageTable& table);
// The milling add-in of `document`'s host, with the host's languages loaded
// into `table` as LoadAddinLanguage does; null when the host has none.
CMillingAddin* AddinWithLanguage(IHostDocument* document, CLanguageTable& table);
// The window of `document`'s first view; null without a document or a view.
HWND FirstViewWindow(IHostDocument* document);

// The help path of an add-in topic: "help\<language>\nuvex.chm::/khtml/<topic>".
std::string AddinHelpPath(const std::string& language, const char* topic);
// Opens that topic in the help viewer.
void ShowAddinHelp(const std::string& language, const char* topic);
