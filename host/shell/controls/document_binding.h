// CDocumentBinding: the per-document state of a toolbar control. The
// control keeps one record per document it has been bound to: the document,
// the add-in handler object made for it, and what the control showed while
// that document was current. Switching documents saves the window's state
// into the outgoing record and restores the incoming one, so each document
// sees the control as it left it.
//
// Records are keyed by the document's IHostDocument pointer. A closing
// document must be released (ReleaseDocument): its record and handler go,
// so a later document at the same address starts afresh instead of taking
// over a handler that holds the dead one.
#pragma once

#include <cstdint>
#include <vector>

#include "host/document/document_services.h"
#include "host/shell/controls/command_handler.h"
#include "host/shell/controls/control_object.h"
#include "ihost.h"

// A toolbar control as its toolbar and the application see it.
class IToolbarHostedControl {
public:
    // The control's embedded scripting object.
    virtual IUnknown* GetScriptingObject() = 0;
    // Binds the control to a document (null at first: the active one).
    virtual HRESULT SetDocument(IHostDocument* document) = 0;
    // The document closes: its record and handler are released.
    virtual void ReleaseDocument(IHostDocument* document) = 0;

protected:
    ~IToolbarHostedControl() = default;
};

// What a binding needs of its control window.
template <class Saved>
class IControlStateKeeper {
public:
    // The window's present state.
    virtual Saved SaveState() = 0;
    // Shows a saved state in the window.
    virtual void RestoreState(const Saved& state) = 0;
    // The values of a document's first record.
    virtual Saved NewState() = 0;

protected:
    ~IControlStateKeeper() = default;
};

template <class Saved>
struct DocumentControlState {
    IHostDocument* document = nullptr;
    // Null when the add-in's factory made none.
    ComPtr<IAddinCommand> handler;
    Saved saved;
};

template <class Saved>
class CDocumentBinding final : public IControlBinding {
public:
    // `commandIndex`: the command-table entry of the add-in command the
    // control belongs to; `object`: the control's scripting object, handed
    // to each handler's Create.
    CDocumentBinding(IDocumentServices& services, int32_t commandIndex, IControlStateKeeper<Saved>& keeper,
                     IUnknown* object)
        : m_services(services), m_commandIndex(commandIndex), m_keeper(keeper), m_object(object)
    {
    }

    int32_t CommandIndex() const { return m_commandIndex; }
    const std::vector<DocumentControlState<Saved>>& Records() const { return m_records; }
    int32_t CurrentIndex() const { return m_current; }
    // The current record's handler, or null.
    IAddinCommand* CurrentHandler() const
    {
        return m_current >= 0 ? m_records[static_cast<size_t>(m_current)].handler.Get() : nullptr;
    }

    HRESULT GetCommandObject(IHostDocument* document, IAddinCommand** handler) override
    {
        if (handler == nullptr) {
            return E_POINTER;
        }
        const int32_t index = Find(document);
        *handler = index >= 0 ? m_records[static_cast<size_t>(index)].handler.Get() : nullptr;
        return index >= 0 ? S_OK : E_FAIL;
    }

    // 1. With a current record: nothing for its own document; else its
    //    state is saved and the argument's record (found, or appended) is
    //    restored. A null argument is looked up like any other value.
    // 2. Without one: a null argument stands for the application's active
    //    document (nothing happens without one).
    // 3. A current record without a handler gets one from the add-in's
    //    factory, created with the document, the add-in's command number
    //    and the scripting object.
    HRESULT SetDocument(IHostDocument* document) override
    {
        if (m_current >= 0) {
            DocumentControlState<Saved>& current = m_records[static_cast<size_t>(m_current)];
            if (current.document == document) {
                return S_OK;
            }
            current.saved = m_keeper.SaveState();
            Select(document);
        } else {
            if (document == nullptr) {
                document = ActiveDocument();
                if (document == nullptr) {
                    return S_OK;
                }
            }
            Select(document);
        }
        MakeHandler();
        return S_OK;
    }

    HRESULT GetDocument(IHostDocument** document) override
    {
        if (document == nullptr) {
            return E_POINTER;
        }
        *document = m_current >= 0 ? m_records[static_cast<size_t>(m_current)].document : nullptr;
        return m_current >= 0 ? S_OK : E_FAIL;
    }

    void ReleaseDocument(IHostDocument* document)
    {
        const int32_t index = Find(document);
        if (index < 0) {
            return;
        }
        m_records.erase(m_records.begin() + index);
        if (m_current == index) {
            m_current = -1;
        } else if (m_current > index) {
            --m_current;
        }
    }

private:
    int32_t Find(IHostDocument* document) const
    {
        for (size_t i = 0; i < m_records.size(); ++i) {
            if (m_records[i].document == document) {
                return static_cast<int32_t>(i);
            }
        }
        return -1;
    }

    void Select(IHostDocument* document)
    {
        int32_t index = Find(document);
        if (index < 0) {
            DocumentControlState<Saved> record;
            record.document = document;
            record.saved = m_keeper.NewState();
            m_records.push_back(std::move(record));
            index = static_cast<int32_t>(m_records.size()) - 1;
        }
        m_current = index;
        m_keeper.RestoreState(m_records[static_cast<size_t>(index)].saved);
    }

    IHostDocument* ActiveDocument()
    {
        IHostApplication* application = m_services.GetHostApplication();
        IHostDocument* document = nullptr;
        if (application == nullptr || FAILED(application->GetActiveDocument(&document))) {
            return nullptr;
        }
        return document;
    }

    void MakeHandler()
    {
        if (m_current < 0) {
            return;
        }
        DocumentControlState<Saved>& record = m_records[static_cast<size_t>(m_current)];
        if (record.handler) {
            return;
        }
        record.handler = MakeCommandHandler(m_services, m_commandIndex);
        const CommandTableEntry* entry = m_services.GetCommandEntry(m_commandIndex);
        if (record.handler && entry != nullptr) {
            record.handler->Create(record.document, static_cast<LONG>(entry->addinCommandId),
                                   reinterpret_cast<LONG_PTR>(m_object));
        }
    }

    IDocumentServices& m_services;
    int32_t m_commandIndex;
    IControlStateKeeper<Saved>& m_keeper;
    IUnknown* m_object;
    std::vector<DocumentControlState<Saved>> m_records;
    int32_t m_current = -1;
};
