// IAttributeSet: the line attributes of a drawn object (line style, stipple
// factor, line width) and a flag byte that can make each of them follow the
// object's group. Operations stand in table order after ICollectionBase.
#pragma once

#include "icollection.h"

// Flag bits of an attribute set: take the value from the holder's group.
constexpr uint8_t kAttributeStyleFromGroup = 0x01;
constexpr uint8_t kAttributeWidthFromGroup = 0x02;
constexpr uint8_t kAttributeFactorFromGroup = 0x04;

struct IAttributeSet : ICollectionBase {
    // flags = flags AND NOT mask.
    virtual HRESULT STDMETHODCALLTYPE ClearFlags(uint8_t mask) = 0;
    // flags = flags OR mask.
    virtual HRESULT STDMETHODCALLTYPE SetFlags(uint8_t mask) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetFlags(uint8_t* flags) = 0;
    // Replaces the whole flag byte.
    virtual HRESULT STDMETHODCALLTYPE PutFlags(uint8_t flags) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetStippleFactor(uint32_t* factor) = 0;
    virtual HRESULT STDMETHODCALLTYPE SetStippleFactor(uint32_t factor) = 0;
    // 0 solid; 1, 2 and 3 the stipple patterns of the graphics context.
    virtual HRESULT STDMETHODCALLTYPE GetLineStyle(uint32_t* style) = 0;
    virtual HRESULT STDMETHODCALLTYPE SetLineStyle(uint32_t style) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetLineWidth(uint32_t* width) = 0;
    virtual HRESULT STDMETHODCALLTYPE SetLineWidth(uint32_t width) = 0;

protected:
    ~IAttributeSet() = default;
};
