// The command engine: starting commands as levels of a stack, delivering
// events to the current level and closing each answer by its result bits.
#include "host/document/command_engine.h"

#include <algorithm>
#include <iterator>

#include "host/document/nuvex_doc.h"
#include "objectmodel/selection_set_object.h"
#include "platform/framework/view.h"

using namespace command_event;
using namespace command_result;

BOOL CNuvexDoc::StartCommand(int32_t index, int32_t flag)
{
    if (index < 0 || index >= kMaxHostCommand) {
        return TRUE;
    }
    m_lastStartedCommand = index;
    if (m_levels.size() > 1) {
        m_output.UpdateCommandButtons(TopCommandIndex(), kButtonEnabled);
    }
    LONG result = kNotHandled;
    if (flag == 0 && index == Level(m_currentLevel).commandIndex) {
        SendCommandEvent(kCancel, nullptr, 1, 0, &result);
        EndCommandLevel(kCancel, result, TRUE);
    } else {
        PushCommandLevel(index);
        SetCurrentCommandLevel(-1);
        if (m_levels.size() > 1) {
            m_output.UpdateCommandButtons(TopCommandIndex(), kButtonChecked);
        }
        uint32_t commandId = 0;
        if (const CommandTableEntry* entry = m_services.GetCommandEntry(Level(m_currentLevel).commandIndex)) {
            commandId = entry->addinCommandId;
        }
        SendCommandEvent(kStart, &commandId, 1, 0, &result);
        EndCommandLevel(kStart, result, TRUE);
        // The second step goes to whatever level is current now: the new
        // one, or the one below when the start was refused.
        SendCommandEvent(kSecondStart, &commandId, 1, 0, &result);
        // A command that did all its work on its start event (a file
        // written, a dialog closed) has already ended its level: nothing
        // runs now, and closing the document must not be refused.
        m_commandActive = m_levels.size() > 1 ? TRUE : FALSE;
    }
    ApplyCommandPresets(index, flag);
    m_output.RefreshCommandStates(FALSE);
    m_output.UpdateAllViews();
    return TRUE;
}

void CNuvexDoc::PushCommandLevel(int32_t index)
{
    ComPtr<IAddinCommand> command;
    const CommandTableEntry* entry = m_services.GetCommandEntry(index);
    if (entry != nullptr) {
        if (IClassFactory* factory = m_services.GetAddinClassFactory(entry->addinIndex)) {
            if (FAILED(factory->CreateInstance(nullptr, entry->handlerClass, command.ReceiveVoid()))) {
                command.Reset();
            }
        }
    }
    PushLevel(index, command.Get());
    if (command) {
        m_createFinished = FALSE;
        command->Create(GetHostDocument(), static_cast<LONG>(entry->addinCommandId), 0);
        m_createFinished = TRUE;
    }
}

void CNuvexDoc::PopCommandLevels(int32_t first, int32_t count)
{
    if (first < 0 || static_cast<size_t>(first) >= m_levels.size() || count <= 0) {
        return;
    }
    const size_t end = std::min(m_levels.size(), static_cast<size_t>(first) + static_cast<size_t>(count));
    // Moved out first, so that a command released here sees a consistent
    // stack if it calls back.
    std::vector<CommandLevel> removed(std::make_move_iterator(m_levels.begin() + first),
                                      std::make_move_iterator(m_levels.begin() + static_cast<std::ptrdiff_t>(end)));
    m_levels.erase(m_levels.begin() + first, m_levels.begin() + static_cast<std::ptrdiff_t>(end));
    if (static_cast<size_t>(m_currentLevel) >= m_levels.size()) {
        m_currentLevel = static_cast<int32_t>(m_levels.size()) - 1;
    }
}

void CNuvexDoc::SetCurrentCommandLevel(int32_t level)
{
    if (level < 0 || static_cast<size_t>(level) >= m_levels.size()) {
        level = static_cast<int32_t>(m_levels.size()) - 1;
    }
    m_currentLevel = level;
}

IAddinCommand* CNuvexDoc::GetActiveCommandObject() const
{
    if (m_currentLevel < 0) {
        return nullptr;
    }
    return Level(m_currentLevel).command.Get();
}

uint32_t& CNuvexDoc::GetInputFlagsA(int32_t kind)
{
    CommandLevel& level = Level(m_currentLevel);
    if ((kind & 2) != 0) {
        return level.inputKinds[static_cast<size_t>(ModifierTable::Ctrl)];
    }
    if ((kind & 4) != 0) {
        return level.inputKinds[static_cast<size_t>(ModifierTable::Shift)];
    }
    return level.inputKinds[static_cast<size_t>(ModifierTable::Plain)];
}

