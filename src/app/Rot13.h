#pragma once
// Rot13 lives with the engine, which reports history rows by their decoded
// names; the application code reaches it under its usual name here.
#include "engine/Rot13.h"
