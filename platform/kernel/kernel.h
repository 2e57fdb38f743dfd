// Everything the kernel family offers, for code that uses several parts of it.
#pragma once

#include "platform/kernel/classobject.h"
#include "platform/kernel/errors.h"
#include "platform/kernel/filefind.h"
#include "platform/kernel/files.h"
#include "platform/kernel/help.h"
#include "platform/kernel/module.h"
#include "platform/kernel/process.h"
#include "platform/kernel/registry.h"
#include "platform/kernel/resource.h"
#include "platform/kernel/tickcount.h"
