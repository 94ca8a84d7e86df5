#pragma once
// Symbols of the module are hidden unless exported on purpose.
#define VOR_EXPORT __attribute__((visibility("default")))
