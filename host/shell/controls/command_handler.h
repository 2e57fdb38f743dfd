// The add-in objects that controls and pages make for a command of the
// host's command table: the command's handler class, created through the
// class factory of the command's add-in.
#pragma once

#include <cstdint>

#include "host/document/document_services.h"
#include "iaddin.h"
#include "platform/com/unknwn.h"

// The handler object of command-table entry `commandIndex`, or null when
// the index names no entry, its add-in has no class factory or the factory
// refuses (a negative result).
ComPtr<IAddinCommand> MakeCommandHandler(IDocumentServices& services, int32_t commandIndex);
