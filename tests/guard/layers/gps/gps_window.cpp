// A subsystem window that reaches into the main window.
#include "app/main_window.h"
