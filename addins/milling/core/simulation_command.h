// CSimulationCommand: "Simulate current phase" (command 200). Its panel
// offers the job's features; once one is chosen its NC program fills the
// panel's text, and start and stop run the tool along its toolpath in the
// view (shaded or as a wireframe), at the speed field's factor, while the
// rows of the lines passed turn red and bold.
#pragma once

#include <string>
#include <vector>

#include "addins/milling/core/command_object.h"
#include "addins/milling/core/language_table.h"
#include "addins/milling/core/simulation.h"
#include "addins/milling/core/strimo_ids.h"
#include "addins/milling/core/tool_solid.h"
#include "addins/milling/core/tool_store.h"
#include "icontrols.h"

class CMillingAddin;
class CMillingFeature;
class CMillingJob;
class CMillingOperation;

// The time between two frames of a running simulation. The next step is
// asked for from a timer, not from inside the drawing: a redraw asked for
// while drawing leaves a paint always pending, so the message loop would
// never wait, and a real screen would show no frame and take no input
// (Stop included) until the run ends.
inline constexpr unsigned kSimulationFrameMs = 15;

class CSimulationCommand final : public CAddinCommandObject<CLSID_SimulationCommand> {
public:
    CSimulationCommand();
    ~CSimulationCommand() override;

    HRESULT STDMETHODCALLTYPE Create(IHostDocument* document, LONG commandNumber, LONG_PTR context) override;
    // Start 1, cancel 4; panel controls as their ids say (Ok 2, Cancel 4);
    // the draw event steps the run and draws the tool.
    HRESULT STDMETHODCALLTYPE OnEvent(LONG event, void* value, LONG final, LONG kind, LONG* result) override;

    // The OpenGL calls the tool is drawn with (tests record them); the
    // current context's by default. Lent.
    void SetGl(CToolGl* gl) { m_gl = gl; }

    const CSimulation& Simulation() const { return m_simulation; }
    const CToolSolid& Solid() const { return m_solid; }
    size_t FeatureCount() const { return m_features.size(); }
    const CMillingFeature* ChosenFeature() const { return m_chosen; }
    bool Wireframe() const { return m_wireframe != 0; }
    // Why the chosen feature's NC text is missing; empty when it is shown.
    const std::string& LastMessage() const { return m_lastMessage; }

private:
    struct Offered {
        CMillingFeature* feature;
        const CMillingOperation* operation;
    };

    void OnControl(const void* value, LONG* result);
    void Choose(int index);
    void Draw(IGraphicsContext* context);
    void DrawTool(IGraphicsContext* context);
    void MarkRow(long row);
    void RedrawDocument();
    // The next frame's redraw, kSimulationFrameMs from now (once).
    void ScheduleFrame();
    void StopFrame();
    static void OnFrameTimer(HWND, UINT, UINT_PTR id, DWORD);

    CLanguageTable m_language;
    IHostDocument* m_document = nullptr;
    CMillingAddin* m_addin = nullptr;
    CMillingJob* m_job = nullptr;
    IControlPanel* m_panel = nullptr;
    HBITMAP m_bitmaps[3] = {};
    LONG m_previousPane = -1;
    CToolList m_tools;
    CToolSolid m_solid;
    std::vector<Offered> m_features;
    CMillingFeature* m_chosen = nullptr;
    CSimulation m_simulation;
    int32_t m_wireframe = 0;
    CToolGl* m_gl = nullptr;
    std::string m_lastMessage;
    UINT_PTR m_frameTimer = 0;

    IComboBoxControl* m_phases = nullptr;
    IButtonControl* m_shaded = nullptr;
    IButtonControl* m_start = nullptr;
    IButtonControl* m_stop = nullptr;
    IEditControl* m_speed = nullptr;
    IRichEditControl* m_ncCode = nullptr;
};
