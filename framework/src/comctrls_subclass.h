// The common controls' framework classes superclass the native classes once
// the common-control library has registered them.
#pragma once

#include "framework/comctrls.h"

#define MV_SUBCLASS(p, name)    \
  do {                          \
    InitCommonControlClasses(); \
    CreateSubClass(p, name);    \
  } while (0)
