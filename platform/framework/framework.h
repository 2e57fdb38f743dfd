// Everything the framework family's window-independent base offers, for
// code that uses several parts of it.
#pragma once

#include "platform/framework/array.h"
#include "platform/framework/cmdtarget.h"
#include "platform/framework/cmdui.h"
#include "platform/framework/cstring.h"
#include "platform/framework/exception.h"
#include "platform/framework/list.h"
#include "platform/framework/map.h"
#include "platform/framework/msgmap.h"
#include "platform/framework/object.h"
#include "platform/framework/position.h"
