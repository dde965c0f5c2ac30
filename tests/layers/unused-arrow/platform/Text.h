#pragma once
// A platform header nobody includes.
