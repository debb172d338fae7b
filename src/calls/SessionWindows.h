#pragma once
// Every window that exists only while logged in.
#include "Hist.h"
#include "Acc.h"
#include "Log.h"
#include "Fronts.h"
#include "Holds.h"
#include "Parks.h"
#include "Personal.h"
