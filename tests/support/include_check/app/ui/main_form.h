// The main window opens the windows of views/ below it: allowed.
#pragma once
#include "views/report_window.h"
#include "screen3.h"
