#pragma once

#include "winapi/types.h"
#include "winapi/winerror.h"
