#pragma once
// A platform header that reaches up into the canvas: the include check refuses it.

#include "canvas/Drawing.h"
#include "platform/Text.h"
