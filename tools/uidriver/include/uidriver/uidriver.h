#pragma once

#include "uidriver/Clipboard.h"
#include "uidriver/Controls.h"
#include "uidriver/Error.h"
#include "uidriver/Header.h"
#include "uidriver/ListView.h"
#include "uidriver/MessageBox.h"
#include "uidriver/Process.h"
#include "uidriver/RemoteMemory.h"
#include "uidriver/StartUp.h"
#include "uidriver/Tour.h"
#include "uidriver/TreeView.h"
#include "uidriver/Window.h"
