// Handle maps: which framework object stands for a window, menu, device
// context or drawing object handle. A permanent entry is an object that
// owns or was attached to its handle; a temporary entry is an object made by
// FromHandle for a handle nobody attached, and is deleted (without touching
// its handle) when the application is idle or DeleteTemp is called.
#pragma once

#include <memory>
#include <unordered_map>

template <class Handle, class Object, auto Member>
class CHandleMap {
public:
    Object* LookupPermanent(Handle handle) const
    {
        auto it = m_permanent.find(handle);
        return it != m_permanent.end() ? it->second : nullptr;
    }
    Object* LookupTemporary(Handle handle) const
    {
        auto it = m_temporary.find(handle);
        return it != m_temporary.end() ? it->second.get() : nullptr;
    }
    // The permanent object of `handle`, else a temporary one made on demand;
    // null for a null handle.
    Object* FromHandle(Handle handle)
    {
        if (handle == nullptr) {
            return nullptr;
        }
        if (Object* object = LookupPermanent(handle)) {
            return object;
        }
        if (Object* object = LookupTemporary(handle)) {
            return object;
        }
        auto object = std::make_unique<Object>();
        (*object).*Member = handle;
        Object* result = object.get();
        m_temporary.emplace(handle, std::move(object));
        return result;
    }
    void SetPermanent(Handle handle, Object* object)
    {
        m_permanent[handle] = object;
        DropTemporary(handle);
    }
    void RemovePermanent(Handle handle) { m_permanent.erase(handle); }
    // Deletes every temporary object; their handles are left alone.
    void DeleteTemp()
    {
        auto temporary = std::move(m_temporary);
        m_temporary.clear();
        for (auto& [handle, object] : temporary) {
            object.get()->*Member = nullptr;
        }
    }

private:
    void DropTemporary(Handle handle)
    {
        auto it = m_temporary.find(handle);
        if (it != m_temporary.end()) {
            it->second.get()->*Member = nullptr;
            m_temporary.erase(it);
        }
    }

    std::unordered_map<Handle, Object*> m_permanent;
    std::unordered_map<Handle, std::unique_ptr<Object>> m_temporary;
};
