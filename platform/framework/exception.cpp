// CException and the exception kinds our code meets.
#include "platform/framework/exception.h"

#include <algorithm>
#include <cstring>

IMPLEMENT_DYNAMIC(CException, CObject)
IMPLEMENT_DYNAMIC(CInvalidArgException, CException)
IMPLEMENT_DYNAMIC(CNotSupportedException, CException)
IMPLEMENT_DYNAMIC(CMemoryException, CException)

BOOL CException::GetErrorMessage(char* buffer, UINT size, UINT* helpContext) const
{
    if (helpContext != nullptr) {
        *helpContext = 0;
    }
    const char* message = Message();
    if (buffer == nullptr || size == 0) {
        return FALSE;
    }
    buffer[0] = '\0';
    if (message == nullptr) {
        return FALSE;
    }
    const size_t length = std::min<size_t>(std::strlen(message), size - 1);
    std::memcpy(buffer, message, length);
    buffer[length] = '\0';
    return TRUE;
}

const char* CInvalidArgException::Message() const { return "An argument is invalid or out of range."; }
const char* CNotSupportedException::Message() const { return "The operation is not supported."; }
const char* CMemoryException::Message() const { return "Not enough memory."; }

void AfxThrowInvalidArgException() { throw CInvalidArgException(); }
void AfxThrowNotSupportedException() { throw CNotSupportedException(); }
void AfxThrowMemoryException() { throw CMemoryException(); }
