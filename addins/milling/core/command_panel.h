// Building a command's panel from a table of rows, finding its controls'
// scripting objects, and the number text of its edits.
#pragma once

#include <string>

#include "addins/milling/core/language_table.h"
#include "icontrols.h"

enum class PanelControlKind { Title, Static, Edit, ComboBox, Button };

// One control: its kind, id, text (a STATIC id of the add-in's language
// table, 0 for a text used as it stands), style and rectangle (left, top,
// right, bottom in panel pixels).
struct PanelControlRow {
    PanelControlKind kind;
    LONG id;
    long textId;
    const char* text;
    DWORD style;
    RECT rect;
};

// Adds the rows in order; `afterRow` is called with each row's index once
// it is added (the picture gets its bitmap right after the title).
template <class AfterRow>
void AddPanelControls(IControlPanel* panel, CLanguageTable& language, const PanelControlRow* rows, size_t count,
                      AfterRow afterRow);

// The scripting object of a control, asked for its interface; null when the
// panel has no such control. Lent, not counted.
template <class Interface>
Interface* PanelControl(IControlPanel* panel, LONG id, const IID& iid)
{
    if (panel == nullptr)
        return nullptr;
    IUnknown* object = nullptr;
    if (FAILED(panel->GetControl(id, &object)) || object == nullptr)
        return nullptr;
    Interface* control = nullptr;
    if (FAILED(object->QueryInterface(iid, reinterpret_cast<void**>(&control))) || control == nullptr)
        return nullptr;
    control->Release();
    return control;
}

// "%.3lf".
std::string FormatPanelNumber(double value);
// The number at the start of the text as "%lf" reads it; false when there
// is none (the caller keeps its value or takes 0).
bool ParsePanelNumber(const char* text, double& value);

// The control id and the notification code of a control event's value.
struct ControlNotification {
    LONG id = 0;
    unsigned code = 0;
};
ControlNotification ReadControlNotification(const void* value);

template <class AfterRow>
void AddPanelControls(IControlPanel* panel, CLanguageTable& language, const PanelControlRow* rows, size_t count,
                      AfterRow afterRow)
{
    if (panel == nullptr)
        return;
    for (size_t i = 0; i < count; ++i) {
        const PanelControlRow& row = rows[i];
        const char* text = row.textId != 0 ? language.GetStaticText(row.textId, row.text) : row.text;
        const std::string copy = text;
        switch (row.kind) {
        case PanelControlKind::Title: panel->AddTitle(copy.c_str(), row.style, &row.rect, row.id, nullptr); break;
        case PanelControlKind::Static: panel->AddStatic(copy.c_str(), row.style, &row.rect, row.id, nullptr); break;
        case PanelControlKind::Edit: panel->AddEdit(copy.c_str(), row.style, &row.rect, row.id, nullptr); break;
        case PanelControlKind::ComboBox:
            panel->AddComboBox(copy.c_str(), row.style, &row.rect, row.id, nullptr);
            break;
        case PanelControlKind::Button: panel->AddButton(copy.c_str(), row.style, &row.rect, row.id, nullptr); break;
        }
        afterRow(i);
    }
}
