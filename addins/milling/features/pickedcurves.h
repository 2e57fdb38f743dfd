// Turning the picks of a milling command into curve lists: each member curve
// of a picked group becomes a chain of its own, and the plain curves are
// joined end to end by the entity component's curve chainer.
#pragma once

#include <functional>
#include <memory>
#include <vector>

#include "addins/milling/features/featureresult.h"
#include "addins/milling/features/toolpathprogress.h"

class CCurveList;
class CMillingFeature;
class CMoveEntityFactory;
struct IHostDocument;
struct ISelectionSet;

// Distance within which the approximation of a picked curve must follow it
// (drawing units).
inline constexpr double kChainingTolerance = 0.003;
// A group reporting more member curves than this is not read.
inline constexpr int kMaxGroupParts = 1 << 20;

// The chains of the picks: first the members of picked groups in pick order,
// then the chains of the plain curves: the curves lying at one height are
// chained apart from those at every other (levels in the order of their
// first pick, each in the chainer's order), and the curves that climb or
// fall last, among themselves. A pick that holds no object is skipped.
// Errors: NoDocument without a document, NoChainer when the document does
// not make the chainer. The progress advances by an eighth of its range when
// the chainer has made its chains (only when plain curves were picked) and
// again when every chain is built.
Result<std::vector<std::unique_ptr<CCurveList>>> ChainPicks(ISelectionSet* picks, IHostDocument* document,
                                                            CProgressSteps& progress);

// The one body of the toolpath computations of the contour and the pocket
// features: empties the feature's moves, chains the picks and hands the
// chains to compute with a factory that makes the moves in the document.
using ContourCompute = std::function<Status(const std::vector<std::unique_ptr<CCurveList>>& contours,
                                            CMoveEntityFactory* factory, CProgressSteps* progress)>;
Status ComputeFromPicks(CMillingFeature& feature, ISelectionSet* picks, IHostDocument* document,
                        CToolpathProgressBar* progress, const ContourCompute& compute);
