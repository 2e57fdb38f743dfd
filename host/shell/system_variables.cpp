// System variables and command states: the 25 built-in variables, the
// lookup by name, and the checked state of add-in command buttons that the
// commands' presets derive from the variables.
#include <algorithm>
#include <vector>

#include "host/document/nuvex_doc.h"
#include "host/shell/addin_host.h"
#include "host/shell/host_application.h"
#include "host/shell/main_frame.h"
#include "objectmodel/tolerance.h"

namespace {

struct BuiltInVariable {
    const char* name;
    VARTYPE type;
    double value;
};

// Registered in this order: the index is the position.
constexpr BuiltInVariable kBuiltInVariables[] = {
    {"XSketchPlaneOrigin", VT_R8, 0.0},  {"XErrSketchPlaneOrigin", VT_I2, 0.0},
    {"YSketchPlaneOrigin", VT_R8, 0.0},  {"YErrSketchPlaneOrigin", VT_I2, 0.0},
    {"ZSketchPlaneOrigin", VT_R8, 0.0},  {"ZErrSketchPlaneOrigin", VT_I2, 0.0},
    {"XSketchPlaneNormal", VT_R8, 0.0},  {"XErrSketchPlaneNormal", VT_I2, 0.0},
    {"YSketchPlaneNormal", VT_R8, 0.0},  {"YErrSketchPlaneNormal", VT_I2, 0.0},
    {"ZSketchPlaneNormal", VT_R8, 1.0},  {"ZErrSketchPlaneNormal", VT_I2, 0.0},
    {"XViewDirection", VT_R8, 0.0},      {"YViewDirection", VT_R8, 0.0},
    {"ZViewDirection", VT_R8, -1.0},     {"XViewRightDirection", VT_R8, 1.0},
    {"YViewRightDirection", VT_R8, 0.0}, {"ZViewRightDirection", VT_R8, 0.0},
    {"Osnap", VT_UI1, 1.0},              {"Tracking", VT_UI1, 1.0},
    {"OsnapEndPoint", VT_UI1, 1.0},      {"OsnapMidPoint", VT_UI1, 1.0},
    {"OsnapCenterPoint", VT_UI1, 1.0},   {"OsnapIntersection", VT_UI1, 1.0},
    {"OsnapNearest", VT_UI1, 1.0},
};
static_assert(std::size(kBuiltInVariables) == 25);

VARIANT ValueOf(const BuiltInVariable& variable)
{
    VARIANT value;
    VariantInit(&value);
    value.vt = variable.type;
    switch (variable.type) {
    case VT_R8:
        value.dblVal = variable.value;
        break;
    case VT_I2:
        value.iVal = static_cast<SHORT>(variable.value);
        break;
    default:
        value.bVal = static_cast<BYTE>(variable.value);
        break;
    }
    return value;
}

} // namespace

void CAddinHost::RegisterSystemVariables()
{
    for (const BuiltInVariable& variable : kBuiltInVariables) {
        m_application->RegisterVariable(variable.name, ValueOf(variable), nullptr);
    }
}

int CAddinHost::FindSystemVariable(const char* name) const
{
    if (name == nullptr) {
        return -1;
    }
    for (size_t i = 0; i < m_variables.size(); ++i) {
        if (m_variables[i].name == name) {
            return static_cast<int>(i);
        }
    }
    return -1;
}

BOOL CAddinHost::CompareVariants(const VARIANT& a, const VARIANT& b)
{
    if (a.vt != b.vt) {
        return FALSE;
    }
    switch (a.vt) {
    case VT_I2:
    case VT_UI2:
        return a.uiVal == b.uiVal;
    case VT_I4:
    case VT_UI4:
        return a.ulVal == b.ulVal;
    case VT_R4:
        return Exactly(a.fltVal, b.fltVal);
    case VT_R8:
        return Exactly(a.dblVal, b.dblVal);
    case VT_I1:
    case VT_UI1:
        return a.bVal == b.bVal;
    default:
        return FALSE;
    }
}

VARIANT CAddinHost::VariableValueForState(int32_t index) const
{
    if (CNuvexDoc* document = GetActiveDocument(); document != nullptr && index < document->GetVariableCount()) {
        VARIANT value;
        if (SUCCEEDED(document->GetVariable(index, &value))) {
            return value;
        }
    }
    if (index >= 0 && static_cast<size_t>(index) < m_variables.size()) {
        return m_variables[static_cast<size_t>(index)].defaultValue;
    }
    VARIANT empty;
    VariantInit(&empty);
    return empty;
}

void CAddinHost::UpdateCommandState(int commandIndex)
{
    CAddinCommandEntry* entry = CommandEntry(commandIndex);
    if (entry == nullptr) {
        return;
    }
    bool checkSeen = false;
    bool uncheckSeen = false;
    bool checkHolds = true;
    bool uncheckHolds = true;
    const size_t count =
        std::min({entry->presetVariables.size(), entry->presetValues.size(), entry->presetFlags.size()});
    for (size_t k = 0; k < count; ++k) {
        const uint32_t flags = entry->presetFlags[k];
        const bool check = (flags & kPresetCheckCondition) != 0;
        const bool uncheck = (flags & kPresetUncheckCondition) != 0;
        if (!check && !uncheck) {
            continue;
        }
        checkSeen = checkSeen || check;
        uncheckSeen = uncheckSeen || uncheck;
        if ((flags & kPresetComparesEqual) == 0) {
            continue;
        }
        const VARIANT left = VariableValueForState(static_cast<int32_t>(entry->presetVariables[k]));
        const VARIANT right = (flags & kPresetFromVariable) != 0
                                  ? VariableValueForState(entry->presetValues[k].lVal)
                                  : entry->presetValues[k];
        if (!CompareVariants(left, right)) {
            checkHolds = checkHolds && !check;
            uncheckHolds = uncheckHolds && !uncheck;
        }
    }
    if (checkSeen) {
        SetCommandButtonState(commandIndex, checkHolds ? kButtonStateChecked : kButtonStateEnabled);
        entry->toggle = checkHolds ? 1 : 0;
    }
    if (uncheckSeen && uncheckHolds) {
        SetCommandButtonState(commandIndex, kButtonStateEnabled);
        entry->toggle = 0;
    }
}

void CAddinHost::RefreshCommandStates(BOOL all)
{
    std::vector<int32_t> evaluated;
    auto evaluate = [this, &evaluated](const SystemVariable& variable) {
        for (int32_t command : variable.dependentCommands) {
            if (std::find(evaluated.begin(), evaluated.end(), command) == evaluated.end()) {
                evaluated.push_back(command);
                UpdateCommandState(command);
            }
        }
    };
    CNuvexDoc* document = GetActiveDocument();
    if (!all && document != nullptr) {
        const int32_t count = std::min(document->GetVariableCount(), static_cast<int32_t>(m_variables.size()));
        for (int32_t index = 0; index < count; ++index) {
            if (document->GetVariableFlags(index) != 0) {
                evaluate(m_variables[static_cast<size_t>(index)]);
                document->ClearVariableChanged(index);
            }
        }
    } else {
        for (const SystemVariable& variable : m_variables) {
            evaluate(variable);
        }
    }
    if (m_mainFrame != nullptr && m_mainFrame->GetSafeHwnd() != nullptr) {
        m_mainFrame->RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
    }
}

void CAddinHost::SetCommandButtonState(int commandIndex, int state)
{
    if (commandIndex >= 0 && m_mainFrame != nullptr) {
        m_mainFrame->SetCommandButtonState(static_cast<UINT>(commandIndex) + kFirstHostCommandId, state);
    }
}
