// HRESULT values and the success tests. Codes are the platform's own
// numbers; they cross module boundaries and so never change.
#pragma once

#include "platform/base/types.h"

constexpr HRESULT MakeHresult(uint32_t bits) { return static_cast<HRESULT>(bits); }

constexpr HRESULT S_OK = 0;
constexpr HRESULT S_FALSE = 1;
constexpr HRESULT E_NOTIMPL = MakeHresult(0x80004001u);
constexpr HRESULT E_NOINTERFACE = MakeHresult(0x80004002u);
constexpr HRESULT E_POINTER = MakeHresult(0x80004003u);
constexpr HRESULT E_ABORT = MakeHresult(0x80004004u);
constexpr HRESULT E_FAIL = MakeHresult(0x80004005u);
constexpr HRESULT E_UNEXPECTED = MakeHresult(0x8000FFFFu);
constexpr HRESULT E_ACCESSDENIED = MakeHresult(0x80070005u);
constexpr HRESULT E_HANDLE = MakeHresult(0x80070006u);
constexpr HRESULT E_OUTOFMEMORY = MakeHresult(0x8007000Eu);
constexpr HRESULT E_INVALIDARG = MakeHresult(0x80070057u);
constexpr HRESULT CLASS_E_NOAGGREGATION = MakeHresult(0x80040110u);
constexpr HRESULT CLASS_E_CLASSNOTAVAILABLE = MakeHresult(0x80040111u);
constexpr HRESULT REGDB_E_CLASSNOTREG = MakeHresult(0x80040154u);
constexpr HRESULT CO_E_CLASSSTRING = MakeHresult(0x800401F3u);
constexpr HRESULT OLE_E_NOCONNECTION = MakeHresult(0x80040004u);
constexpr HRESULT CONNECT_E_NOCONNECTION = MakeHresult(0x80040200u);
constexpr HRESULT CONNECT_E_ADVISELIMIT = MakeHresult(0x80040201u);
constexpr HRESULT CONNECT_E_CANNOTCONNECT = MakeHresult(0x80040202u);
constexpr HRESULT DISP_E_MEMBERNOTFOUND = MakeHresult(0x80020003u);
constexpr HRESULT DISP_E_TYPEMISMATCH = MakeHresult(0x80020005u);
constexpr HRESULT DISP_E_BADVARTYPE = MakeHresult(0x80020008u);
constexpr HRESULT DISP_E_BADPARAMCOUNT = MakeHresult(0x8002000Eu);

constexpr bool SUCCEEDED(HRESULT hr) { return hr >= 0; }
constexpr bool FAILED(HRESULT hr) { return hr < 0; }
