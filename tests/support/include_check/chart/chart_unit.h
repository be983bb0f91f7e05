// The chart library stands on the platform alone: the framework beside it is refused.
#pragma once
#include "platform/dc.h"
#include "framework/messages.h"
