// The class library's exceptions: CException and the kinds our code meets.
//
// They are thrown by value and caught by reference (`catch (const
// CException& e)`), so no exception object needs to be freed by its catcher.
// None crosses a module boundary: code called from another module catches
// them and answers with its result code.
#pragma once

#include "platform/base/api.h"
#include "platform/base/types.h"
#include "platform/framework/object.h"

class NUVEX_PLATFORM_API CException : public CObject {
    DECLARE_DYNAMIC(CException)
public:
    CException() = default;
    CException(const CException&) = default;
    CException& operator=(const CException&) = default;

    // Copies the exception's message into `buffer` (at most size - 1
    // characters and a terminator); FALSE when there is no message or no
    // room. `helpContext` (may be null) gets 0.
    virtual BOOL GetErrorMessage(char* buffer, UINT size, UINT* helpContext = nullptr) const;

protected:
    virtual const char* Message() const { return nullptr; }
};

// A bad argument: an index outside a collection or a string, a negative
// size, a null position.
class NUVEX_PLATFORM_API CInvalidArgException : public CException {
    DECLARE_DYNAMIC(CInvalidArgException)
public:
    CInvalidArgException() = default;

protected:
    const char* Message() const override;
};

// An operation the object does not offer.
class NUVEX_PLATFORM_API CNotSupportedException : public CException {
    DECLARE_DYNAMIC(CNotSupportedException)
public:
    CNotSupportedException() = default;

protected:
    const char* Message() const override;
};

// Out of memory.
class NUVEX_PLATFORM_API CMemoryException : public CException {
    DECLARE_DYNAMIC(CMemoryException)
public:
    CMemoryException() = default;

protected:
    const char* Message() const override;
};

// Throws the exception kinds above; [[noreturn]] so that callers need no
// dummy returns.
[[noreturn]] NUVEX_PLATFORM_API void AfxThrowInvalidArgException();
[[noreturn]] NUVEX_PLATFORM_API void AfxThrowNotSupportedException();
[[noreturn]] NUVEX_PLATFORM_API void AfxThrowMemoryException();
