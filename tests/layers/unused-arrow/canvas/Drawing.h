#pragma once
// A canvas header that uses nothing of the platform.
