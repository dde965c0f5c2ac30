#pragma once
// A canvas header that uses the platform: allowed.

#include "platform/Text.h"
