// The geometry kernel's module-wide tolerance and status word.
#include "addins/milling/geometry/geomtol.h"

double g_geometryTolerance = kDefaultGeometryTolerance;

namespace {
HRESULT g_geometryStatus = S_OK;
}

void SetGeometryGlobal(HRESULT status) { g_geometryStatus = status; }

HRESULT GetGeometryGlobal() { return g_geometryStatus; }

CGeometryToleranceScope::CGeometryToleranceScope(double tolerance) : m_saved(g_geometryTolerance)
{
    g_geometryTolerance = tolerance;
}

CGeometryToleranceScope::~CGeometryToleranceScope() { g_geometryTolerance = m_saved; }