uint32_t& CNuvexDoc::GetInputFlagsB(int32_t kind)
{
    CommandLevel& level = Level(m_currentLevel);
    if ((kind & 2) != 0) {
        return level.options[static_cast<size_t>(ModifierTable::Ctrl)];
    }
    if ((kind & 4) != 0) {
        return level.options[static_cast<size_t>(ModifierTable::Shift)];
    }
    return level.options[static_cast<size_t>(ModifierTable::Plain)];
}

CPlaneObject CNuvexDoc::GetDocumentXYPlane() const { return m_userFrame.GetXYPlane(); }

IDocumentView* CNuvexDoc::GetFirstDocumentView()
{
    for (POSITION position = GetFirstViewPosition(); position != nullptr;) {
        if (auto* view = dynamic_cast<IDocumentView*>(GetNextView(position))) {
            return view;
        }
    }
    return nullptr;
}

void CNuvexDoc::OnViewActivated(BOOL activate, CView* activated, CView*)
{
    if (!activate) {
        if (activated == nullptr) {
            m_output.RefreshCommandStates(FALSE);
        }
        return;
    }
    m_output.DocumentActivated(GetHostDocument());
    m_output.SetCommandLineText(m_commandLineText);
    BuildPrompt();
    const int32_t running = m_levels.size() >= 2 ? TopCommandIndex() : -1;
    for (int32_t index = 0; m_services.GetCommandEntry(index) != nullptr; ++index) {
        m_output.UpdateCommandButtons(index, index == running ? kButtonChecked : kButtonEnabled);
    }
    SyncSystemVariables();
    m_output.RefreshCommandStates(TRUE);
}

void CNuvexDoc::CancelCommand()
{
    LONG result = kNotHandled;
    SendCommandEvent(kCancel, nullptr, 1, 0, &result);
    EndCommandLevel(kCancel, result, TRUE);
}

void CNuvexDoc::ApplyCommandPresets(int32_t index, int32_t flag)
{
    const CommandTableEntry* entry = m_services.GetCommandEntry(index);
    if (entry == nullptr) {
        return;
    }
    const uint32_t want = flag != 0 ? kPresetOnStart : kPresetOnToggleOff;
    const size_t count = std::min({entry->presetVariables.size(), entry->presetValues.size(),
                                   entry->presetFlags.size()});
    for (size_t i = 0; i < count; ++i) {
        const uint32_t flags = entry->presetFlags[i];
        if ((flags & want) == 0 || (flags & kPresetEnabled) == 0) {
            continue;
        }
        VARIANT value = entry->presetValues[i];
        if ((flags & kPresetFromVariable) != 0 && FAILED(GetVariable(value.lVal, &value))) {
            continue;
        }
        SetVariable(static_cast<int32_t>(entry->presetVariables[i]), value);
    }
}

HRESULT CNuvexDoc::SendCommandEvent(LONG code, void* value, LONG final, LONG kind, LONG* result)
{
    const CommandLevel& level = Level(m_currentLevel);
    if (level.commandIndex >= 0) {
        // Held for the call: the command may end its own level.
        ComPtr<IAddinCommand> command = level.command;
        if (!command) {
            return E_FAIL;
        }
        m_commandActive = TRUE;
        return command->OnEvent(code, value, final, kind, result);
    }
    if (!m_output.HasView()) {
        return E_FAIL;
    }
    if (m_rootHandler != nullptr) {
        m_rootHandler->OnEvent(code, value, final, kind, result);
    }
    return S_OK;
}

