// Everything the framework's window classes offer: windows and their
// message maps, drawing objects and device contexts, menus, the
// application, documents, views, templates, frames and MDI, dialogs with
// data exchange, property sheets and the file dialog, the OLE server
// stand-ins, with the standard ids.
#pragma once

#include "platform/framework/app.h"
#include "platform/framework/archive.h"
#include "platform/framework/dc.h"
#include "platform/framework/ddx.h"
#include "platform/framework/dialog.h"
#include "platform/framework/doctemplate.h"
#include "platform/framework/filedialog.h"
#include "platform/framework/document.h"
#include "platform/framework/framework.h"
#include "platform/framework/framewnd.h"
#include "platform/framework/gdiobj.h"
#include "platform/framework/geometry.h"
#include "platform/framework/ids.h"
#include "platform/framework/mdi.h"
#include "platform/framework/menu.h"
#include "platform/framework/ole.h"
#include "platform/framework/propsheet.h"
#include "platform/framework/view.h"
#include "platform/framework/wnd.h"
#include "platform/framework/wndmsg.h"
