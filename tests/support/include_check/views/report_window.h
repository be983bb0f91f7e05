// A window of views/ that reads screen 3 of app/ui above it: the include check refuses it.
#pragma once
#include "app/ui/screen3.h"
#include "model/results/page_metafiles.h"