void CNuvexDoc::EndCommandLevel(LONG code, LONG result, IDocumentView* view, BOOL refresh)
{
    // 1. An event sent without a view closes as the first view's, which
    // leaves zoom-window mode.
    if (view == nullptr && m_output.HasView()) {
        view = GetFirstDocumentView();
        if (view != nullptr) {
            view->ClearZoomWindow();
        }
        m_output.UpdateAllViews();
    }
    const bool hasView = view != nullptr || m_output.HasView();
    // Taken first, so that the hand-over keeps the selection even when
    // the root is cancelled below.
    CSelectionSetObject selection;
    if ((result & kPassSelection) != 0 && m_rootHandler != nullptr) {
        for (uintptr_t id : m_rootHandler->GetSelection()) {
            selection.Add(id);
        }
    }

    if ((result & kNotHandled) != 0) {
        if (code == kStart) {
            m_output.UpdateCommandButtons(TopCommandIndex(), kButtonEnabled);
            PopCommandLevels(m_currentLevel, 1);
        }
        SetCurrentCommandLevel(-1);
        if (m_levels.size() > 1) {
            m_output.UpdateCommandButtons(TopCommandIndex(), kButtonChecked);
        }
        return;
    }

    if ((result & kCommit) != 0) {
        CommitUndoStep();
    }
    m_output.RefreshCommandStates(FALSE);

    if (code == kStart) {
        const size_t levels = m_levels.size();
        if (levels >= 3) {
            m_output.UpdateCommandButtons(m_levels[levels - 2].commandIndex, kButtonEnabled);
        }
        if ((result & kNested) != 0) {
            if (levels >= 3) {
                SetCurrentCommandLevel(static_cast<int32_t>(levels) - 2);
                LONG parentResult = kNotHandled;
                SendCommandEvent(kChildStarted, nullptr, 1, 0, &parentResult);
                SetCurrentCommandLevel(-1);
            }
        } else {
            RefreshSnap();
            for (int32_t level = static_cast<int32_t>(m_levels.size()) - 2; level >= 0; --level) {
                SetCurrentCommandLevel(level);
                LONG ignored = kNotHandled;
                SendCommandEvent(kCancel, nullptr, 1, 0, &ignored);
                RemoveCommandObjects(OfCommand::Current, OfOwner::Any, 0);
            }
            if (m_levels.size() >= 3) {
                PopCommandLevels(1, static_cast<int32_t>(m_levels.size()) - 2);
            }
            SetCurrentCommandLevel(-1);
        }
        if (m_levels.size() >= 2) {
            m_output.UpdateCommandButtons(TopCommandIndex(), kButtonChecked);
        }
    }

    if ((result & (kCommit | kEnd)) != 0 && (result & kPassSelection) == 0) {
        m_commandActive = FALSE;
        if (m_levels.size() >= 2) {
            m_output.UpdateCommandButtons(TopCommandIndex(), kButtonEnabled);
        }
        RefreshSnap();
        RemoveCommandObjects(OfCommand::Current, OfOwner::Any, 0);
        if (m_levels.size() >= 2) {
            PopCommandLevels(m_currentLevel, 1);
        }
        SetCurrentCommandLevel(-1);
        LONG resumed = kNotHandled;
        if (m_levels.size() == 1) {
            SendCommandEvent(kStart, nullptr, 1, 0, &resumed);
        } else {
            m_output.UpdateCommandButtons(TopCommandIndex(), kButtonChecked);
            SendCommandEvent(kChildEnded, nullptr, 1, 0, &resumed);
            EndCommandLevel(kChildEnded, resumed, TRUE);
        }
    }

    if ((result & kPassSelection) != 0 && m_levels.size() == 2 &&
        (Level(m_currentLevel).inputKinds[static_cast<size_t>(ModifierTable::Plain)] & kInputPick) != 0) {
        uint32_t count = 0;
        selection.GetCount(&count);
        if (count > 0) {
            ISelectionSet* picked = &selection;
            LONG answer = kNotHandled;
            SendCommandEvent(kPickB, &picked, 1, 1, &answer);
            EndCommandLevel(kPickB, answer, TRUE);
        }
    }

    if (hasView && (result & (kPassSelection | kCommit | kEnd)) != 0) {
        m_commandLineText.clear();
        m_output.SetCommandLineText("");
        if (view != nullptr) {
            view->FinishCommandEvent(refresh);
        }
        m_output.UpdateAllViews();
    }
}

int32_t CNuvexDoc::CloseNamedLevel(int32_t commandIndex, LONG event)
{
    int32_t found = -1;
    for (size_t level = 0; level < m_levels.size(); ++level) {
        if (m_levels[level].commandIndex == commandIndex) {
            found = static_cast<int32_t>(level);
            break;
        }
    }
    if (found < 0) {
        return 0;
    }
    SetCurrentCommandLevel(found);
    LONG result = kNotHandled;
    SendCommandEvent(event, nullptr, 1, 0, &result);
    if ((result & kCommit) != 0) {
        CommitUndoStep();
    }
    if ((result & (kCommit | kEnd)) == 0) {
        return 0;
    }
    if ((result & kPassSelection) != 0) {
        return 1;
    }
    const bool wasTop = static_cast<size_t>(found) == m_levels.size() - 1;
    if (wasTop) {
        RefreshSnap();
    }
    RemoveCommandObjects(OfCommand::Current, OfOwner::Any, 0);
    m_output.UpdateCommandButtons(commandIndex, kButtonEnabled);
    if (m_levels.size() > 1) {
        PopCommandLevels(found, 1);
    }
    SetCurrentCommandLevel(-1);
    LONG resumed = kNotHandled;
    if (wasTop && m_levels.size() > 1) {
        m_output.UpdateCommandButtons(TopCommandIndex(), kButtonChecked);
        SendCommandEvent(kChildEnded, nullptr, 1, 0, &resumed);
    } else if (m_levels.size() == 1) {
        SendCommandEvent(kStart, nullptr, 1, 0, &resumed);
    }
    return 1;
}

int32_t CNuvexDoc::CancelCommandLevel(int32_t commandIndex) { return CloseNamedLevel(commandIndex, kCancel); }

int32_t CNuvexDoc::FinishCommandLevel(int32_t commandIndex)
{
    m_commandActive = FALSE;
    return CloseNamedLevel(commandIndex, kAccept);
}
