// The plug-in's two exported functions, the only symbols yelk.so shows. The
// library keeps no state of its own, so it needs no start-up or shut-down
// hook.
#include <type_traits>

#include "ipostprocessor.h"
#include "postproc/postprocessor.h"

#define YELK_EXPORT extern "C" __attribute__((visibility("default")))

// Only the first postprocessor is announced; the second exists and can be
// created by index, but a loader that asks for the announced ones never
// makes it.
YELK_EXPORT HRESULT GetPostprocessorCount(INT* count)
{
    if (count == nullptr) {
        return E_POINTER;
    }
    *count = 1;
    return S_OK;
}

YELK_EXPORT HRESULT CreatePostprocessor(INT index, IPostprocessor** out)
{
    return yelk::CPostprocessor::Create(index, out);
}

// The exports must keep the types the loader casts them to.
static_assert(std::is_same_v<decltype(&GetPostprocessorCount), GetPostprocessorCountFunction>);
static_assert(std::is_same_v<decltype(&CreatePostprocessor), CreatePostprocessorFunction>);
