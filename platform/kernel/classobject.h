// Class objects found through the registry, and class ids as text.
//
// A class id's in-process server is the module named by the default value of
// HKEY_CLASSES_ROOT\CLSID\{...}\InprocServer32; CoGetClassObject loads that
// module (it stays loaded until the process ends, as the system never unloads
// a server it has used) and asks its exported DllGetClassObject.
#pragma once

#include "platform/base/api.h"
#include "platform/base/guid.h"
#include "platform/base/hresult.h"
#include "platform/base/types.h"
#include "platform/com/unknwn.h"

using OLECHAR = char;
using LPOLESTR = OLECHAR*;
using LPCOLESTR = const OLECHAR*;

constexpr DWORD CLSCTX_INPROC_SERVER = 0x1;
constexpr DWORD CLSCTX_INPROC_HANDLER = 0x2;
constexpr DWORD CLSCTX_LOCAL_SERVER = 0x4;
constexpr DWORD CLSCTX_REMOTE_SERVER = 0x10;
constexpr DWORD CLSCTX_SERVER = CLSCTX_INPROC_SERVER | CLSCTX_LOCAL_SERVER | CLSCTX_REMOTE_SERVER;

constexpr HRESULT CO_E_DLLNOTFOUND = MakeHresult(0x800401F8u);
constexpr HRESULT CO_E_ERRORINDLL = MakeHresult(0x800401F9u);

struct COSERVERINFO;

// The export every in-process server offers.
using DllGetClassObjectFunction = HRESULT (*)(REFCLSID clsid, REFIID iid, void** out);

// The class object of `clsid` asked for `iid`. `context` must include
// CLSCTX_INPROC_SERVER (there are no other servers). Answers
// REGDB_E_CLASSNOTREG (no registration, or an empty server path),
// CO_E_DLLNOTFOUND (the module does not load), CO_E_ERRORINDLL (no
// DllGetClassObject), or what DllGetClassObject answers. `out` is written
// only on success.
NUVEX_PLATFORM_API HRESULT CoGetClassObject(REFCLSID clsid, DWORD context, COSERVERINFO* serverInfo, REFIID iid,
                                            void** out);

// The class factory of an in-process server as one static object of the
// module, which stays loaded: QueryInterface answers IUnknown and
// IClassFactory, the count is always 1 and LockServer does nothing. A
// module's factory derives from it and makes its objects in CreateInstance.
class CModuleClassFactory : public IClassFactory {
public:
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override
    {
        if (out == nullptr) {
            return E_POINTER;
        }
        if (iid == IID_IUnknown || iid == IID_IClassFactory) {
            *out = static_cast<IClassFactory*>(this);
            return S_OK;
        }
        *out = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return 1; }
    ULONG STDMETHODCALLTYPE Release() override { return 1; }
    HRESULT STDMETHODCALLTYPE LockServer(BOOL) override { return S_OK; }

protected:
    ~CModuleClassFactory() = default;
};

// The registration an in-process server's DllRegisterServer writes: the
// default value of HKEY_CLASSES_ROOT\CLSID\{...}\InprocServer32 becomes the
// path of the module that holds `addressInModule` (an address of the
// server's own code). E_FAIL when the path or the key cannot be had.
NUVEX_PLATFORM_API HRESULT RegisterInprocServer(REFCLSID clsid, const void* addressInModule);
// Removes that registration; S_OK also when there is none.
NUVEX_PLATFORM_API HRESULT UnregisterInprocServer(REFCLSID clsid);

// Parses "{xxxxxxxx-xxxx-xxxx-xxxx-xxxxxxxxxxxx}" (either case); anything else
// answers CO_E_CLASSSTRING and leaves `clsid` as it was.
NUVEX_PLATFORM_API HRESULT CLSIDFromString(LPCOLESTR text, LPCLSID clsid);
// The upper-case braced text in memory from CoTaskMemAlloc, which the caller
// frees with CoTaskMemFree.
NUVEX_PLATFORM_API HRESULT StringFromCLSID(REFCLSID clsid, LPOLESTR* text);

NUVEX_PLATFORM_API void* CoTaskMemAlloc(size_t size);
NUVEX_PLATFORM_API void CoTaskMemFree(void* block);
